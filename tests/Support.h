#pragma once

// What the test programs share: scratch folders, a window-less video mode, a recording host.

#include <GL/gl.h>
#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <memory>
#include <string>
#include <vector>

#include "actors/Bullet.h"
#include "actors/FireBulletInterface.h"
#include "actors/Particle.h"
#include "app/MainLoop.h"
#include "audio/SoundOutput.h"
#include "canvas/Color.h"
#include "canvas/Surface.h"
#include "render/Texture.h"
#include "render/Video.h"
#include "util/Vector2.h"

constexpr float kDt = kTimeStep;

using ::testing::AllOf, ::testing::AnyOf, ::testing::Each, ::testing::FloatNear, ::testing::Ge,
    ::testing::Gt, ::testing::Le, ::testing::Lt, ::testing::Pointwise;

// Failures print vectors and colours by their parts; 9 digits tell neighbouring floats apart.
inline void PrintTo(const CVector2& v, std::ostream* os)
{
    *os << std::setprecision(9) << "(" << v.x << ", " << v.y << ")";
}
inline void PrintTo(const CColor& c, std::ostream* os)
{
    *os << std::setprecision(9) << "rgba(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a
        << ")";
}

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
        std::error_code ignored; // an empty path (mkdtemp failed) removes nothing
        std::filesystem::remove_all(m_Path, ignored);
    }
    CTempDir(const CTempDir&) = delete; // a copy would remove the folder under the original
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

private:
    std::string m_Previous;
};

/// A canvas pixel (red in the low byte).
constexpr uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return r | (g << 8) | (b << 16) | (a << 24);
}

/// A canvas-format surface whose pixels are `pixels`, row by row.
inline std::unique_ptr<CSurface> MakeSurface(int w, int h, const std::vector<uint32_t>& pixels)
{
    std::unique_ptr<CSurface> surface = CreateSurface(w, h);
    for (int i = 0; i < w * h; ++i)
        surface->SetPixel(i % w, i / w, pixels[static_cast<size_t>(i)]);
    return surface;
}

/// A canvas-format surface of w x h pixels, all `pixel`.
inline std::unique_ptr<CSurface> FilledSurface(int w, int h, uint32_t pixel)
{
    return MakeSurface(w, h, std::vector<uint32_t>(static_cast<size_t>(w * h), pixel));
}

/// One list to compare: a failure shows every pixel.
inline std::vector<uint32_t> PixelsAt(const CSurface& surface, std::initializer_list<CPoint> points)
{
    std::vector<uint32_t> pixels;
    for (const CPoint& p : points)
        pixels.push_back(surface.GetPixel(p.x, p.y));
    return pixels;
}

inline int CountPixels(const CSurface& canvas, uint32_t pixel)
{
    int count = 0;
    for (int i = 0; i < canvas.Width() * canvas.Height(); ++i)
        count += canvas.GetPixel(i % canvas.Width(), i / canvas.Width()) == pixel;
    return count;
}

inline CTexture TextureOf(const std::unique_ptr<CSurface>& picture)
{
    unsigned int name = 0;
    float uv[4] = {};
    MakeTexture(picture->Sdl(), name, uv);
    return {name, picture->Width(), picture->Height(), uv[0], uv[1], uv[2], uv[3]};
}

/// Whether the window pixel at virtual screen (x, y), y down, shows the canvas pixel `rgb`
/// within 8 a channel (the window may have fewer than 8 bits a channel); if not, what it shows.
inline ::testing::AssertionResult Shows(int x, int y, uint32_t rgb)
{
    unsigned char p[3] = {};
    glReadPixels(x, kVirtualScreenHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    for (int i = 0; i < 3; ++i)
        if (std::abs(p[i] - static_cast<int>(rgb >> (8 * i) & 0xFF)) > 8)
            return ::testing::AssertionFailure()
                   << "shows " << int(p[0]) << ", " << int(p[1]) << ", " << int(p[2]) << ", not "
                   << (rgb & 0xFF) << ", " << (rgb >> 8 & 0xFF) << ", " << (rgb >> 16 & 0xFF);
    return ::testing::AssertionSuccess();
}

/// Skips a GL test when no X display is there (make test runs under Xvfb).
#define KORVANE_OPEN_GL_WINDOW()                                                                   \
    if (!std::getenv("DISPLAY"))                                                                   \
        GTEST_SKIP() << "needs an X display";                                                      \
    ASSERT_TRUE(InitVideo(kVirtualScreenWidth, kVirtualScreenHeight, false, "Korvane"))

/// A window-less 32-bit video mode (SDL's dummy driver outside GL tests).
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

/// The sound library's clock, set by the test, and the sounds it hands over instead of playing.
struct CRecordingOutput : ISoundOutput
{
    uint32_t Ticks() override { return m_Now; }
    void Play(Mix_Chunk* chunk) override { m_Played.push_back(chunk); }

    uint32_t m_Now = 0;
    std::vector<Mix_Chunk*> m_Played;
};

inline void PushEvent(decltype(SDL_Event::type) type, SDLKey key = SDLK_UNKNOWN, Uint8 button = 0)
{
    SDL_Event event = {};
    event.type = type; // and so every member's type, the union's first field
    if (type == SDL_KEYDOWN || type == SDL_KEYUP)
    {
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
    }
    else if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP)
        event.button.button = button;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}
