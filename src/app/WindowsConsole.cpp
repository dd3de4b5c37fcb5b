// Built into the Windows game only (tools/windows/Package.cmake). The game is a windowed
// program, so Windows gives it no console of its own and no black window beside the game
// when started from Explorer. Started from a console (cmd, PowerShell), its messages belong
// there: before main, standard output and error are joined to the parent's console, unless
// they already lead somewhere (redirected to a file or a pipe, or under Wine to the terminal).
// With nowhere to print at all, the error lines are kept, and a fatal error ends the game
// with them in a message box (ShowErrorsWithoutConsole, from main).
#include <windows.h>

#include <cstdio>
#include <string>

#include "util/Log.h"

namespace
{
std::string& KeptErrors()
{
    static std::string s_Errors;
    return s_Errors;
}

void KeepError(tarn::ELogStream stream, const std::string& line)
{
    if (stream == tarn::ELogStream::Error)
        KeptErrors() += line + '\n';
}

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
    {
        tarn::SetLogTap(KeepError);
        return false;
    }
    return std::freopen("CONOUT$", "w", stdout) && std::freopen("CONOUT$", "w", stderr);
}();
} // namespace

void ShowErrorsWithoutConsole()
{
    const std::string& errors = KeptErrors();
    if (errors.empty())
        return;
    // The text as printed, its last newline dropped; blocks until the player closes it.
    MessageBoxA(nullptr, errors.substr(0, errors.size() - 1).c_str(), "Korvane",
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}
