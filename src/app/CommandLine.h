#pragma once

#include <string>

/// What the command line asks for.
enum class ECommand
{
    Play,    ///< start the game
    Help,    ///< print the usage on standard output, exit 0
    Version, ///< print the version on standard output, exit 0
    Error,   ///< print m_Error and the usage on standard error, exit kUsageStatus
};

/// The exit status of a command line the game does not understand.
constexpr int kUsageStatus = 2;

struct CCommandLine
{
    ECommand m_Command = ECommand::Play;
    bool m_FullScreen = false;
    std::string m_Error; ///< one line, for ECommand::Error
};

/// Reads the options after argv[0]. --help and --version win over everything else but an
/// earlier unknown argument; --fullscreen may come more than once. Pure, for tests.
CCommandLine ParseCommandLine(int argc, const char* const* argv);
/// The usage: synopsis, options and keys, each line ending in a newline.
std::string UsageText();
/// "Korvane <version>", the version project() gives the build.
std::string VersionText();
