#include <SDL_image.h>

#include <cmath>
#include <fstream>

#include "Support.h"
#include "canvas/Sprite.h"
#include "render/GlTestSupport.h"
#include "render/Quad.h"

using gltest::PixelAt;
using gltest::Rgba;

// Corners in strip order: top-left, bottom-left, top-right, bottom-right. A positive angle
// turns about the centre clockwise as seen on the y-down screen: a quarter turn stands the
// 20 x 10 quad about (10, 5) up as 10 x 20, its top-left corner now at the top right.
TEST(QuadVertices, CornersInStripOrderTurnedClockwiseAboutTheCentre)
{
    const float halfPi = static_cast<float>(M_PI / 2.0);
    struct
    {
        float x, y, w, h, angle;
        float corners[4][2];
    } const cases[] = {
        {10, 20, 30, 40, 0, {{10, 20}, {10, 60}, {40, 20}, {40, 60}}},
        {0, 0, 20, 10, halfPi, {{15, -5}, {5, -5}, {15, 15}, {5, 15}}},
    };
    for (const auto& c : cases)
    {
        CQuadVertex v[4];
        QuadVertices(c.x, c.y, c.w, c.h, c.angle, 0.5f, 0.25f, v);
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_NEAR(v[i].x, c.corners[i][0], 1e-5f) << c.angle << " corner " << i;
            EXPECT_NEAR(v[i].y, c.corners[i][1], 1e-5f) << c.angle << " corner " << i;
            EXPECT_EQ(v[i].u, i < 2 ? 0.0f : 0.5f);
            EXPECT_EQ(v[i].v, i % 2 ? 0.25f : 0.0f);
        }
    }
}

TEST(Viewport, KeepsAFourByThreeArea)
{
    const struct
    {
        int w, h;
        CRect expected;
    } cases[] = {
        {1024, 768, {0, 0, 1024, 768}},
        {1600, 900, {0, -150, 1600, 1200}}, // 1600 / 1.3333334f rounds to 1200.0f
        {300, 600, {-250, 0, 800, 600}},
    };
    for (const auto& c : cases)
    {
        const CRect v = ComputeViewport(c.w, c.h);
        EXPECT_TRUE(v.x == c.expected.x && v.y == c.expected.y && v.w == c.expected.w &&
                    v.h == c.expected.h)
            << c.w << " x " << c.h << ": " << v.x << ", " << v.y << ", " << v.w << " x " << v.h;
    }
}

// Without a display SDL 2 falls back to drivers that show nothing; the game refuses them
// unless they were asked for (the tests ask for "dummy").
TEST(Video, RefusesADriverThatShowsNothingUnlessAskedFor)
{
    const struct
    {
        const char* driver;
        const char* requested;
        bool refused;
    } cases[] = {
        {"offscreen", nullptr, true},
        {"dummy", "", true},
        {"dummy", "x11", true},
        {"x11", nullptr, false},
        {"dummy", "dummy", false},
        {"offscreen", "x11,Offscreen", false},
        {"offscreen", "offscreenx", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsInvisibleVideoDriver(c.driver, c.requested), c.refused)
            << c.driver << " with SDL_VIDEODRIVER=" << (c.requested ? c.requested : "(unset)");
}

TEST(Texture, EnlargesToThePowerOfTwo)
{
    const int sizes[][2] = {{1, 1}, {2, 2}, {3, 4}, {20, 32}, {32, 32}, {33, 64}, {1025, 2048}};
    for (const auto& s : sizes)
        EXPECT_EQ(NextPowerOfTwo(s[0]), s[1]) << s[0];
}

// Under linear filtering the transparent margin of the enlarged image would show at the
// picture's edges: transparent pixels take the mean colour of their opaque neighbours (alpha
// stays 0), and the last column and row are copied once into the margin.
TEST(BleedEdges, ColoursTheMarginFromThePicturesEdge)
{
    SDL_Surface* image = gltest::CreateRgbaSurface(6, 5);
    // Row 0: opaque pixels of red 100 and 51 (alpha 1 counts as opaque) about (1, 1).
    PixelAt(image, 0, 0) = Rgba(100, 20, 0, 255);
    PixelAt(image, 1, 0) = Rgba(51, 0, 9, 1);
    PixelAt(image, 3, 2) = Rgba(7, 8, 9, 255);
    PixelAt(image, 5, 4) = Rgba(0, 255, 0, 0); // no opaque pixel near it
    BleedEdges(image, SDL_Rect{0, 0, 4, 3});
    const struct
    {
        int x, y;
        Uint32 pixel;
    } expected[] = {
        {1, 1, Rgba(75, 10, 4, 0)}, // means truncate
        {2, 1, Rgba(29, 4, 9, 0)},  {0, 0, Rgba(100, 20, 0, 255)}, {5, 4, Rgba(0, 255, 0, 0)},
        {4, 2, Rgba(7, 8, 9, 255)}, // the bled colour of (4, 2), then the copy of (3, 2)
        {4, 0, Rgba(0, 0, 0, 0)},   {3, 3, Rgba(7, 8, 9, 255)},    {4, 3, Rgba(7, 8, 9, 255)},
        {0, 3, Rgba(0, 0, 0, 0)},   {5, 2, Rgba(0, 0, 0, 0)},      {1, 4, Rgba(0, 0, 0, 0)},
    };
    for (const auto& e : expected)
        EXPECT_EQ(PixelAt(image, e.x, e.y), e.pixel) << e.x << "," << e.y;

    // What is copied follows the picture's own rectangle: nothing of an empty one (a blit
    // that wrote nothing: no edge, and nothing outside the image may be read) or of one as
    // large as the image; a 1 x 1 picture gives its pixel thrice.
    for (const int size : {0, 1, 6})
    {
        SDL_FillRect(image, nullptr, 0);
        PixelAt(image, 0, 0) = Rgba(1, 2, 3, 255);
        BleedEdges(image, SDL_Rect{0, 0, static_cast<Uint16>(size), static_cast<Uint16>(size)});
        const Uint32 alpha = size == 1 ? 255 : 0;
        EXPECT_EQ(PixelAt(image, 0, 0), Rgba(1, 2, 3, 255)) << size;
        EXPECT_EQ(PixelAt(image, 0, 1), Rgba(1, 2, 3, alpha)) << size;
        EXPECT_EQ(PixelAt(image, 1, 1), Rgba(1, 2, 3, alpha)) << size;
    }
    SDL_FreeSurface(image);
    SDL_Surface* thin = gltest::CreateRgbaSurface(1, 4);
    PixelAt(thin, 0, 0) = Rgba(255, 0, 0, 255);
    BleedEdges(thin, SDL_Rect{0, 0, 1, 1});
    EXPECT_EQ(PixelAt(thin, 0, 1), 0u);
    SDL_FreeSurface(thin);
}

// A failed picture is met again and again: a sprite per particle, a surface per gameplay, a
// texture per frame. Each file is named once, whichever loader met it, and the texture
// cache keeps its first answer even when the file appears later.
TEST(PictureLoadFailure, NamesEachFailedFileOnceAndIsNotRetried)
{
    const CTempDir folder;
    const std::string missing = folder / "missing.bmp";
    const std::string garbage = folder / "garbage.png";
    std::ofstream(garbage) << "not a picture";
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(GetTexture(missing), nullptr);
        EXPECT_EQ(LoadSurface(missing)->Width(), 0);
        RemoveSprite(CreateSprite(missing));
        RemoveSprite(CreateSprite(garbage));
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error! Couldn't load picture: " + missing +
                  "\nError! Couldn't load picture: " + garbage + "\n");

    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 24, 0, 0, 0, 0);
    ASSERT_EQ(SDL_SaveBMP(picture, missing.c_str()), 0);
    SDL_FreeSurface(picture);
    EXPECT_NE(LoadSurface(missing)->Width(), 0);
    EXPECT_EQ(GetTexture(missing), nullptr); // a retry would reach GL, which is not even here
}
