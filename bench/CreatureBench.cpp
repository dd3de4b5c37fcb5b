#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#include "actors/FireBulletInterface.h"
#include "actors/Particle.h"
#include "audio/SoundLibrary.h"
#include "canvas/CanvasSize.h"
#include "canvas/Surface.h"
#include "game/Level.h"
#include "game/PatternGenerator.h"
#include "util/Random.h"

namespace
{
constexpr float kDt = 0.016f;

/// Microseconds of CPU time this thread has used: unlike the wall clock, it does not count
/// the time another process held the core (the build machine is shared).
double ThreadMicros()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec * 1e-3;
}

/// Median and worst of `samples` as benchmark counters named `prefix`_median/_worst.
void ReportSpread(benchmark::State& state, std::vector<double> samples, const std::string& prefix)
{
    std::sort(samples.begin(), samples.end());
    state.counters[prefix + "_median_us"] = samples[samples.size() / 2];
    state.counters[prefix + "_worst_us"] = samples.back();
}

/// Drops the level's shots and keeps its particles, as the gameplay would.
class CSinkGameplay : public IFireBulletInterface
{
public:
    void FireLevelBullet(const CVector2&, CBullet::EShooter, float) override {}
    CParticleList* GetParticles() override { return &m_Particles; }

    CParticleList m_Particles;
};

/// 10 000 creatures, each timed alone (a call includes all its discarded attempts), by the
/// wall clock and by the thread's CPU time: median and worst in microseconds.
void BM_GeneratePatternDistribution(benchmark::State& state)
{
    constexpr int kRuns = 10000;
    std::vector<double> wall(kRuns);
    std::vector<double> cpu(kRuns);
    for (auto _ : state)
    {
        tarn::SeedRandom(1u, 1.0);
        for (int i = 0; i < kRuns; ++i)
        {
            const double cpuStart = ThreadMicros();
            const auto start = std::chrono::steady_clock::now();
            CCellGrid grid = GeneratePattern();
            const auto end = std::chrono::steady_clock::now();
            cpu[i] = ThreadMicros() - cpuStart;
            benchmark::DoNotOptimize(grid);
            wall[i] = std::chrono::duration<double, std::micro>(end - start).count();
        }
    }
    ReportSpread(state, wall, "wall");
    ReportSpread(state, cpu, "cpu");
}
BENCHMARK(BM_GeneratePatternDistribution)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_GeneratePattern(benchmark::State& state)
{
    tarn::SeedRandom(2u, 2.0);
    for (auto _ : state)
    {
        CCellGrid grid = GeneratePattern();
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_GeneratePattern)->Unit(benchmark::kMicrosecond);

/// One frame of a fighting level: update (wobble, beat, countdown, shots) and drawing.
void BM_LevelUpdateAndDraw(benchmark::State& state)
{
    tarn::SeedRandom(3u, 3.0);
    CSinkGameplay gameplay;
    CLevel level(10);
    while (level.EntryTimer() < 0.0f)
        level.Update(kDt, gameplay);
    auto canvas = CreateSurface(kCanvasWidth, kCanvasHeight);
    for (auto _ : state)
    {
        level.Update(kDt, gameplay);
        level.Draw(*canvas);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LevelUpdateAndDraw)->Unit(benchmark::kNanosecond);

/// A cleared level's 157 frames until it is replaced: ring burst, sinking, one large burst
/// per crumbled cell (sprite creation with its picture loading included) and the particle
/// updates; each frame timed alone.
void BM_ClearedLevelToReplacement(benchmark::State& state)
{
    // As in the game: sounds preloaded (on whatever device SDL_AUDIODRIVER gives), so an
    // explosion's sound is a lookup, not a file read.
    static const bool s_Audio = StartAudio();
    state.counters["audio"] = s_Audio;
    tarn::SeedRandom(4u, 4.0);
    auto canvas = CreateSurface(kCanvasWidth, kCanvasHeight);
    std::vector<double> frames;
    size_t mostParticles = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        CSinkGameplay gameplay;
        CLevel level(0);
        while (level.EntryTimer() < 0.0f)
            level.Update(kDt, gameplay);
        for (int i = 0; i < 96; ++i)
            if (level.Grid().At(i % 12, i / 12) == kCellCore)
                level.Hit(CPoint{i % 12, i / 12});
        state.ResumeTiming();
        while (level.ClearedTime() <= 2.5f)
        {
            const double start = ThreadMicros();
            level.Update(kDt, gameplay);
            UpdateParticles(gameplay.m_Particles, kDt);
            level.Draw(*canvas);
            frames.push_back(ThreadMicros() - start);
            mostParticles = std::max(mostParticles, gameplay.m_Particles.size());
        }
        state.PauseTiming();
        gameplay.m_Particles.clear();
        state.ResumeTiming();
    }
    ReportSpread(state, frames, "frame_cpu");
    state.counters["frames_over_1ms"] = static_cast<double>(
        std::count_if(frames.begin(), frames.end(), [](double us) { return us > 1000.0; }));
    state.counters["frames"] = static_cast<double>(frames.size());
    state.counters["most_particles"] = static_cast<double>(mostParticles);
}
BENCHMARK(BM_ClearedLevelToReplacement)->Unit(benchmark::kMillisecond);
} // namespace
