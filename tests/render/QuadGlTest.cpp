#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "canvas/Color.h"
#include "render/Camera.h"
#include "render/GlTestSupport.h"
#include "render/Quad.h"

using gltest::ReadPixel;

namespace
{
const CColor kWhite(1, 1, 1, 1);

// Channel tolerance: the window may have fewer than 8 bits per channel.
int Tolerance()
{
    GLint redBits = 8;
    glGetIntegerv(GL_RED_BITS, &redBits);
    return redBits >= 8 ? 2 : (256 >> redBits) + 1;
}

void ExpectRgb(int x, int y, int r, int g, int b)
{
    const auto p = ReadPixel(x, y);
    const int tol = Tolerance();
    EXPECT_NEAR(p[0], r, tol) << "at " << x << ", " << y;
    EXPECT_NEAR(p[1], g, tol) << "at " << x << ", " << y;
    EXPECT_NEAR(p[2], b, tol) << "at " << x << ", " << y;
}

/// Counts the lit (non-black) pixels of the whole window.
int LitPixels()
{
    static unsigned char pixels[kVirtualScreenWidth * kVirtualScreenHeight * 4];
    glReadPixels(0, 0, kVirtualScreenWidth, kVirtualScreenHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels);
    int lit = 0;
    for (int i = 0; i < kVirtualScreenWidth * kVirtualScreenHeight; ++i)
        if (pixels[i * 4] > 8 || pixels[i * 4 + 1] > 8 || pixels[i * 4 + 2] > 8)
            ++lit;
    return lit;
}

class CShiftCamera : public ICamera
{
public:
    CPlacedQuad Transform(const CQuadRect& rect, float angle) const override
    {
        return CPlacedQuad{rect.x + 500.0f, rect.y, rect.width, rect.height, angle, true};
    }
};
} // namespace

TEST(DrawQuadGl, AFullWindowQuadCoversTheWindowAndANullTextureDrawsNothing)
{
    KORVANE_OPEN_GL_WINDOW();
    DrawQuad(nullptr, 0, 0, 1024, 768, &kWhite, 0.0f, false);
    EXPECT_EQ(LitPixels(), 0);
    const CTexture white = gltest::MakeSolidTexture(2, 2, gltest::Rgba(255, 255, 255, 255));
    DrawQuad(&white, 0, 0, 1024, 768, &kWhite, 0.0f, false);
    EXPECT_EQ(LitPixels(), 1024 * 768);
    ExpectRgb(1023, 767, 255, 255, 255);
}

TEST(DrawQuadGl, TheTintsAlphaBlendsOverTheFrame)
{
    KORVANE_OPEN_GL_WINDOW();
    const CTexture white = gltest::MakeSolidTexture(2, 2, gltest::Rgba(255, 255, 255, 255));
    const CColor red(1, 0, 0, 1);
    const CColor halfBlue(0, 0, 1, 0.5f);
    const CColor invisible(0, 1, 0, 0.0f);
    DrawQuad(&white, 0, 0, 1024, 768, &red, 0.0f, false);
    DrawQuad(&white, 0, 0, 512, 768, &halfBlue, 0.0f, false);
    DrawQuad(&white, 512, 0, 512, 768, &invisible, 0.0f, false);
    ExpectRgb(200, 300, 128, 0, 128);
    ExpectRgb(800, 300, 255, 0, 0);
}

TEST(DrawQuadGl, AnEnlargedPictureShowsOnlyItsOwnArea)
{
    KORVANE_OPEN_GL_WINDOW();
    // 5 x 5 becomes 8 x 8; coordinates reaching 1 would stretch the transparent margin
    // over the right and bottom three eighths of the quad.
    const CTexture red = gltest::MakeSolidTexture(5, 5, gltest::Rgba(255, 0, 0, 255));
    EXPECT_EQ(red.m_UMax, 5.0f / 8.0f);
    DrawQuad(&red, 100, 100, 400, 400, &kWhite, 0.0f, false);
    const int inside[][2] = {{102, 102}, {300, 300}, {497, 300}, {300, 497}, {497, 497}};
    for (const auto& p : inside)
        ExpectRgb(p[0], p[1], 255, 0, 0);
    ExpectRgb(503, 300, 0, 0, 0);
    ExpectRgb(300, 503, 0, 0, 0);
}

TEST(DrawQuadGl, APositiveAngleTurnsClockwiseOnScreen)
{
    KORVANE_OPEN_GL_WINDOW();
    const CTexture white = gltest::MakeSolidTexture(2, 2, gltest::Rgba(255, 255, 255, 255));
    // A 400 x 20 bar about (512, 384) turned by 0.3 rad: its right end dips by
    // 150 tan 0.3 = 46 pixels at 150 pixels from the centre, its left end rises.
    DrawQuad(&white, 312, 374, 400, 20, &kWhite, 0.3f, false);
    ExpectRgb(662, 430, 255, 255, 255);
    ExpectRgb(362, 338, 255, 255, 255);
    ExpectRgb(662, 338, 0, 0, 0);
    ExpectRgb(362, 430, 0, 0, 0);
}

TEST(DrawQuadGl, TheCameraMovesOnlyQuadsDrawnWithItsFlag)
{
    KORVANE_OPEN_GL_WINDOW();
    const CTexture white = gltest::MakeSolidTexture(2, 2, gltest::Rgba(255, 255, 255, 255));
    CShiftCamera camera;
    SetCamera(&camera);
    DrawQuad(&white, 0, 0, 100, 100, &kWhite, 0.0f, true); // Lands at x 500.
    DrawQuad(&white, 0, 200, 100, 100, &kWhite, 0.0f, false);
    SetCamera(nullptr);
    DrawQuad(&white, 0, 400, 100, 100, &kWhite, 0.0f, true); // No camera: as given.
    ExpectRgb(550, 50, 255, 255, 255);
    ExpectRgb(50, 50, 0, 0, 0);
    ExpectRgb(50, 250, 255, 255, 255);
    ExpectRgb(50, 450, 255, 255, 255);
    EXPECT_EQ(LitPixels(), 3 * 100 * 100);
}
