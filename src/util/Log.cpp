#include "util/Log.h"

#include <cstdio>

namespace tarn
{
namespace
{
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
}
} // namespace tarn
