// Start-up measured inside the process: the same start-up calls as the game's RunKorvane,
// in the same order, each timed, up to the first title frame; then a dismissing key, the
// title's last pass, the gameplay made and its first frame. Every "frame" ends with a
// glFinish, so it is on the screen when the clock reads.
// Usage, from the repository root under an X display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./build/bench/startup_harness

#include <GL/gl.h>
#include <SDL.h>
#include <SDL_mixer.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/Gamepad.h"
#include "app/MainLoop.h"
#include "app/TitleScreen.h"
#include "audio/Audio.h"
#include "audio/SoundLibrary.h"
#include "game/Gameplay.h"
#include "render/Video.h"

namespace
{
using Clock = std::chrono::steady_clock;

const Clock::time_point g_MainEntry = Clock::now(); // set before main, after loading

double MsSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

/// Milliseconds from the process's creation to now, from /proc (the kernel counts the
/// start in clock ticks: 10 ms steps). Negative when it cannot be read.
double MsSinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1.0;
    // Field 22 is the start time; fields after the name start at 3.
    std::size_t pos = close + 2;
    for (int field = 3; field < 22 && pos != std::string::npos; ++field)
        pos = text.find(' ', pos) + 1;
    const double startTicks = std::strtod(text.c_str() + pos, nullptr);
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const double nowMs = boot.tv_sec * 1e3 + boot.tv_nsec * 1e-6;
    return nowMs - startTicks * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

class CSteps
{
public:
    explicit CSteps(Clock::time_point start) : m_Start(start), m_Last(start) {}
    void Step(const char* name)
    {
        const Clock::time_point now = Clock::now();
        std::printf("  %-44s %8.1f  (total %7.1f)\n", name,
                    std::chrono::duration<double, std::milli>(now - m_Last).count(),
                    std::chrono::duration<double, std::milli>(now - m_Start).count());
        m_Last = now;
    }

private:
    Clock::time_point m_Start;
    Clock::time_point m_Last;
};
} // namespace

int main()
{
    const double processToMain = MsSinceProcessStart() - MsSince(g_MainEntry);
    if (!std::getenv("DISPLAY"))
    {
        std::fprintf(stderr, "startup_harness needs an X display (run it under xvfb-run)\n");
        return 2;
    }
    // A silent device unless one is asked for, so the sounds load as on a machine with one.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::printf("process start -> main: %.0f ms (kernel clock ticks: 10 ms steps)\n",
                processToMain);
    std::printf("milliseconds                                     step   since main\n");
    CSteps steps(g_MainEntry);
    if (!InitVideo(kVirtualScreenWidth, kVirtualScreenHeight, false, "Korvane"))
        return 1;
    steps.Step("InitVideo (window, GL context)");
    StartAudio();
    steps.Step("StartAudio (device, every sound loaded)");
    PlayMusic("data/sfx/Ondrafel.ogg");
    steps.Step("PlayMusic");
    CTitleScreen title;
    steps.Step("title picture loaded (texture)");
    title.Draw();
    glFinish();
    steps.Step("first title frame drawn and finished");
    const double toTitle = MsSince(g_MainEntry);

    // The worst case for the key: it arrives just after a pass read the events, so one more
    // title frame is drawn before the pass that reads it.
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.state = SDL_PRESSED;
    key.key.keysym.sym = SDLK_SPACE;
    SDL_PushEvent(&key);
    const Clock::time_point keyAt = Clock::now();
    CSteps after(keyAt);
    std::printf("from the dismissing key:\n");
    title.Draw();
    if (!title.HandleEvents() || !title.Done())
        return 1;
    after.Step("title's last pass (frame + events)");
    auto gameplay = std::make_unique<CGameplay>();
    after.Step("gameplay made (level, wall, pictures)");
    if (Mix_PlayingMusic() == 0)
        PlayMusic("data/sfx/Ondrafel.ogg");
    CPad pad;
    DispatchEvents(*gameplay, pad);
    gameplay->Update(kTimeStep);
    glFinish();
    after.Step("first gameplay frame drawn and finished");
    const double toGameplay = MsSince(keyAt);

    std::printf("main -> first title frame: %.1f ms; process start -> first title frame: "
                "%.0f ms\nkey -> first gameplay frame: %.1f ms\n",
                toTitle, toTitle + processToMain, toGameplay);
    gameplay.reset();
    ShutdownAudio();
    SDL_Quit();
    return 0;
}
