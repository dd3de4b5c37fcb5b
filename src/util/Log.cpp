#include "util/Log.h"

#include <cstdio>
#include <set>
#include <utility>

namespace tarn
{
namespace
{
// Constant-initialised: set from another file's static initialiser before main.
LogTap s_Tap = nullptr;

std::FILE* File(ELogStream stream)
{
    return stream == ELogStream::Error ? stderr : stdout;
}
} // namespace

void Log(ELogStream stream, const std::string& line)
{
    std::FILE* const file = File(stream);
    // The line and its newline in one write, then flushed: a message is out before
    // whatever comes next (a crash, an exit) can lose it.
    const std::string text = line + '\n';
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
    if (s_Tap)
        s_Tap(stream, line);
}

void SetLogTap(LogTap tap)
{
    s_Tap = tap;
}

void LogOnce(ELogStream stream, const std::string& line)
{
    static std::set<std::pair<ELogStream, std::string>> s_Said;
    if (s_Said.emplace(stream, line).second)
        Log(stream, line);
}

// The game's own message for a picture it cannot read, word for word: the tests read it.
void LogPictureLoadFailure(const std::string& path)
{
    LogOnce(ELogStream::Error, "Error! Couldn't load picture: " + path);
}
} // namespace tarn
