#pragma once

#include <string>

namespace tarn
{
/// Where a message goes. Which stream a message takes is part of what players and scripts
/// see: audio and sound-loading lines on standard output, video and picture failures on
/// standard error.
enum class ELogStream
{
    Output, ///< standard output
    Error,  ///< standard error
};

/// Prints `line` and a newline on `stream`, flushed at once. Every message of the game goes
/// through here, each in its own wording; there is no log file and no level.
void Log(ELogStream stream, const std::string& line);
} // namespace tarn
