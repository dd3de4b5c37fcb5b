#include <benchmark/benchmark.h>

#include <vector>

#include "canvas/Background.h"
#include "canvas/Sprite.h"
#include "canvas/Surface.h"
#include "util/Vector2.h"

namespace
{
/// A 32 x 24 star layer, mostly transparent with a few opaque and half-opaque stars.
std::unique_ptr<CSurface> MakeStarLayer()
{
    std::unique_ptr<CSurface> layer = CreateSurface(32, 24);
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
    std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
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
        sprite->m_BlendKind = i % 10 == 0 ? 2 : 1;
        sprites.push_back(sprite);
    }
    const CRect view = {0, 0, 32, 24};
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
} // namespace
