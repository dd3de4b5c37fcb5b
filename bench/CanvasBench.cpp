#include <benchmark/benchmark.h>

#include <vector>

#include "canvas/Background.h"
#include "canvas/BlendMode.h"
#include "canvas/CanvasSize.h"
#include "canvas/Sprite.h"
#include "canvas/Surface.h"
#include "util/Vector2.h"

namespace
{
/// A 32 x 24 star layer, mostly transparent with a few opaque and half-opaque stars.
std::unique_ptr<CSurface> MakeStarLayer()
{
    std::unique_ptr<CSurface> layer = CreateSurface(kCanvasWidth, kCanvasHeight);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            if ((x * 7 + y * 13) % 11 == 0)
                layer->SetPixel(x, y, (x + y) % 2 ? 0xFFFFFFFFu : 0x80C0E0FFu);
    return layer;
}

/// One frame of canvas work: the fade, the star tiles and 100 small sprites of 3 x 3 pixels,
/// some half off the canvas, a tenth drawn with screen blending.
void CanvasFrame(benchmark::State& state)
{
    std::unique_ptr<CSurface> canvas = CreateSurface(kCanvasWidth, kCanvasHeight);
    std::unique_ptr<CSurface> stars = MakeStarLayer();
    std::vector<CSprite*> sprites;
    for (int i = 0; i < 100; ++i)
    {
        // A missing file gives a registered, empty sprite; the picture comes after.
        CSprite* sprite = CreateSprite("bench/no-such-picture.png");
        std::unique_ptr<CSurface> image = CreateSurface(3, 3);
        for (int p = 0; p < 9; ++p)
            image->SetPixel(p % 3, p / 3, p == 4 ? 0xFF20A0FFu : 0x80FFFFFFu);
        sprite->SetImage(std::move(image));
        sprite->m_X = (i * 5) % 34 - 1;
        sprite->m_Y = (i * 3) % 26 - 1;
        sprite->m_Depth = 90 + i % 3 * 10;
        sprite->m_Color = CColor(1.0f, 0.8f, 0.6f, 0.9f);
        sprite->m_BlendKind = i % 10 == 0 ? kBlendScreen : kBlendNormal;
        sprites.push_back(sprite);
    }
    const CRect view = {0, 0, kCanvasWidth, kCanvasHeight};
    CVector2 scroll;
    for (auto _ : state)
    {
        scroll.x -= 40.0f * 0.016f;
        DrawBackground(canvas.get(), stars.get(), &scroll);
        DrawSprites(canvas.get(), &view);
        benchmark::DoNotOptimize(canvas->GetPixel(5, 5));
    }
    for (CSprite* sprite : sprites)
        RemoveSprite(sprite);
}
BENCHMARK(CanvasFrame)->Unit(benchmark::kMicrosecond);

/// The parts of that frame alone: the fade of the 768 pixels...
void BM_Fade(benchmark::State& state)
{
    std::unique_ptr<CSurface> canvas = MakeStarLayer();
    for (auto _ : state)
    {
        FadeCanvas(canvas.get());
        benchmark::DoNotOptimize(canvas->GetPixel(5, 5));
    }
}
BENCHMARK(BM_Fade)->Unit(benchmark::kMicrosecond);

/// ... one whole-canvas blit (a star tile), normal blending...
void BM_BlitWholeCanvas(benchmark::State& state)
{
    std::unique_ptr<CSurface> canvas = CreateSurface(kCanvasWidth, kCanvasHeight);
    std::unique_ptr<CSurface> stars = MakeStarLayer();
    const CColor white(1.0f, 1.0f, 1.0f, 1.0f);
    for (auto _ : state)
    {
        Blit(stars.get(), nullptr, canvas.get(), nullptr, GetBlendMode(kBlendNormal), white);
        benchmark::DoNotOptimize(canvas->GetPixel(5, 5));
    }
}
BENCHMARK(BM_BlitWholeCanvas)->Unit(benchmark::kMicrosecond);

/// ... and one 3 x 3 sprite-sized blit, tinted, in either blending (1 normal, 2 screen).
void BM_BlitSmall(benchmark::State& state)
{
    std::unique_ptr<CSurface> canvas = MakeStarLayer();
    std::unique_ptr<CSurface> image = CreateSurface(3, 3);
    for (int p = 0; p < 9; ++p)
        image->SetPixel(p % 3, p / 3, p == 4 ? 0xFF20A0FFu : 0x80FFFFFFu);
    const IBlendMode* mode = GetBlendMode(static_cast<int>(state.range(0)));
    const CColor tint(1.0f, 0.8f, 0.6f, 0.9f);
    int i = 0;
    for (auto _ : state)
    {
        const CRect at = {i % 30, i % 22, 3, 3};
        Blit(image.get(), nullptr, canvas.get(), &at, mode, tint);
        benchmark::DoNotOptimize(canvas->GetPixel(5, 5));
        ++i;
    }
}
BENCHMARK(BM_BlitSmall)->Arg(1)->Arg(2)->Unit(benchmark::kNanosecond);

/// A particle's sprite made from its picture file and removed again while `range` other
/// sprites are registered, as during a crumbling creature (up to about 2000). Run from the
/// repository root, where the picture is.
void BM_ParticleSpriteCreateRemove(benchmark::State& state)
{
    std::vector<CSprite*> others;
    for (int i = 0; i < state.range(0); ++i)
        others.push_back(CreateSprite("data/gfx/particle-01.png"));
    if (!others.empty() && others.front()->m_W == 0)
        state.SkipWithError("data/gfx/particle-01.png not found: run from the repository root");
    for (auto _ : state)
    {
        CSprite* sprite = CreateSprite("data/gfx/particle-02.png");
        benchmark::DoNotOptimize(sprite);
        RemoveSprite(sprite);
    }
    for (CSprite* sprite : others)
        RemoveSprite(sprite);
}
BENCHMARK(BM_ParticleSpriteCreateRemove)->Arg(0)->Arg(2000)->Unit(benchmark::kMicrosecond);
} // namespace
