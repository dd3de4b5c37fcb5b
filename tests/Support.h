#pragma once

// What the test programs share: the frame step, scratch folders, a window-less video mode,
// a gameplay host that records what the actors ask of it, and real SDL events.

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "actors/Bullet.h"
#include "actors/FireBulletInterface.h"
#include "actors/Particle.h"
#include "app/MainLoop.h"
#include "canvas/Surface.h"
#include "render/Texture.h"
#include "render/Video.h"
#include "util/Vector2.h"

/// Seconds per frame, as the main loop steps the game.
constexpr float kDt = kTimeStep;

/// A fresh folder under /tmp, removed with everything in it when the object goes.
class CTempDir
{
public:
    CTempDir()
    {
        char pattern[] = "/tmp/korvane-test-XXXXXX";
        m_Path = mkdtemp(pattern) ? pattern : "";
    }
    ~CTempDir()
    {
        std::error_code ignored;
        if (!m_Path.empty())
            std::filesystem::remove_all(m_Path, ignored);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_Path; }
    std::string operator/(const std::string& name) const { return m_Path + "/" + name; }

private:
    std::string m_Path;
};

/// Makes the process's current folder `path` for its lifetime, then goes back.
class CCurrentDir
{
public:
    explicit CCurrentDir(const std::string& path)
        : m_Previous(std::filesystem::current_path().string())
    {
        std::filesystem::current_path(path);
    }
    ~CCurrentDir()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_Previous, ignored);
    }
    CCurrentDir(const CCurrentDir&) = delete;
    CCurrentDir& operator=(const CCurrentDir&) = delete;

private:
    std::string m_Previous;
};

/// Packs bytes into a canvas pixel (red in the low byte).
constexpr uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return r | (g << 8) | (b << 16) | (a << 24);
}

/// A canvas-format surface of w x h pixels, all `pixel`.
inline std::unique_ptr<CSurface> FilledSurface(int w, int h, uint32_t pixel)
{
    std::unique_ptr<CSurface> surface = CreateSurface(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            surface->SetPixel(x, y, pixel);
    return surface;
}

/// A texture record of the picture (GL name, size, texture coordinates), made with MakeTexture.
inline CTexture TextureOf(const std::unique_ptr<CSurface>& picture)
{
    CTexture t;
    float uv[4] = {};
    MakeTexture(picture->Sdl(), t.m_Name, uv);
    t.m_Width = picture->Width();
    t.m_Height = picture->Height();
    t.m_UMax = uv[2];
    t.m_VMax = uv[3];
    return t;
}

/// Whether the window pixel at virtual screen (x, y), y downwards, shows the colour of the
/// canvas pixel `rgb`, within 8 a channel (the window may have fewer than 8 bits a channel).
inline bool Shows(int x, int y, uint32_t rgb)
{
    unsigned char p[3] = {};
    glReadPixels(x, kVirtualScreenHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    for (int i = 0; i < 3; ++i)
        if (std::abs(p[i] - static_cast<int>(rgb >> (8 * i) & 0xFF)) > 8)
            return false;
    return true;
}

/// Skips a GL test when no X display is there (make test runs under Xvfb).
#define KORVANE_OPEN_GL_WINDOW()                                                                   \
    if (!std::getenv("DISPLAY"))                                                                   \
        GTEST_SKIP() << "needs an X display";                                                      \
    ASSERT_TRUE(InitVideo(kVirtualScreenWidth, kVirtualScreenHeight, false, "Korvane"))

/// A window-less 32-bit video mode (SDL's dummy driver outside GL tests): surfaces can be
/// made and converted, nothing is shown.
class CVideoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(32, 24, 32, SDL_SWSURFACE), nullptr) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }
};

/// The gameplay as the actors see it, recording what they ask for.
class CFakeGameplay : public IFireBulletInterface
{
public:
    struct SShot
    {
        CVector2 position;
        CBullet::EShooter code;
        float speed;
    };

    void FirePlayerBullet() override { ++m_PlayerShots; }
    void FireLevelBullet(const CVector2& position, CBullet::EShooter code, float speed) override
    {
        m_LevelShots.push_back({position, code, speed});
    }
    CParticleList* GetParticles() override { return &m_Particles; }

    int m_PlayerShots = 0;
    std::vector<SShot> m_LevelShots;
    CParticleList m_Particles;
};

/// Real SDL events, for code that polls the queue.
inline void PushEvent(Uint8 type, SDLKey key = SDLK_UNKNOWN, Uint8 button = 0)
{
    SDL_Event event = {};
    event.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP)
    {
        event.key.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
    }
    else if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP)
    {
        event.button.type = type;
        event.button.button = button;
    }
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}
