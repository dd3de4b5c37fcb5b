#pragma once

// Helpers for tests that draw with real GL (under Xvfb) and read the pixels back.

#include <GL/gl.h>
#include <SDL.h>
#include <array>
#include <cstdlib>

#include "render/Texture.h"
#include "render/Video.h"

namespace gltest
{
/// RGBA bytes of one window pixel at virtual screen (x, y), y downwards. Reads the buffer
/// being drawn, so call it before SwapScreen.
inline std::array<int, 4> ReadPixel(int x, int y)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(x, kVirtualScreenHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

/// A 32-bit surface whose bytes in memory are R, G, B, A.
inline SDL_Surface* CreateRgbaSurface(int w, int h)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x000000FFu, 0x0000FF00u, 0x00FF0000u,
                                0xFF000000u);
}

inline Uint32 Rgba(int r, int g, int b, int a)
{
    return static_cast<Uint32>(r) | (static_cast<Uint32>(g) << 8) | (static_cast<Uint32>(b) << 16) |
           (static_cast<Uint32>(a) << 24);
}

inline Uint32& PixelAt(SDL_Surface* s, int x, int y)
{
    return static_cast<Uint32*>(s->pixels)[y * (s->pitch / 4) + x];
}

/// A texture record for a w x h picture of one colour, made with MakeTexture. Owned by the
/// test (the cache is not involved).
inline CTexture MakeSolidTexture(int w, int h, Uint32 rgba)
{
    SDL_Surface* s = CreateRgbaSurface(w, h);
    SDL_FillRect(s, nullptr, rgba);
    CTexture t;
    float coordinates[4] = {};
    MakeTexture(s, t.m_Name, coordinates);
    t.m_Width = w;
    t.m_Height = h;
    t.m_UMin = coordinates[0];
    t.m_VMin = coordinates[1];
    t.m_UMax = coordinates[2];
    t.m_VMax = coordinates[3];
    SDL_FreeSurface(s);
    return t;
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
