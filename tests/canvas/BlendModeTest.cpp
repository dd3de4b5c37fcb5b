#include <gtest/gtest.h>

#include <climits>

#include "TestPictures.h"
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
    EXPECT_NE(GetBlendMode(1), GetBlendMode(2));
    for (int kind : {0, 3, -1})
        EXPECT_EQ(GetBlendMode(kind), nullptr) << kind;
}

namespace
{
// A 4 x 3 source of opaque pixels that each name their own position, over a canvas of one
// fill colour. With an opaque source the normal blend copies the source pixel exactly.
constexpr uint32_t kFill = Rgba(1, 2, 3, 4);
constexpr uint32_t SourcePixel(int x, int y)
{
    return Rgba(100 + x, 200 + y, 7, 255);
}

std::unique_ptr<CSurface> NumberedSource()
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            pixels.push_back(SourcePixel(x, y));
    return MakeSurface(4, 3, pixels);
}
} // namespace

// A point is drawn only when it lies inside the source and inside the destination.
TEST(Blit, DrawsOnlyPointsInsideBothSurfaces)
{
    const std::unique_ptr<CSurface> src = NumberedSource();
    struct
    {
        CRect srcRect;
        int dstX, dstY;
    } const cases[] = {
        {{0, 0, 4, 3}, 5, 6},           {{-2, -1, 5, 5}, 10, 10},
        {{1, 1, 8, 8}, 0, 0},           {{0, 0, 4, 3}, -3, -2},
        {{0, 0, 4, 3}, 30, 22},         {{0, 0, 4, 3}, 32, 0},
        {{0, 0, 4, 3}, 0, -3},          {{0, 0, 0, 3}, 5, 5},
        {{0, 0, 4, -1}, 5, 5},          {{3, 2, 4, 3}, 31, 23},
        {{INT_MAX - 1, 0, 4, 3}, 0, 0}, {{0, 0, INT_MAX, INT_MAX}, INT_MIN + 1, 0},
        {{-5, -5, 40, 40}, 28, 20},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.srcRect.x << "," << c.srcRect.y << " " << c.srcRect.w
                                        << "x" << c.srcRect.h << " at " << c.dstX << "," << c.dstY);
        std::unique_ptr<CSurface> canvas = MakeSurface(32, 24, std::vector<uint32_t>(768, kFill));
        const CRect dstRect = {c.dstX, c.dstY, 1, 1}; // its size must not matter
        Blit(src.get(), &c.srcRect, canvas.get(), &dstRect, nullptr, CColor(1, 1, 1, 1));
        for (int y = 0; y < 24; ++y)
        {
            for (int x = 0; x < 32; ++x)
            {
                const long long i = static_cast<long long>(x) - c.dstX;
                const long long k = static_cast<long long>(y) - c.dstY;
                const long long sx = c.srcRect.x + i, sy = c.srcRect.y + k;
                const bool drawn = i >= 0 && i < c.srcRect.w && k >= 0 && k < c.srcRect.h &&
                                   sx >= 0 && sx < 4 && sy >= 0 && sy < 3;
                ASSERT_EQ(canvas->GetPixel(x, y),
                          drawn ? SourcePixel(static_cast<int>(sx), static_cast<int>(sy)) : kFill)
                    << x << "," << y;
            }
        }
    }
}

TEST(Blit, WithoutRectanglesBlendsTheCommonTopLeftOnce)
{
    // Half-transparent grey: blending it twice would give a different byte than once.
    std::unique_ptr<CSurface> src =
        MakeSurface(10, 10, std::vector<uint32_t>(100, Rgba(200, 200, 200, 255)));
    std::unique_ptr<CSurface> canvas =
        MakeSurface(32, 24, std::vector<uint32_t>(768, Rgba(0, 0, 0, 255)));
    Blit(src.get(), nullptr, canvas.get(), nullptr, GetBlendMode(1), CColor(1, 1, 1, 0.5f));
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(canvas->GetPixel(x, y),
                      x < 10 && y < 10 ? Rgba(100, 100, 100, 255) : Rgba(0, 0, 0, 255))
                << x << "," << y;

    // The other way round only the 10 x 10 destination is touched, from the source's corner.
    std::unique_ptr<CSurface> small = MakeSurface(10, 10, std::vector<uint32_t>(100, 0));
    Blit(canvas.get(), nullptr, small.get(), nullptr, GetBlendMode(1), CColor(1, 1, 1, 1));
    EXPECT_EQ(small->GetPixel(9, 9), Rgba(100, 100, 100, 255));
}

TEST(Blit, UnknownModeFallsBackToNormalAndColourModulates)
{
    const std::unique_ptr<CSurface> src = MakeSurface(1, 1, {Rgba(255, 255, 255, 255)});
    const CColor tint(1, 0.5f, 0, 0.5f);
    std::unique_ptr<CSurface> withNull = MakeSurface(1, 1, {Rgba(0, 0, 0, 0)});
    std::unique_ptr<CSurface> withScreen = MakeSurface(1, 1, {Rgba(0, 0, 0, 0)});
    Blit(src.get(), nullptr, withNull.get(), nullptr, GetBlendMode(3), tint);
    Blit(src.get(), nullptr, withScreen.get(), nullptr, GetBlendMode(2), tint);
    // Normal: 0.5 x (1, 0.5, 0) over transparent black, alpha 0.5.
    EXPECT_EQ(withNull->GetPixel(0, 0), Rgba(127, 63, 0, 127));
    // Screen: colour weighted by the modulated alpha, always opaque.
    EXPECT_EQ(withScreen->GetPixel(0, 0), Rgba(127, 63, 0, 255));

    CSurface empty;
    Blit(&empty, nullptr, withNull.get(), nullptr, nullptr, tint); // nothing to draw
    Blit(src.get(), nullptr, &empty, nullptr, nullptr, tint);
    Blit(nullptr, nullptr, withNull.get(), nullptr, nullptr, tint);
    EXPECT_EQ(withNull->GetPixel(0, 0), Rgba(127, 63, 0, 127));
}
