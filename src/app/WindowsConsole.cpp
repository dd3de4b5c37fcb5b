// Built into the Windows game only (tools/windows/Package.cmake). The game is a windowed
// program, so Windows gives it no console of its own and no black window beside the game
// when started from Explorer. Started from a console (cmd, PowerShell), its messages belong
// there: before main, standard output and error are joined to the parent's console, unless
// they already lead somewhere (redirected to a file or a pipe, or under Wine to the terminal).
#include <windows.h>

#include <cstdio>

namespace
{
bool Leads(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

const bool s_Joined = []
{
    if (Leads(STD_OUTPUT_HANDLE) || Leads(STD_ERROR_HANDLE))
        return false;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) // started from Explorer: nowhere to print
        return false;
    return std::freopen("CONOUT$", "w", stdout) && std::freopen("CONOUT$", "w", stderr);
}();
} // namespace
