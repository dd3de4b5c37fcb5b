// CPU cost of one note wall frame without the GL driver: palette mapping of every canvas
// pixel and the note bookkeeping (UpdateNotes), plus the twitch timer.

#include <benchmark/benchmark.h>

#include <memory>

#include "canvas/CanvasSize.h"
#include "canvas/Surface.h"
#include "render/Texture.h"
#include "render/Video.h"
#include "util/Random.h"
#include "wall/NoteWallImpl.h"
#include "wall/Palette.h"

namespace
{
CTexture g_NotePictures[3];

std::unique_ptr<CNoteWallImpl> MakeWall()
{
    for (CTexture& t : g_NotePictures)
        t.m_Width = t.m_Height = 80;
    CWallPictures p;
    for (CTexture& t : g_NotePictures)
        p.m_Notes.push_back(&t);
    p.m_BlackHoles.assign(5, nullptr);
    p.m_Digits.assign(10, nullptr);
    return std::make_unique<CNoteWallImpl>(float(kVirtualScreenWidth), float(kVirtualScreenHeight),
                                           kCanvasWidth, kCanvasHeight, std::move(p));
}

/// A 32 x 24 canvas of level-like colours and blends, as a frame of play shows: some map to
/// themselves, some to a note colour.
std::unique_ptr<CSurface> MakeCanvas(uint32_t seed)
{
    tarn::SeedRandom(seed, 1.0 + seed);
    std::unique_ptr<CSurface> canvas = CreateSurface(kCanvasWidth, kCanvasHeight);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
        {
            CColor c = RandomLevelColor();
            if ((x + y) % 3 == 0)
                c = CColor(c.r * 0.4f, c.g * 0.7f, c.b, 1.0f); // A blend far from the palette.
            canvas->SetPixel(x, y, c.ToPixel());
        }
    return canvas;
}

// Typical frame: the canvas holds still, every cell is mapped and compared, none renewed.
void BM_WallCpuFrameSteady(benchmark::State& state)
{
    auto wall = MakeWall();
    auto canvas = MakeCanvas(1);
    wall->UpdateNotes(canvas.get());
    for (auto _ : state)
    {
        wall->AdvanceTwitchTimer(0.016f);
        wall->UpdateNotes(canvas.get());
        benchmark::DoNotOptimize(wall->DrawOrder().data());
    }
}
BENCHMARK(BM_WallCpuFrameSteady)->Unit(benchmark::kMicrosecond);

// Worst frame: every one of the 768 cells changes colour and gets a new note.
void BM_WallCpuFrameAllRenewed(benchmark::State& state)
{
    auto wall = MakeWall();
    auto a = MakeCanvas(1);
    auto b = MakeCanvas(2);
    // Make sure no cell keeps its colour between the two canvases.
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            if (a->GetPixel(x, y) == b->GetPixel(x, y))
                b->SetPixel(x, y, 0xFF000000u);
    bool flip = false;
    for (auto _ : state)
    {
        wall->AdvanceTwitchTimer(0.016f);
        wall->UpdateNotes(flip ? a.get() : b.get());
        flip = !flip;
        benchmark::DoNotOptimize(wall->DrawOrder().data());
    }
}
BENCHMARK(BM_WallCpuFrameAllRenewed)->Unit(benchmark::kMicrosecond);

// The palette mapping alone, 768 pixels.
void BM_MapToPalette768(benchmark::State& state)
{
    const std::vector<CColor> palette = MakePalette(NotePaletteColors());
    auto canvas = MakeCanvas(3);
    for (auto _ : state)
    {
        float sum = 0.0f;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x)
                sum += MapToPalette(palette, CColor::FromPixel(canvas->GetPixel(x, y))).r;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_MapToPalette768)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
