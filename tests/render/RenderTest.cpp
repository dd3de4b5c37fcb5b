#include <cmath>

#include "Support.h"
#include "render/Quad.h"

// Corners in strip order: top-left, bottom-left, top-right, bottom-right, with the texture's
// corners. A positive angle turns clockwise on the y-down screen about the centre: by cos 0.6,
// sin 0.8 the 20 x 10 quad about (20, 25) takes its top-left corner (10, 20) up and right.
TEST(QuadVertices, CornersInStripOrderTurnedClockwiseAboutTheCentre)
{
    const std::vector<float> turned[4] = {
        {18, 14, 0, 0}, {10, 20, 0, 0.25f}, {30, 30, 0.5f, 0}, {22, 36, 0.5f, 0.25f}};
    CQuadVertex v[4];
    QuadVertices(10, 20, 20, 10, std::atan2(0.8f, 0.6f), 0.5f, 0.25f, v);
    for (int i = 0; i < 4; ++i)
        EXPECT_THAT((std::vector<float>{v[i].x, v[i].y, v[i].u, v[i].v}),
                    Pointwise(FloatNear(1e-5f), turned[i]))
            << "corner " << i;
}

TEST(Viewport, KeepsAFourByThreeArea)
{
    const auto viewport = [](int w, int h)
    {
        const CRect v = ComputeViewport(w, h);
        return std::make_tuple(v.x, v.y, v.w, v.h);
    };
    // Black bars beside a wide screen, above and below a tall one; never cropped.
    EXPECT_EQ(viewport(1024, 768), std::make_tuple(0, 0, 1024, 768));
    EXPECT_EQ(viewport(1600, 900), std::make_tuple(200, 0, 1200, 900));
    EXPECT_EQ(viewport(1366, 768), std::make_tuple(171, 0, 1024, 768)); // 768 x 1.3333334f > 1024
    EXPECT_EQ(viewport(300, 600), std::make_tuple(0, 187, 300, 225));
    EXPECT_EQ(viewport(2560, 1920), std::make_tuple(0, 0, 2560, 1920));
}

// SDL 2 without a display falls back to drivers that show nothing: refused unless asked for.
TEST(Video, RefusesADriverThatShowsNothingUnlessAskedFor)
{
    EXPECT_TRUE(IsInvisibleVideoDriver("offscreen", nullptr));
    EXPECT_TRUE(IsInvisibleVideoDriver("dummy", "x11"));
    EXPECT_TRUE(IsInvisibleVideoDriver("offscreen", "offscreenx"));
    EXPECT_FALSE(IsInvisibleVideoDriver("x11", nullptr));
    EXPECT_FALSE(IsInvisibleVideoDriver("dummy", "dummy"));
    EXPECT_FALSE(IsInvisibleVideoDriver("offscreen", "x11,Offscreen"));
}

// Against linear filtering's edges, transparent pixels take their opaque neighbours' mean
// colour (alpha stays 0); the picture's last column and row are copied once into the margin.
TEST(BleedEdges, ColoursTheMarginFromThePicturesEdge)
{
    std::unique_ptr<CSurface> image = CreateSurface(6, 5);
    image->SetPixel(0, 0, Rgba(100, 20, 0, 255));
    image->SetPixel(1, 0, Rgba(51, 0, 9, 1)); // alpha 1 counts as opaque
    image->SetPixel(3, 2, Rgba(7, 8, 9, 255));
    BleedEdges(image->Sdl(), SDL_Rect{0, 0, 4, 3});
    EXPECT_EQ(PixelsAt(*image, {{1, 1}, {0, 0}, {4, 3}, {5, 4}}),
              (std::vector<uint32_t>{Rgba(75, 10, 4, 0), Rgba(100, 20, 0, 255), // means truncate
                                     Rgba(7, 8, 9, 255), 0}));

    // The copy follows the picture's rectangle, clipped; an empty one has no edge to copy.
    const uint32_t rects[][4] = {
        // width, height; then (0, 1) and (1, 1) of a picture at (0, 0)
        {0, 0, Rgba(1, 2, 3, 0), Rgba(1, 2, 3, 0)},
        {1, 1, Rgba(1, 2, 3, 255), Rgba(1, 2, 3, 255)},
        {6, 1, Rgba(1, 2, 3, 255), Rgba(1, 2, 3, 0)},
        {9, 9, Rgba(1, 2, 3, 0), Rgba(1, 2, 3, 0)},
    };
    for (const auto& r : rects)
    {
        image = CreateSurface(6, 5);
        image->SetPixel(0, 0, Rgba(1, 2, 3, 255));
        BleedEdges(image->Sdl(),
                   SDL_Rect{0, 0, static_cast<Uint16>(r[0]), static_cast<Uint16>(r[1])});
        EXPECT_EQ(PixelsAt(*image, {{0, 1}, {1, 1}, {0, 2}}),
                  (std::vector<uint32_t>{r[2], r[3], 0}))
            << r[0] << " x " << r[1];
    }
}

// A failed picture is met again and again (a texture per frame): each file is named once,
// whichever loader met it, and the texture cache keeps its answer when the file appears.
TEST(PictureLoadFailure, NamesEachFailedFileOnceAndIsNotRetried)
{
    const CTempDir folder;
    const std::string missing = folder / "missing.png", wall = folder / "wall.png";
    const std::string stars = folder / "stars.png"; // only ever a surface
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(GetTexture(missing), nullptr);
        EXPECT_EQ(LoadSurface(missing)->Width() + LoadSurface(stars)->Width(), 0);
        EXPECT_EQ(GetTexture(wall), nullptr); // only ever a texture
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error! Couldn't load picture: " + missing + "\nError! Couldn't load picture: " +
                  stars + "\nError! Couldn't load picture: " + wall + "\n");
    std::filesystem::copy_file("data/gfx/bullet-01.png", missing);
    EXPECT_GT(LoadSurface(missing)->Width(), 0);
    EXPECT_EQ(GetTexture(missing), nullptr); // a retry would reach GL, which is not even here
}

// On the 1024 x 768 virtual screen, y downwards, a quad shows nothing of the texture's margin.
TEST(DrawQuadGl, DrawsThePictureWithoutTheTexturesMargin)
{
    KORVANE_OPEN_GL_WINDOW();
    ClearScreen();
    const CColor white(1, 1, 1, 1);
    DrawQuad(nullptr, 0, 0, 1024, 768, &white, 0.0f, false); // no picture, nothing drawn
    // 5 x 3 becomes 8 x 4: coordinates reaching 1 would stretch the margin over the quad's
    // right and bottom; the last column and row are cyan, so wrapping would tint the top left.
    std::unique_ptr<CSurface> picture = CreateSurface(5, 3);
    for (int p = 0; p < 15; ++p)
        picture->SetPixel(p % 5, p / 5,
                          p % 5 == 4 || p / 5 == 2 ? Rgba(0, 255, 255, 255)
                                                   : Rgba(255, 255, 0, 255));
    const CTexture small = TextureOf(picture);
    DrawQuad(&small, 300, 0, 400, 400, &white, 0.0f, false);
    EXPECT_TRUE(Shows(302, 2, Rgba(255, 255, 0, 0))) << "the top left";
    EXPECT_TRUE(Shows(697, 397, Rgba(0, 255, 255, 0))) << "the bottom right";
}

// A picture reaches GL enlarged to powers of two, copied unblended even with per-surface alpha
// on, and keeps its alpha settings (whose stored values differ between the two libraries).
TEST(TextureGl, UploadsEnlargedKeepingAlphaSettingsAndReloadsUnderTheSameNames)
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
        const auto settings = std::make_pair(picture->flags, picture->format->alpha);
        unsigned int name = 0;
        float uv[4] = {};
        ASSERT_TRUE(MakeTexture(picture, name, uv));
        EXPECT_EQ(std::make_pair(picture->flags, picture->format->alpha), settings);
        SDL_FreeSurface(picture);
        EXPECT_EQ(std::vector<float>(uv, uv + 4),
                  (std::vector<float>{0, 0, 33.0f / 64, 20.0f / 32}));
        std::vector<uint32_t> texels(64 * 32);
        glBindTexture(GL_TEXTURE_2D, name);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_EQ(texels[7 * 64 + 5], Rgba(35, 84, 99, ownAlpha ? 128 : 255));
        const uint32_t cornerTexel = Rgba(1, 2, 3, ownAlpha ? 128 : 255); // and its copies
        EXPECT_EQ((std::vector<uint32_t>{texels[19 * 64 + 32], texels[19 * 64 + 33],
                                         texels[20 * 64 + 32], texels[20 * 64 + 33]}),
                  std::vector<uint32_t>(4, cornerTexel));
    }

    // A mode change may come with a new GL context and none of the old textures (Windows);
    // every cached picture then goes up again under the name its records hold.
    const CTexture* title = GetTexture("data/gfx/title_screen.jpg");
    const CTexture* note = GetTexture("data/gfx/black_hole_01.png");
    ASSERT_NE(title, nullptr);
    ASSERT_NE(note, nullptr);
    auto texels = [](const CTexture* t)
    {
        std::vector<uint32_t> data(NextPowerOfTwo(t->m_Width) * NextPowerOfTwo(t->m_Height));
        glBindTexture(GL_TEXTURE_2D, t->m_Name);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, data.data());
        return data;
    };
    const std::vector<uint32_t> titleBefore = texels(title), noteBefore = texels(note);
    const unsigned int names[2] = {title->m_Name, note->m_Name};
    glDeleteTextures(2, names);
    ASSERT_FALSE(glIsTexture(names[0]));
    ASSERT_FALSE(glIsTexture(names[1]));
    EXPECT_GE(ReloadTextures(), 2);
    EXPECT_TRUE(glIsTexture(names[0]));
    EXPECT_TRUE(glIsTexture(names[1]));
    EXPECT_TRUE(texels(title) == titleBefore) << "the title's texels";
    EXPECT_TRUE(texels(note) == noteBefore) << "the note's texels";
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
}
