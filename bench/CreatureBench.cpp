#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "actors/Particle.h"
#include "canvas/Surface.h"
#include "game/FireBulletInterface.h"
#include "game/Level.h"
#include "game/PatternGenerator.h"
#include "util/Random.h"

namespace
{
constexpr float kDt = 0.016f;

/// Drops the level's shots and keeps its particles, as the gameplay would.
class CSinkGameplay : public IFireBulletInterface
{
public:
    void FireLevelBullet(const CVector2&, int, float) override { ++m_Shots; }
    CParticleList* GetParticles() override { return &m_Particles; }

    int m_Shots = 0;
    CParticleList m_Particles;
};

/// 10 000 creatures, each timed alone (a call includes all its discarded attempts):
/// median and worst in microseconds.
void BM_GeneratePatternDistribution(benchmark::State& state)
{
    constexpr int kRuns = 10000;
    std::vector<double> micros(kRuns);
    for (auto _ : state)
    {
        tarn::test::SeedRandom(1u, 1.0);
        for (double& t : micros)
        {
            const auto start = std::chrono::steady_clock::now();
            CCellGrid grid = GeneratePattern();
            const auto end = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(grid);
            t = std::chrono::duration<double, std::micro>(end - start).count();
        }
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[kRuns / 2];
    state.counters["p99_us"] = micros[kRuns * 99 / 100];
    state.counters["worst_us"] = micros.back();
}
BENCHMARK(BM_GeneratePatternDistribution)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_GeneratePattern(benchmark::State& state)
{
    tarn::test::SeedRandom(2u, 2.0);
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
    tarn::test::SeedRandom(3u, 3.0);
    CSinkGameplay gameplay;
    CLevel level(10);
    while (level.EntryTimer() < 0.0f)
        level.Update(kDt, gameplay);
    auto canvas = CreateSurface(32, 24);
    for (auto _ : state)
    {
        level.Update(kDt, gameplay);
        level.Draw(*canvas);
        benchmark::ClobberMemory();
    }
    state.counters["shots"] = gameplay.m_Shots;
}
BENCHMARK(BM_LevelUpdateAndDraw)->Unit(benchmark::kNanosecond);

/// A cleared level's 157 frames until it is replaced: ring burst, sinking, one large burst
/// per crumbled cell (sprite creation included) and the particle updates.
void BM_ClearedLevelToReplacement(benchmark::State& state)
{
    tarn::test::SeedRandom(4u, 4.0);
    auto canvas = CreateSurface(32, 24);
    for (auto _ : state)
    {
        state.PauseTiming();
        CSinkGameplay gameplay;
        CLevel level(0);
        while (level.EntryTimer() < 0.0f)
            level.Update(kDt, gameplay);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x)
                if (level.Grid().At(x, y) == kCellCore)
                    level.Hit(CPoint{x, y});
        state.ResumeTiming();
        while (level.ClearedTime() <= 2.5f)
        {
            level.Update(kDt, gameplay);
            UpdateParticles(gameplay.m_Particles, kDt);
            level.Draw(*canvas);
        }
        state.PauseTiming();
        gameplay.m_Particles.clear();
        state.ResumeTiming();
    }
    state.counters["frames"] = 157;
}
BENCHMARK(BM_ClearedLevelToReplacement)->Unit(benchmark::kMillisecond);
} // namespace
