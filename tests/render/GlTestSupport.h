#pragma once

// Pictures and pixels for the render and wall tests. GL tests draw with real GL (under Xvfb)
// and read the buffer being drawn, so they read before SwapScreen.

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "render/Texture.h"
#include "render/Video.h"

namespace gltest
{
/// A pixel whose bytes in memory are R, G, B, A (the canvas packing too).
constexpr Uint32 Rgba(Uint32 r, Uint32 g, Uint32 b, Uint32 a)
{
    return r | (g << 8) | (b << 16) | (a << 24);
}

/// A zero-filled 32-bit surface of Rgba pixels.
inline SDL_Surface* CreateRgbaSurface(int w, int h)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, Rgba(255, 0, 0, 0), Rgba(0, 255, 0, 0),
                                Rgba(0, 0, 255, 0), Rgba(0, 0, 0, 255));
}

inline Uint32& PixelAt(SDL_Surface* s, int x, int y)
{
    return static_cast<Uint32*>(s->pixels)[y * (s->pitch / 4) + x];
}

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
/// Rgba pixel, within 8 a channel (the window may have fewer than 8 bits a channel).
inline ::testing::AssertionResult Shows(int x, int y, Uint32 rgb)
{
    unsigned char p[3] = {};
    glReadPixels(x, kVirtualScreenHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    for (int i = 0; i < 3; ++i)
        if (std::abs(p[i] - static_cast<int>(rgb >> (8 * i) & 0xFF)) > 8)
            return ::testing::AssertionFailure() << x << "," << y << " shows " << int(p[0]) << " "
                                                 << int(p[1]) << " " << int(p[2]);
    return ::testing::AssertionSuccess();
}
} // namespace gltest

/// Skips a GL test when no X display is there; opens the game's window otherwise.
#define KORVANE_OPEN_GL_WINDOW()                                                                   \
    do                                                                                             \
    {                                                                                              \
        if (!std::getenv("DISPLAY"))                                                               \
            GTEST_SKIP() << "needs an X display (make test runs under Xvfb)";                      \
        ASSERT_TRUE(InitVideo(1024, 768, false, "Korvane"));                                       \
        ClearScreen();                                                                             \
    } while (0)
