#pragma once

// For tests that draw with real GL (under Xvfb) and read back the buffer being drawn, which
// they do before SwapScreen.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "render/Video.h"

/// The window's RGB bytes, bottom row first.
inline std::vector<unsigned char> ReadFrame()
{
    std::vector<unsigned char> pixels(kVirtualScreenWidth * kVirtualScreenHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kVirtualScreenWidth, kVirtualScreenHeight, GL_RGB, GL_UNSIGNED_BYTE,
                 pixels.data());
    return pixels;
}

/// Whether the window pixel at virtual screen (x, y), y downwards, shows the colour of the
/// canvas pixel `rgb`, within 8 a channel (the window may have fewer than 8 bits a channel).
inline ::testing::AssertionResult Shows(int x, int y, uint32_t rgb)
{
    unsigned char p[3] = {};
    glReadPixels(x, kVirtualScreenHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    for (int i = 0; i < 3; ++i)
        if (std::abs(p[i] - static_cast<int>(rgb >> (8 * i) & 0xFF)) > 8)
            return ::testing::AssertionFailure() << x << "," << y << " shows " << int(p[0]) << " "
                                                 << int(p[1]) << " " << int(p[2]);
    return ::testing::AssertionSuccess();
}

/// Skips a GL test when no X display is there; opens the game's window, cleared, otherwise.
#define KORVANE_OPEN_GL_WINDOW()                                                                   \
    if (!std::getenv("DISPLAY"))                                                                   \
        GTEST_SKIP() << "needs an X display (make test runs under Xvfb)";                          \
    ASSERT_TRUE(InitVideo(1024, 768, false, "Korvane"));                                           \
    ClearScreen()
