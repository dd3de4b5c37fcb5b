#include <cmath>

#include "canvas/Sprite.h"
#include "canvas/TestPictures.h"
#include "render/Quad.h"
#include "render/Texture.h"
#include "render/Video.h"

// Corners in strip order: top-left, bottom-left, top-right, bottom-right. A positive angle
// turns about the centre clockwise as seen on the y-down screen: a quarter turn stands the
// 20 x 10 quad about (10, 5) up as 10 x 20, its top-left corner now at the top right.
TEST(QuadVertices, CornersInStripOrderTurnedClockwiseAboutTheCentre)
{
    struct
    {
        float angle;
        float corners[4][2];
    } const cases[] = {
        {0, {{10, 20}, {10, 30}, {30, 20}, {30, 30}}},
        {static_cast<float>(M_PI / 2), {{25, 15}, {15, 15}, {25, 35}, {15, 35}}},
    };
    for (const auto& c : cases)
    {
        CQuadVertex v[4];
        QuadVertices(10, 20, 20, 10, c.angle, 0.5f, 0.25f, v);
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(std::fabs(v[i].x - c.corners[i][0]) < 1e-5f &&
                        std::fabs(v[i].y - c.corners[i][1]) < 1e-5f &&
                        v[i].u == (i < 2 ? 0.0f : 0.5f) && v[i].v == (i % 2 ? 0.25f : 0.0f))
                << c.angle << " corner " << i << ": " << v[i].x << ", " << v[i].y;
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
    EXPECT_TRUE(IsInvisibleVideoDriver("offscreen", nullptr));
    EXPECT_TRUE(IsInvisibleVideoDriver("dummy", ""));
    EXPECT_TRUE(IsInvisibleVideoDriver("dummy", "x11"));
    EXPECT_TRUE(IsInvisibleVideoDriver("offscreen", "offscreenx"));
    EXPECT_FALSE(IsInvisibleVideoDriver("x11", nullptr));
    EXPECT_FALSE(IsInvisibleVideoDriver("dummy", "dummy"));
    EXPECT_FALSE(IsInvisibleVideoDriver("offscreen", "x11,Offscreen"));
}

// Under linear filtering the transparent margin of the enlarged image would show at the
// picture's edges: transparent pixels take the mean colour of their opaque neighbours (alpha
// stays 0), and the picture's last column and row are copied once into the margin.
TEST(BleedEdges, ColoursTheMarginFromThePicturesEdge)
{
    std::unique_ptr<CSurface> image = CreateSurface(6, 5);
    image->SetPixel(0, 0, Rgba(100, 20, 0, 255));
    image->SetPixel(1, 0, Rgba(51, 0, 9, 1)); // alpha 1 counts as opaque
    image->SetPixel(3, 2, Rgba(7, 8, 9, 255));
    BleedEdges(image->Sdl(), SDL_Rect{0, 0, 4, 3});
    const uint32_t expected[][3] = {
        {1, 1, Rgba(75, 10, 4, 0)}, // means truncate
        {2, 1, Rgba(29, 4, 9, 0)},     {4, 2, Rgba(7, 8, 9, 255)}, {4, 3, Rgba(7, 8, 9, 255)},
        {4, 0, Rgba(0, 0, 0, 0)},      {0, 3, Rgba(0, 0, 0, 0)},   {5, 4, Rgba(0, 0, 0, 0)},
        {0, 0, Rgba(100, 20, 0, 255)},
    };
    for (const auto& e : expected)
        EXPECT_EQ(image->GetPixel(e[0], e[1]), e[2]) << e[0] << "," << e[1];

    // What is copied follows the picture's own rectangle, clipped to the image: nothing of an
    // empty one (a blit that wrote nothing: no edge, and nothing outside may be read).
    const struct
    {
        Uint16 w, h;
        uint32_t below, diagonal; // (0, 1) and (1, 1) of a picture at (0, 0)
    } rects[] = {
        {0, 0, Rgba(1, 2, 3, 0), Rgba(1, 2, 3, 0)},
        {1, 1, Rgba(1, 2, 3, 255), Rgba(1, 2, 3, 255)},
        {6, 1, Rgba(1, 2, 3, 255), Rgba(1, 2, 3, 0)},
        {9, 9, Rgba(1, 2, 3, 0), Rgba(1, 2, 3, 0)},
    };
    for (const auto& r : rects)
    {
        image = CreateSurface(6, 5);
        image->SetPixel(0, 0, Rgba(1, 2, 3, 255));
        BleedEdges(image->Sdl(), SDL_Rect{0, 0, r.w, r.h});
        EXPECT_TRUE(image->GetPixel(0, 1) == r.below && image->GetPixel(1, 1) == r.diagonal &&
                    image->GetPixel(0, 2) == 0)
            << r.w << " x " << r.h;
    }
}

// A failed picture is met again and again: a sprite per particle, a surface per gameplay, a
// texture per frame. Each file is named once, whichever loader met it, and the texture
// cache keeps its first answer even when the file appears later.
TEST(PictureLoadFailure, NamesEachFailedFileOnceAndIsNotRetried)
{
    const CTempDir folder;
    const std::string missing = folder / "missing.png", wall = folder / "wall.png";
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(GetTexture(missing), nullptr);
        EXPECT_EQ(LoadSurface(missing)->Width(), 0);
        RemoveSprite(CreateSprite(missing));
        EXPECT_EQ(GetTexture(wall), nullptr); // only ever a texture
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error! Couldn't load picture: " + missing +
                  "\nError! Couldn't load picture: " + wall + "\n");
    std::filesystem::copy_file("data/gfx/bullet-01.png", missing);
    EXPECT_GT(LoadSurface(missing)->Width(), 0);
    EXPECT_EQ(GetTexture(missing), nullptr); // a retry would reach GL, which is not even here
}
