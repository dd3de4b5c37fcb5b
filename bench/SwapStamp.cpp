// Preloaded into the real game binary by bench/startup.sh; not part of the game. Prints
// wall-clock stamps (microseconds since the epoch, comparable with bash's $EPOCHREALTIME) to
// stderr at three moments: the first buffer swap (the first title frame is on screen), the
// first dismissing key the game reads, and the first swap after it (the first gameplay
// frame: the title's pass that reads the key draws nothing more). After that, every 100th
// gameplay frame is stamped too ("100-frames"): the frame rate from outside.

#include <SDL.h>
#include <dlfcn.h>
#include <sys/time.h>

#include <cstdio>

namespace
{
bool g_FirstSwapSeen = false;
bool g_KeySeen = false;
bool g_Done = false;
long g_GameplayFrames = 0;

void PrintStamp(const char* what)
{
    timeval now{};
    gettimeofday(&now, nullptr);
    std::fprintf(stderr, "stamp %s %lld\n", what,
                 static_cast<long long>(now.tv_sec) * 1000000LL + now.tv_usec);
    std::fflush(stderr);
}
} // namespace

extern "C" void SDL_GL_SwapBuffers(void)
{
    using Swap = void (*)();
    static Swap s_Real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    s_Real();
    if (!g_FirstSwapSeen)
    {
        g_FirstSwapSeen = true;
        PrintStamp("first-title-frame");
    }
    else if (g_KeySeen && !g_Done)
    {
        g_Done = true;
        PrintStamp("first-gameplay-frame");
    }
    else if (g_Done && ++g_GameplayFrames % 100 == 0)
        PrintStamp("100-frames");
}

extern "C" int SDL_PollEvent(SDL_Event* event)
{
    using Poll = int (*)(SDL_Event*);
    static Poll s_Real = reinterpret_cast<Poll>(dlsym(RTLD_NEXT, "SDL_PollEvent"));
    const int got = s_Real(event);
    if (got && event && event->type == SDL_KEYDOWN && g_FirstSwapSeen && !g_KeySeen)
    {
        g_KeySeen = true;
        PrintStamp("key-read");
    }
    return got;
}
