#include "canvas/TestPictures.h"
#include "render/Camera.h"
#include "render/GlTestSupport.h"
#include "render/Quad.h"
#include "render/Texture.h"

namespace
{
/// A texture record for the picture, made with MakeTexture.
CTexture TextureOf(const std::unique_ptr<CSurface>& picture)
{
    CTexture t;
    float uv[4] = {};
    MakeTexture(picture->Sdl(), t.m_Name, uv);
    t.m_UMax = uv[2];
    t.m_VMax = uv[3];
    return t;
}

class CShiftCamera : public ICamera
{
public:
    CPlacedQuad Transform(const CQuadRect& r, float angle) const override
    {
        return CPlacedQuad{r.x + 500.0f, r.y, r.width, r.height, angle, true};
    }
};
} // namespace

// The window is the 1024 x 768 virtual screen, y downwards. A quad shows its picture tinted
// and blended by the tint's alpha, moved by the camera when it asks; nothing else is lit.
TEST(DrawQuadGl, DrawsTheTintedPictureWhereTheCameraPutsIt)
{
    KORVANE_OPEN_GL_WINDOW();
    const CColor white(1, 1, 1, 1), red(1, 0, 0, 1), halfBlue(0, 0, 1, 0.5f), clear(0, 1, 0, 0);
    DrawQuad(nullptr, 0, 0, 1024, 768, &white, 0.0f, false); // no picture, nothing drawn
    const CTexture blank = TextureOf(FilledSurface(2, 2, Rgba(255, 255, 255, 255)));
    DrawQuad(&blank, 0, 0, 200, 200, &red, 0.0f, false);
    DrawQuad(&blank, 0, 0, 100, 200, &halfBlue, 0.0f, false);
    DrawQuad(&blank, 100, 0, 100, 200, &clear, 0.0f, false);
    EXPECT_TRUE(Shows(50, 199, Rgba(128, 0, 128, 0)) && Shows(150, 199, Rgba(255, 0, 0, 0)));

    // 5 x 3 becomes 8 x 4; coordinates reaching 1 would stretch the transparent margin over
    // the right three eighths and the bottom quarter of the quad. The last column is cyan.
    std::unique_ptr<CSurface> picture = FilledSurface(5, 3, Rgba(255, 255, 0, 255));
    for (int y = 0; y < 3; ++y)
        picture->SetPixel(4, y, Rgba(0, 255, 255, 255));
    const CTexture small = TextureOf(picture);
    DrawQuad(&small, 300, 0, 400, 400, &white, 0.0f, false);
    EXPECT_TRUE(Shows(302, 2, Rgba(255, 255, 0, 0)) && Shows(697, 397, Rgba(0, 255, 255, 0)));

    CShiftCamera camera;
    SetCamera(&camera);
    DrawQuad(&blank, 0, 450, 100, 100, &white, 0.0f, true); // lands at x 500
    DrawQuad(&blank, 0, 600, 100, 100, &white, 0.0f, false);
    SetCamera(nullptr);
    DrawQuad(&blank, 150, 450, 100, 100, &white, 0.0f, true); // no camera: as given
    EXPECT_TRUE(Shows(550, 500, ~0u) && Shows(50, 650, ~0u) && Shows(200, 500, ~0u));
    const std::vector<unsigned char> frame = ReadFrame();
    int lit = 0;
    for (size_t i = 0; i < frame.size(); i += 3)
        lit += frame[i] > 8 || frame[i + 1] > 8 || frame[i + 2] > 8;
    EXPECT_EQ(lit, 200 * 200 + 400 * 400 + 3 * 100 * 100);
}

// A picture reaches GL enlarged to powers of two with its border copied; the copy must not
// blend even with per-surface alpha on, and the caller's picture keeps its alpha settings.
// The two libraries store different values for per-surface alpha on a picture with its own
// alpha channel (classic: 77; sdl12-compat ignores it: 255): each is compared with itself.
TEST(TextureGl, UploadsTheEnlargedPictureAndLeavesItsAlphaSettingsAsFound)
{
    KORVANE_OPEN_GL_WINDOW();
    for (const bool ownAlpha : {true, false})
    {
        SCOPED_TRACE(ownAlpha ? "alpha channel" : "no alpha channel");
        SDL_Surface* picture =
            SDL_CreateRGBSurface(SDL_SWSURFACE, 33, 20, ownAlpha ? 32 : 24, 0x0000FF, 0x00FF00,
                                 0xFF0000, ownAlpha ? 0xFF000000u : 0);
        SDL_FillRect(picture, nullptr, SDL_MapRGBA(picture->format, 35, 84, 99, 128));
        SDL_Rect corner = {32, 19, 1, 1};
        SDL_FillRect(picture, &corner, SDL_MapRGBA(picture->format, 1, 2, 3, 128));
        SDL_SetAlpha(picture, SDL_SRCALPHA, 77);
        const Uint32 flags = picture->flags;
        const Uint8 alpha = picture->format->alpha;
        unsigned int name = 0;
        float uv[4] = {};
        ASSERT_TRUE(MakeTexture(picture, name, uv));
        EXPECT_TRUE(picture->flags == flags && picture->format->alpha == alpha);
        SDL_FreeSurface(picture);
        EXPECT_TRUE(uv[0] == 0 && uv[1] == 0 && uv[2] == 33.0f / 64 && uv[3] == 20.0f / 32);

        int w = 0, h = 0;
        glBindTexture(GL_TEXTURE_2D, name);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        ASSERT_TRUE(w == 64 && h == 32) << w << " x " << h;
        std::vector<uint32_t> texels(64 * 32);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_EQ(texels[7 * 64 + 5], Rgba(35, 84, 99, ownAlpha ? 128 : 255));
        // The corner pixel's copies (worked out by BleedEdges' own test) reach the upload.
        const uint32_t cornerTexel = Rgba(1, 2, 3, ownAlpha ? 128 : 255);
        EXPECT_TRUE(texels[19 * 64 + 32] == cornerTexel && texels[19 * 64 + 33] == cornerTexel &&
                    texels[20 * 64 + 32] == cornerTexel && texels[20 * 64 + 33] == cornerTexel);
    }
}
