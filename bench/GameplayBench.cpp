#include <benchmark/benchmark.h>

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "audio/SoundLibrary.h"
#include "game/Autopilot.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"
#include "render/Video.h"
#include "util/Random.h"

// Allocations made while a frame runs, to check that frames allocate only for new shots
// and explosions.
namespace
{
bool g_Counting = false;
long g_Allocations = 0;
} // namespace

void* operator new(std::size_t size)
{
    if (g_Counting)
        ++g_Allocations;
    void* p = std::malloc(size ? size : 1);
    if (!p)
        std::abort();
    return p;
}
// GCC cannot see that this operator new is the malloc above.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace
{
/// With SDL_VIDEODRIVER=dummy there is no GL context: GL calls reach no driver, so the
/// time is the game's own (simulation, canvas, wall bookkeeping). Otherwise the real
/// window under X (Xvfb: Mesa in software) and the time of the whole frame.
bool WithoutGl()
{
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return driver && std::strcmp(driver, "dummy") == 0;
}

bool StartVideo()
{
    if (WithoutGl())
    {
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) != 0)
            return false;
        return SDL_SetVideoMode(32, 24, 32, SDL_SWSURFACE) != nullptr;
    }
    return InitVideo(kVirtualScreenWidth, kVirtualScreenHeight, false, "Korvane");
}

/// A long scripted run: the autopilot plays; when it is hit, the gameplay is replaced as
/// the main loop does. Reports the median and the tail of one Update, the allocations per
/// frame, and the allocations of quiet frames (no new shot, no explosion, same level),
/// which should be none.
void GameplayScriptedRun(benchmark::State& state)
{
    if (!StartVideo())
    {
        state.SkipWithError("no video");
        return;
    }
    // The sounds loaded as in the game (a silent device unless one is asked for), so shots
    // do not retry failed loads.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    StartAudio();
    // Under GL each frame costs tens of milliseconds in Mesa's software driver: a quarter of
    // the run is enough for the figures and keeps the benchmark short.
    const int frames = static_cast<int>(WithoutGl() ? state.range(0) : state.range(0) / 4);
    std::vector<double> micros(static_cast<std::size_t>(frames));
    long allocations = 0;
    long quietAllocations = 0;
    long quietFrames = 0;
    int levels = 0;
    int lives = 0;
    for (auto _ : state)
    {
        tarn::SeedRandom(99u, 3.0);
        CGameplayImpl* parts = nullptr;
        auto gameplay = autopilot::MakeGameplay(parts);
        autopilot::CAutopilot pilot;
        lives = 1;
        for (int i = 0; i < frames; ++i)
        {
            CGameplayImpl& game = *parts;
            pilot.Steer(*gameplay, game);
            std::size_t liveShots = 0;
            for (const auto& bullet : game.Bullets())
                liveShots += bullet->m_Dead ? 0 : 1;
            const std::size_t particles = game.Particles().size();
            const int level = game.LevelCount();
            const bool cleared = game.Level().Cleared();

            g_Allocations = 0;
            g_Counting = true;
            const auto start = std::chrono::steady_clock::now();
            gameplay->Update(0.016f);
            const auto end = std::chrono::steady_clock::now();
            g_Counting = false;
            allocations += g_Allocations;
            // Quiet: no new shot, no explosion (particles only die), no level change.
            if (game.Bullets().size() <= liveShots && game.Particles().size() <= particles &&
                game.LevelCount() == level && !cleared)
            {
                ++quietFrames;
                quietAllocations += g_Allocations;
            }
            micros[static_cast<std::size_t>(i)] =
                std::chrono::duration<double, std::micro>(end - start).count();
            levels = std::max(levels, game.LevelCount());
            if (game.PlayerHit() && game.DeathTime() > 1.0f)
            {
                gameplay->KeyDown(kButtonFire);
                gameplay.reset();
                gameplay = autopilot::MakeGameplay(parts);
                ++lives;
            }
        }
    }
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) { return micros[static_cast<std::size_t>(q * (frames - 1))]; };
    state.counters["median_us"] = at(0.5);
    state.counters["p90_us"] = at(0.9);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = micros.back();
    state.counters["allocs_per_frame"] = static_cast<double>(allocations) / frames;
    state.counters["quiet_frames"] = static_cast<double>(quietFrames);
    state.counters["quiet_allocs"] = static_cast<double>(quietAllocations);
    state.counters["best_level"] = levels;
    state.counters["lives"] = lives;
    SDL_Quit();
}
BENCHMARK(GameplayScriptedRun)->Arg(6000)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace
