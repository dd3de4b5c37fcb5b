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
/// Called with every line Log prints, after printing it; none by default. The Windows game
/// started without a console keeps the error lines with it, for a message box.
using LogTap = void (*)(ELogStream stream, const std::string& line);
void SetLogTap(LogTap tap);
/// Log, the first time this exact line is asked for in the process; repeats are dropped.
/// For failures met again every frame or by every object. Keeps each distinct line.
void LogOnce(ELogStream stream, const std::string& line);
/// "Error! Couldn't load picture: <path>" on standard error, once per path: the picture
/// cache and the canvas pictures both report here, and a picture that failed is met again
/// and again (each sprite of it, each new gameplay).
void LogPictureLoadFailure(const std::string& path);
} // namespace tarn
