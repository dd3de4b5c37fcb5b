#include <gtest/gtest.h>

#include "TestPictures.h"
#include "canvas/Background.h"
#include "canvas/Color.h"
#include "util/Vector2.h"

namespace
{
uint32_t FadedOnce(uint32_t pixel)
{
    std::unique_ptr<CSurface> one = MakeSurface(1, 1, {pixel});
    FadeCanvas(one.get());
    return one->GetPixel(0, 0);
}
} // namespace

TEST(FadeCanvas, PullsHalfWayTowardDarkBlue)
{
    struct
    {
        uint32_t in, out;
    } const cases[] = {
        {Rgba(0, 0, 0, 255), Rgba(0, 10, 87, 255)},
        {Rgba(255, 255, 255, 255), Rgba(127, 138, 215, 255)},
        {Rgba(0, 0, 0, 0), Rgba(0, 10, 87, 255)},   // transparent counts as opaque
        {Rgba(0, 0, 0, 128), Rgba(0, 10, 87, 191)}, // 0.502 -> 0.751
        {Rgba(0, 0, 0, 229), Rgba(0, 10, 87, 242)}, // just below 0.9: not opaque
        {Rgba(0, 0, 0, 230), Rgba(0, 10, 87, 255)}, // 0.902: opaque
    };
    for (const auto& c : cases)
        EXPECT_EQ(FadedOnce(c.in), c.out) << std::hex << c.in;

    // Left alone, colours settle one truncation step short of the fade colour.
    std::unique_ptr<CSurface> canvas =
        MakeSurface(2, 1, {Rgba(0, 0, 0, 255), Rgba(255, 255, 255, 255)});
    for (int frame = 0; frame < 60; ++frame)
        FadeCanvas(canvas.get());
    EXPECT_EQ(canvas->GetPixel(0, 0), Rgba(0, 20, 174, 255));
    EXPECT_EQ(canvas->GetPixel(1, 0), Rgba(0, 21, 175, 255));
}

// Each layer pixel names its own column and row; pixels on the layer's diagonal stripes are
// fully transparent and must let the faded canvas show.
TEST(DrawBackground, TilesTheStarLayerAtTheScrollOffset)
{
    struct
    {
        int w, h;
        CVector2 scroll;
        int x0, y0; // expected corner of the first tile
    } const cases[] = {
        {32, 24, {0, 0}, 0, 0},         {32, 24, {-10.7f, 0}, -10, 0},
        {32, 24, {5, 0}, -27, 0},       {32, 24, {-64.9f, 24.5f}, 0, 0},
        {32, 24, {-33, -3.2f}, -1, -3}, {32, 24, {31.99f, 7}, -1, -17},
        {40, 30, {-45, 7}, -5, -23},    {20, 12, {0, 0}, 0, 0}, // too small: rows 12+ bare
        {20, 12, {-3, -5}, -3, -5},     {32, 24, {-3e9f, 0}, 0, 0},
    };
    const uint32_t fill = Rgba(0, 0, 0, 255);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << c.w << "x" << c.h << " scroll " << c.scroll.x << "," << c.scroll.y);
        std::vector<uint32_t> layerPixels;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                layerPixels.push_back((x + y) % 7 == 0 ? Rgba(255, 255, 255, 0)
                                                       : Rgba(x, y, 200, 255));
        std::unique_ptr<CSurface> layer = MakeSurface(c.w, c.h, layerPixels);
        std::unique_ptr<CSurface> canvas = MakeSurface(32, 24, std::vector<uint32_t>(768, fill));
        DrawBackground(canvas.get(), layer.get(), &c.scroll);

        // Two tiles side by side, and a second row of two only when y0 is not 0.
        const int coveredW = 2 * c.w;
        const int coveredH = c.y0 != 0 ? 2 * c.h : c.h;
        for (int y = 0; y < 24; ++y)
        {
            for (int x = 0; x < 32; ++x)
            {
                const int lx = x - c.x0, ly = y - c.y0;
                uint32_t expected = FadedOnce(fill);
                if (lx < coveredW && ly < coveredH &&
                    layerPixels[(ly % c.h) * c.w + lx % c.w] >> 24)
                    expected = layerPixels[(ly % c.h) * c.w + lx % c.w];
                ASSERT_EQ(canvas->GetPixel(x, y), expected) << x << "," << y;
            }
        }
    }
}

// A star picture that failed to load used to divide by its zero width.
TEST(DrawBackground, EmptyStarLayerOnlyFades)
{
    const CVector2 scroll(-7.5f, 3.0f);
    CSurface empty;
    std::unique_ptr<CSurface> zeroWide = CreateSurface(0, 5);
    const CSurface* layers[] = {&empty, zeroWide.get(), nullptr};
    for (const CSurface* layer : layers)
    {
        std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
        DrawBackground(canvas.get(), layer, &scroll);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(canvas->GetPixel(x, y), Rgba(0, 10, 87, 255));
    }
}
