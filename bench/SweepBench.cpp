// The swept hit tests as the gameplay makes them each frame: a player shot against the
// creature's cell grid, a level shot against the player's picture, and the worst case of a
// path that crosses the whole canvas without a hit.

#include <benchmark/benchmark.h>

#include "actors/Sweep.h"
#include "canvas/Surface.h"
#include "game/CellGrid.h"
#include "game/Level.h"
#include "game/PatternGenerator.h"
#include "util/Random.h"

namespace
{
constexpr float kDt = 0.016f;

CSweepTarget GridTarget(const CCellGrid& grid)
{
    CSweepTarget target;
    target.origin = CPoint{18, 8};
    target.w = grid.Width();
    target.h = grid.Height();
    target.value = [&grid](int x, int y) { return static_cast<uint32_t>(grid.At(x, y)); };
    target.mask = static_cast<uint32_t>(HitCellMask(true)); // the gameplay's mask on a beat
    return target;
}

/// One frame's step of a player shot (60 canvas px/s) on each row of the creature's box:
/// the calls a frame makes, hits and misses mixed as the rows give them.
void BM_SweptPlayerShotStep(benchmark::State& state)
{
    tarn::SeedRandom(7u, 7.0);
    const CCellGrid grid = GeneratePattern();
    const CSweepTarget target = GridTarget(grid);
    const float step = 60.0f * kDt;
    int row = 0;
    int hits = 0;
    for (auto _ : state)
    {
        const float y = static_cast<float>(target.origin.y + row) + 0.5f;
        const CVector2 from(static_cast<float>(target.origin.x) + 0.3f, y);
        const CPoint hit = SweptTest(from, from + CVector2(step, 0.0f), target);
        hits += hit.x >= 0;
        benchmark::DoNotOptimize(hit);
        row = (row + 1) % grid.Height();
    }
    state.counters["hit_share"] =
        benchmark::Counter(static_cast<double>(hits), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SweptPlayerShotStep)->Unit(benchmark::kNanosecond);

/// One frame's step of a level shot against the player's picture (any non-zero pixel hits).
void BM_SweptLevelShotStep(benchmark::State& state)
{
    std::unique_ptr<CSurface> player = CreateSurface(6, 9);
    for (int y = 1; y < 8; ++y)
        for (int x = 1; x < 5; ++x)
            player->SetPixel(x, y, 0xFF808080u);
    const CSurface* image = player.get();
    CSweepTarget target;
    target.origin = CPoint{4, 10};
    target.w = image->Width();
    target.h = image->Height();
    target.value = [image](int x, int y) { return image->GetPixel(x, y); };
    target.mask = 0xFFFFFFFFu;
    const float step = 40.0f * kDt;
    int row = 0;
    for (auto _ : state)
    {
        const CVector2 from(11.2f, static_cast<float>(8 + row) + 0.5f);
        const CPoint hit = SweptTest(from, from - CVector2(step, 0.0f), target);
        benchmark::DoNotOptimize(hit);
        row = (row + 1) % 13;
    }
}
BENCHMARK(BM_SweptLevelShotStep)->Unit(benchmark::kNanosecond);

/// The longest path the canvas allows (its diagonal, 40 samples) through an empty grid.
void BM_SweptAcrossCanvasMiss(benchmark::State& state)
{
    const CCellGrid empty(12, 8);
    CSweepTarget target = GridTarget(empty);
    target.origin = CPoint{0, 0};
    for (auto _ : state)
    {
        const CPoint hit = SweptTest(CVector2(0.5f, 0.5f), CVector2(31.5f, 23.5f), target);
        benchmark::DoNotOptimize(hit);
    }
}
BENCHMARK(BM_SweptAcrossCanvasMiss)->Unit(benchmark::kNanosecond);
} // namespace

BENCHMARK_MAIN();
