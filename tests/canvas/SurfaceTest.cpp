#include <SDL.h>

#include "TestPictures.h"
#include "canvas/Color.h"

TEST(Surface, PointsOutsideReadZeroAndIgnoreWrites)
{
    CSurface empty;
    empty.SetPixel(0, 0, 1); // must not crash
    EXPECT_EQ(empty.GetPixel(0, 0), 0u);
    EXPECT_FALSE(TestPixel({0, 0}, {0, 0}, empty, ~0u));

    std::unique_ptr<CSurface> s = MakeSurface(2, 1, {7, 9});
    for (const CPoint p : {CPoint{-1, 0}, CPoint{2, 0}, CPoint{0, -1}, CPoint{0, 1}})
    {
        s->SetPixel(p.x, p.y, ~0u);
        EXPECT_EQ(s->GetPixel(p.x, p.y), 0u);
    }
    EXPECT_EQ(s->GetPixel(0, 0), 7u);
    EXPECT_EQ(s->GetPixel(1, 0), 9u);
    // TestPixel takes a point in the frame where the surface's corner is at `origin`.
    EXPECT_TRUE(TestPixel({11, 5}, {10, 5}, *s, ~0u));
    EXPECT_FALSE(TestPixel({11, 5}, {10, 5}, *s, 0x6u)); // 9 & 6 == 0
    EXPECT_FALSE(TestPixel({12, 5}, {10, 5}, *s, ~0u));
}

// The desktop's depth used to decide the canvas's: a 16-bit desktop gave 2-byte pixels that
// the 4-byte pixel code then overran. Every PNG colour type must load the same on the classic
// SDL 1.2 and on sdl12-compat; a keyed pixel is pixel 0, as the hit tests count any non-zero
// pixel as solid.
TEST(Surface, EveryPictureKindLoadsInTheCanvasPackingOnASixteenBitDesktop)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_NE(SDL_SetVideoMode(64, 48, 16, SDL_SWSURFACE), nullptr) << SDL_GetError();
    ASSERT_EQ(SDL_GetVideoSurface()->format->BytesPerPixel, 2); // the trap is really set
    auto expectCanvasFormat = [](const CSurface& s)
    {
        ASSERT_NE(s.Sdl(), nullptr);
        const SDL_PixelFormat* f = s.Sdl()->format;
        EXPECT_EQ(f->BytesPerPixel, 4);
        EXPECT_TRUE(f->Rmask == CColor::kRedMask && f->Gmask == CColor::kGreenMask &&
                    f->Bmask == CColor::kBlueMask && f->Amask == CColor::kAlphaMask);
        EXPECT_GE(s.Pitch(), 4 * s.Width());
    };
    std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
    expectCanvasFormat(*canvas);
    canvas->SetPixel(31, 23, 0x80402010u);
    for (int i = 0; i < 32 * 24; ++i)
        ASSERT_EQ(canvas->GetPixel(i % 32, i / 32), i == 32 * 24 - 1 ? 0x80402010u : 0u) << i;

    const CTempDir folder;
    const std::vector<uint8_t> palette = {10, 20, 30, 200, 100, 50};
    const uint32_t first = Rgba(10, 20, 30, 255), second = Rgba(200, 100, 50, 255);
    struct
    {
        const char* name;
        EPngType type;
        std::vector<uint8_t> pixels, transparency; // two pixels
        uint32_t first, second;
    } const cases[] = {
        {"paletted", kPngPaletted, {0, 1}, {}, first, second},
        {"colour key", kPngPaletted, {0, 1}, {0}, 0, second},
        {"translucent palette", kPngPaletted, {0, 1}, {128, 255}, Rgba(10, 20, 30, 128), second},
        {"grey", kPngGrey, {0, 77}, {}, Rgba(0, 0, 0, 255), Rgba(77, 77, 77, 255)},
        {"grey key", kPngGrey, {77, 200}, {0, 77}, 0, Rgba(200, 200, 200, 255)},
        {"grey alpha", kPngGreyAlpha, {77, 128, 9, 0}, {}, Rgba(77, 77, 77, 128), Rgba(9, 9, 9, 0)},
        {"rgb", kPngRgb, {1, 2, 3, 250, 251, 252}, {}, Rgba(1, 2, 3, 255), 0xFFFCFBFAu},
        {"rgba", kPngRgba, {1, 2, 3, 4, 5, 6, 7, 0}, {}, Rgba(1, 2, 3, 4), Rgba(5, 6, 7, 0)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = folder / (std::string(c.name) + ".png");
        WritePng(path, 2, 1, c.type, c.pixels,
                 c.type == kPngPaletted ? palette : std::vector<uint8_t>{}, c.transparency);
        std::unique_ptr<CSurface> s = LoadSurface(path);
        expectCanvasFormat(*s);
        EXPECT_EQ(s->Width(), 2);
        EXPECT_EQ(s->GetPixel(0, 0), c.first);
        EXPECT_EQ(s->GetPixel(1, 0), c.second);
    }
    EXPECT_EQ(LoadSurface(folder / "missing.png")->Sdl(), nullptr);
    SDL_Quit();
}
