#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "Support.h"
#include "render/GlTestSupport.h"
#include "render/Texture.h"

using gltest::PixelAt;
using gltest::Rgba;

namespace
{
/// The uploaded texture's texels, RGBA bytes row by row, and its size.
std::vector<Uint32> ReadTexture(unsigned int name, int& w, int& h)
{
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    std::vector<Uint32> texels(static_cast<size_t>(w * h));
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}
} // namespace

TEST(TextureGl, AnOddSizedPictureIsUploadedEnlargedWithItsBorderCopied)
{
    KORVANE_OPEN_GL_WINDOW();
    const CTempDir folder;
    const std::string name = folder / "odd.bmp";
    SDL_Surface* picture =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 33, 20, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 33; ++x)
        {
            const SDL_Rect r = {static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
            SDL_FillRect(picture, const_cast<SDL_Rect*>(&r),
                         SDL_MapRGB(picture->format, x * 7, y * 12, 99));
        }
    ASSERT_EQ(SDL_SaveBMP(picture, name.c_str()), 0);
    SDL_FreeSurface(picture);

    CTexture* texture = GetTexture(name);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(GetTexture(name), texture);
    EXPECT_EQ(GetTexture(folder / "ODD.bmp"), nullptr) << "names are matched byte for byte";
    EXPECT_EQ(texture->m_Width, 33);
    EXPECT_EQ(texture->m_Height, 20);
    EXPECT_EQ(texture->m_UMax, 33.0f / 64.0f);
    EXPECT_EQ(texture->m_VMax, 20.0f / 32.0f);

    int w = 0, h = 0;
    const std::vector<Uint32> texels = ReadTexture(texture->m_Name, w, h);
    ASSERT_EQ(w, 64);
    ASSERT_EQ(h, 32);
    auto at = [&](int x, int y) { return texels[static_cast<size_t>(y * w + x)]; };
    EXPECT_EQ(at(5, 7), Rgba(35, 84, 99, 255)) << "a picture without alpha arrives opaque";
    // The border copies (worked out in full by the pure tests) reach the upload.
    EXPECT_EQ(at(33, 7), at(32, 7));
    EXPECT_EQ(at(5, 20), at(5, 19));
    EXPECT_EQ(at(34, 0) & 0xFF000000u, 0u);
}

// With per-surface alpha on, the copy into the enlarged image must not blend; and the
// caller's picture keeps its alpha settings. The two libraries store different values for
// per-surface alpha on a picture that has its own alpha channel (classic: 77; sdl12-compat
// ignores it: 255), so each is compared with what it was before.
TEST(TextureGl, CopiesThePictureAndLeavesItsAlphaSettingsAsFound)
{
    KORVANE_OPEN_GL_WINDOW();
    for (const bool ownAlpha : {true, false})
    {
        SCOPED_TRACE(ownAlpha ? "alpha channel" : "no alpha channel");
        SDL_Surface* picture = ownAlpha ? gltest::CreateRgbaSurface(2, 2)
                                        : SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 2, 24, 0x0000FF,
                                                               0x00FF00, 0xFF0000, 0);
        SDL_FillRect(picture, nullptr, SDL_MapRGBA(picture->format, 200, 100, 50, 128));
        SDL_SetAlpha(picture, SDL_SRCALPHA, 77);
        const Uint32 flags = picture->flags;
        const Uint8 alpha = picture->format->alpha;
        unsigned int name = 0;
        float coordinates[4] = {};
        ASSERT_TRUE(MakeTexture(picture, name, coordinates));
        EXPECT_EQ(picture->flags, flags);
        EXPECT_EQ(picture->format->alpha, alpha);

        int w = 0, h = 0;
        const std::vector<Uint32> texels = ReadTexture(name, w, h);
        ASSERT_EQ(w * h, 4);
        EXPECT_EQ(texels[0], Rgba(200, 100, 50, ownAlpha ? 128 : 255));
        SDL_FreeSurface(picture);
    }
}
