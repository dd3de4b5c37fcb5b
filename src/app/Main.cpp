#include <SDL.h> // on Windows, SDL's entry wrapper calls this main (named SDL_main there)

#include "app/MainLoop.h"

#ifdef _WIN32
// WindowsConsole.cpp: the errors of a game started without a console, in a message box.
void ShowErrorsWithoutConsole();
#endif

int main(int argc, char* argv[])
{
    const int status = RunKorvane(argc, argv);
#ifdef _WIN32
    if (status != 0)
        ShowErrorsWithoutConsole();
#endif
    return status;
}
