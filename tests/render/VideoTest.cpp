#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>
#include <cstdlib>

#include "render/Video.h"

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

TEST(Video, OpensAWindowWhoseClearIsOpaqueBlack)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (make test runs under Xvfb)";
    ASSERT_TRUE(InitVideo(1024, 768, false, "Korvane"));
    const SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 1024);
    EXPECT_EQ(screen->h, 768);
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Korvane");

    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ClearScreen();
    unsigned char pixel[4] = {9, 9, 9, 9};
    glReadPixels(512, 384, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(pixel[2], 0);

    // The projection maps the virtual screen onto the window with y downwards.
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[0], 2.0 / 1024.0, 1e-9);
    EXPECT_NEAR(projection[5], -2.0 / 768.0, 1e-9);
    SwapScreen();
    SDL_Quit();
}
