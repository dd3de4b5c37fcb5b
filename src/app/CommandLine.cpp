#include "app/CommandLine.h"

#include <cstring>

CCommandLine ParseCommandLine(int argc, const char* const* argv)
{
    CCommandLine line;
    for (int i = 1; i < argc; ++i)
    {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0)
            line.m_Command = ECommand::Help;
        else if (std::strcmp(arg, "--version") == 0)
            line.m_Command = ECommand::Version;
        else if (std::strcmp(arg, "--fullscreen") == 0)
            line.m_FullScreen = true;
        else
        {
            line.m_Command = ECommand::Error;
            line.m_Error =
                std::string(arg[0] == '-' ? "unknown option '" : "unexpected argument '") + arg +
                "'";
        }
        if (line.m_Command != ECommand::Play)
            return line;
    }
    return line;
}

std::string UsageText()
{
    return "Usage: korvane [--fullscreen | --help | --version]\n"
           "  --fullscreen  start in full screen, at the desktop's resolution\n"
           "  --help        print this and exit\n"
           "  --version     print the version and exit\n"
           "Keys: arrows move, Space fires, Alt+Enter or F11 toggles full screen,\n"
           "      Escape quits (on the title screen it starts the game).\n"
           "Gamepad: the hat or the left stick moves, the face buttons fire.\n";
}

std::string VersionText()
{
    return std::string("Korvane ") + KORVANE_VERSION;
}
