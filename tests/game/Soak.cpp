// The scripted play-through as a long run: soak [frames] [--no-rss-check]
// Every 7 500 frames the autopilot stops dodging for 2 500, is hit, and the gameplay is
// replaced as the main loop does. Fails (non-zero exit) if resident memory grows by 1 MB or
// more after the warm-up (not checked under ASan or with --no-rss-check: the tool's figure),
// if shots or particles pass their ceilings, or if the run clears no levels or loses no
// life. On SDL_VIDEODRIVER=dummy: no GL context, everything else of the frame runs.

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unistd.h>

#include "Support.h"
#include "audio/Audio.h"
#include "audio/SoundLibrary.h"
#include "game/Autopilot.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"
#include "util/Random.h"

namespace
{
constexpr int kWarmUpFrames = 2000;
constexpr long kRssGrowthLimitBytes = 1024 * 1024;
constexpr int kDodgeCycle = 7500;  ///< Frames per cycle ...
constexpr int kCarelessRun = 2500; ///< ... of which the last ones without dodging.
/// Ceilings well above what play produces (a few dozen shots, a few hundred particles at
/// the clearing of a level) and far below what a leak of them would reach in a minute.
constexpr std::size_t kMaxBullets = 64;
constexpr std::size_t kMaxParticles = 5000;

long ResidentBytes()
{
    long size = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return -1;
    const int read = std::fscanf(statm, "%ld %ld", &size, &resident);
    std::fclose(statm);
    return read == 2 ? resident * sysconf(_SC_PAGESIZE) : -1;
}

bool StartVideo()
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) != 0)
        return false;
    // The dummy driver offers 8 bits unless 32 are asked for.
    return SDL_SetVideoMode(32, 24, 32, SDL_SWSURFACE) != nullptr;
}

struct SCounts
{
    std::size_t bullets = 0;
    std::size_t particles = 0;
};
} // namespace

int main(int argc, char** argv)
{
    int frames = 20000;
    bool checkRss = true;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--no-rss-check") == 0)
            checkRss = false;
        else
            frames = std::atoi(argv[i]);
    }
#if defined(__SANITIZE_ADDRESS__)
    // ASan keeps freed memory in quarantine: the resident figure is the tool's.
    checkRss = false;
#endif
    if (frames <= kWarmUpFrames)
    {
        std::fprintf(stderr, "soak: run more than %d frames (the warm-up)\n", kWarmUpFrames);
        return 2;
    }
    if (!StartVideo())
    {
        std::fprintf(stderr, "soak: no video: %s\n", SDL_GetError());
        return 2;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    StartAudio(); // sounds loaded and played as in the game, on a silent device
    tarn::test::SeedRandom(4242u, 5.0);

    auto gameplay = std::make_unique<CGameplay>();
    autopilot::CAutopilot pilot;
    SCounts firstHalf, secondHalf;
    int lives = 1;
    int bestLevel = 0;
    int levelsCleared = 0;
    long warmRss = -1;
    long peakRss = -1;
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < frames; ++frame)
    {
        pilot.m_Dodge = frame % kDodgeCycle < kDodgeCycle - kCarelessRun;
        pilot.Steer(*gameplay);
        CGameplayImpl& game = *gameplay->Impl();
        const int level = game.LevelCount();
        gameplay->Update(kDt);
        levelsCleared += game.LevelCount() - level;
        bestLevel = std::max(bestLevel, game.LevelCount());

        SCounts& counts = frame < frames / 2 ? firstHalf : secondHalf;
        counts.bullets = std::max(counts.bullets, game.Bullets().size());
        counts.particles = std::max(counts.particles, game.Particles().size());

        if (game.PlayerHit() && game.DeathTime() > 1.0f)
        {
            // The key that leaves the death picture, then what the main loop does.
            gameplay->KeyDown(kButtonFire);
            if (gameplay->IsOver())
            {
                gameplay.reset();
                gameplay = std::make_unique<CGameplay>();
                ++lives;
            }
        }
        if (frame + 1 == kWarmUpFrames)
            warmRss = ResidentBytes();
        else if (frame + 1 > kWarmUpFrames && frame % 100 == 0)
            peakRss = std::max(peakRss, ResidentBytes());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long endRss = ResidentBytes();
    peakRss = std::max(peakRss, endRss);
    gameplay.reset();
    ShutdownAudio();
    SDL_Quit();

    std::printf("soak: %d frames (no GL) in %.1f s, %.2f ms a frame\n", frames, seconds,
                1000.0 * seconds / frames);
    std::printf("soak: %d levels cleared (best run %d), %d lives\n", levelsCleared, bestLevel,
                lives);
    std::printf("soak: most shots %zu / %zu, most particles %zu / %zu (first / second half)\n",
                firstHalf.bullets, secondHalf.bullets, firstHalf.particles, secondHalf.particles);
    if (!checkRss)
        std::printf("soak: resident memory not checked (sanitizer or valgrind)\n");
    std::printf("soak: resident memory after warm-up %.1f KiB, at the end %.1f KiB "
                "(%+.1f KiB), peak %.1f KiB\n",
                warmRss / 1024.0, endRss / 1024.0, (endRss - warmRss) / 1024.0, peakRss / 1024.0);

    bool ok = true;
    auto check = [&](bool condition, const char* what)
    {
        if (!condition)
        {
            std::printf("soak: FAIL: %s\n", what);
            ok = false;
        }
    };
    check(levelsCleared >= 3, "fewer than three levels cleared: the script did not play");
    check(frames < kDodgeCycle || lives >= 2, "never hit while not dodging");
    check(std::max(firstHalf.bullets, secondHalf.bullets) <= kMaxBullets, "too many shots");
    check(std::max(firstHalf.particles, secondHalf.particles) <= kMaxParticles,
          "too many particles");
    if (checkRss)
    {
        check(warmRss > 0 && endRss > 0, "resident memory unreadable");
        check(endRss - warmRss < kRssGrowthLimitBytes, "resident memory grew by 1 MB or more");
    }
    std::printf("soak: %s\n", ok ? "PASS" : "FAIL");
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
