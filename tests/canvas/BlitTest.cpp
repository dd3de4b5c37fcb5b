#include "TestPictures.h"
#include "canvas/Background.h"
#include "canvas/BlendMode.h"

TEST(BlendMode, NormalAndScreenResults)
{
    struct
    {
        int kind;
        CColor src, dst, expected;
    } const cases[] = {
        {1, {1, 1, 1, 0}, {0.2f, 0.4f, 0.6f, 0.3f}, {0.2f, 0.4f, 0.6f, 0.3f}}, // transparent
        {1, {1, 0.5f, 0, 0.5f}, {0, 1, 0.5f, 0}, {0.5f, 0.75f, 0.25f, 0.5f}},
        {1, {0, 0, 0, 0.75f}, {1, 1, 1, 0.75f}, {0.25f, 0.25f, 0.25f, 1}}, // alpha sum <= 1
        {1, {0.25f, 0.5f, 1, 1}, {1, 0, 0, 1}, {0.25f, 0.5f, 1, 1}},
        {1, {0, 0, 0, -0.5f}, {0, 0, 0, 0.25f}, {0, 0, 0, 0}}, // alpha sum >= 0
        {2, {0, 0, 0, 1}, {0.5f, 1, 0.25f, 0.5f}, {0.25f, 0.5f, 0.125f, 1}},
        {2, {1, 1, 1, 1}, {0.3f, 0, 0.7f, 0}, {1, 1, 1, 1}},
        {2, {1, 0.5f, 0, 0.5f}, {0.5f, 0.5f, 0.5f, 1}, {0.75f, 0.625f, 0.5f, 1}},
    };
    for (const auto& c : cases)
    {
        CColor out(9, 9, 9, 9);
        EXPECT_EQ(&GetBlendMode(c.kind)->Blend(out, c.src, c.dst), &out);
        EXPECT_EQ(out, c.expected) << c.kind << " " << c.src.r << " " << c.dst.r;
    }
    for (int kind : {0, 3, -1})
        EXPECT_EQ(GetBlendMode(kind), nullptr) << kind;
}

// Without rectangles the common top-left area is blended once (a half-transparent tint twice
// would give other bytes); an unknown mode blends as normal, and the tint modulates.
TEST(Blit, WithoutRectanglesBlendsTheCommonTopLeftOnceWithTheTint)
{
    std::unique_ptr<CSurface> src = FilledSurface(10, 10, Rgba(255, 255, 255, 255));
    std::unique_ptr<CSurface> canvas = FilledSurface(32, 24, Rgba(0, 0, 0, 255));
    Blit(src.get(), nullptr, canvas.get(), nullptr, GetBlendMode(3), CColor(1, 0.5f, 0, 0.5f));
    for (int p = 0; p < 32 * 24; ++p)
        ASSERT_EQ(canvas->GetPixel(p % 32, p / 32),
                  p % 32 < 10 && p / 32 < 10 ? Rgba(127, 63, 0, 255) : Rgba(0, 0, 0, 255))
            << p;
    // The other way round only the 10 x 10 destination is touched, from the source's corner.
    std::unique_ptr<CSurface> small = FilledSurface(10, 10, 0);
    Blit(canvas.get(), nullptr, small.get(), nullptr, nullptr, CColor(1, 1, 1, 1));
    EXPECT_EQ(small->GetPixel(9, 9), Rgba(127, 63, 0, 255));
    Blit(nullptr, nullptr, small.get(), nullptr, nullptr, CColor(1, 1, 1, 1)); // nothing to draw
    Blit(src.get(), nullptr, nullptr, nullptr, nullptr, CColor(1, 1, 1, 1));
}

namespace
{
uint32_t FadedOnce(uint32_t pixel)
{
    std::unique_ptr<CSurface> one = FilledSurface(1, 1, pixel);
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
}

// The star layer's pixels name their own column and row; pixels on its diagonal stripes are
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
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << c.w << "x" << c.h << " at " << c.scroll.x << "," << c.scroll.y);
        std::vector<uint32_t> layer;
        for (int i = 0; i < c.w * c.h; ++i)
            layer.push_back((i % c.w + i / c.w) % 7 ? Rgba(i % c.w, i / c.w, 200, 255)
                                                    : Rgba(255, 255, 255, 0));
        std::unique_ptr<CSurface> canvas = FilledSurface(32, 24, Rgba(0, 0, 0, 255));
        DrawBackground(canvas.get(), MakeSurface(c.w, c.h, layer).get(), &c.scroll);
        // Two tiles side by side, and a second row of two only when y0 is not 0.
        const int coveredH = c.y0 != 0 ? 2 * c.h : c.h;
        for (int p = 0; p < 32 * 24; ++p)
        {
            const int lx = p % 32 - c.x0, ly = p / 32 - c.y0;
            const uint32_t star = layer[(ly % c.h) * c.w + lx % c.w];
            const bool shown = lx < 2 * c.w && ly < coveredH && star >> 24 != 0;
            ASSERT_EQ(canvas->GetPixel(p % 32, p / 32), shown ? star : Rgba(0, 10, 87, 255)) << p;
        }
    }
}

// A star picture that failed to load used to divide by its zero width.
TEST(DrawBackground, EmptyStarLayerOnlyFades)
{
    const CVector2 scroll(-7.5f, 3.0f);
    const CSurface empty;
    const std::unique_ptr<CSurface> zeroWide = CreateSurface(0, 5);
    const CSurface* layers[] = {&empty, zeroWide.get(), nullptr};
    for (const CSurface* layer : layers)
    {
        std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
        DrawBackground(canvas.get(), layer, &scroll);
        for (int i = 0; i < 32 * 24; ++i)
            ASSERT_EQ(canvas->GetPixel(i % 32, i / 32), Rgba(0, 10, 87, 255)) << i;
    }
}
