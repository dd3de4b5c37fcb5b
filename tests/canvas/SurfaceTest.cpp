#include <gtest/gtest.h>

#include <SDL.h>

#include "TestPictures.h"
#include "canvas/Color.h"
#include "canvas/Surface.h"

TEST(Color, PackingIsFixedAndWrapsWithoutClamping)
{
    const CColor red = CColor::FromPixel(Rgba(255, 0, 0, 255));
    EXPECT_EQ(red, CColor(1, 0, 0, 1));
    EXPECT_EQ(CColor(1, 0.5f, 0, 1).ToPixel(), Rgba(255, 127, 0, 255));

    struct
    {
        float channel;
        uint32_t stored;
    } const wraps[] = {{1.004f, 0}, {1.01f, 1}, {-0.001f, 0}, {-0.5f, 129}, {0.999f, 254}};
    for (const auto& w : wraps)
    {
        SCOPED_TRACE(w.channel);
        EXPECT_EQ(CColor(w.channel, w.channel, w.channel, w.channel).ToPixel(),
                  Rgba(w.stored, w.stored, w.stored, w.stored));
    }
    // Every byte reads as byte / 255 and survives a read and a write unchanged.
    for (uint32_t v = 0; v < 256; ++v)
    {
        const uint32_t pixel = Rgba(v, 255 - v, v ^ 0x5A, v);
        ASSERT_EQ(CColor::FromPixel(pixel).ToPixel(), pixel) << v;
        volatile float divisor = 255.0f; // divided at run time, not by the compiler
        ASSERT_EQ(CColor::FromPixel(pixel).r, static_cast<float>(v) / divisor) << v;
    }
}

TEST(Surface, NullAndOutOfRangeReadZeroAndIgnoreWrites)
{
    CSurface empty;
    EXPECT_EQ(empty.GetPixel(0, 0), 0u);
    empty.SetPixel(0, 0, 1); // must not crash
    EXPECT_FALSE(TestPixel({0, 0}, {0, 0}, empty, ~0u));

    std::unique_ptr<CSurface> s = MakeSurface(2, 1, {7, 9});
    for (const CPoint p : {CPoint{-1, 0}, CPoint{2, 0}, CPoint{0, -1}, CPoint{0, 1}})
    {
        s->SetPixel(p.x, p.y, 0xFFFFFFFFu);
        EXPECT_EQ(s->GetPixel(p.x, p.y), 0u);
    }
    EXPECT_EQ(s->GetPixel(0, 0), 7u);
    EXPECT_EQ(s->GetPixel(1, 0), 9u);
    EXPECT_TRUE(TestPixel({11, 5}, {10, 5}, *s, ~0u));
    EXPECT_FALSE(TestPixel({11, 5}, {10, 5}, *s, 0x6u)); // 9 & 6 == 0
    EXPECT_FALSE(TestPixel({12, 5}, {10, 5}, *s, ~0u));
}

namespace
{
void ExpectCanvasFormat(const CSurface& s)
{
    ASSERT_NE(s.Sdl(), nullptr);
    const SDL_PixelFormat* f = s.Sdl()->format;
    EXPECT_EQ(f->BytesPerPixel, 4);
    EXPECT_EQ(f->Rmask, CColor::kRedMask);
    EXPECT_EQ(f->Gmask, CColor::kGreenMask);
    EXPECT_EQ(f->Bmask, CColor::kBlueMask);
    EXPECT_EQ(f->Amask, CColor::kAlphaMask);
    EXPECT_GE(s.Pitch(), 4 * s.Width());
}
} // namespace

// The desktop's depth used to decide the canvas's: a 16-bit desktop gave 2-byte pixels that
// the 4-byte pixel code then overran.
TEST(Surface, SixteenBitDesktopStillGivesFourBytePixels)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_NE(SDL_SetVideoMode(64, 48, 16, SDL_SWSURFACE), nullptr) << SDL_GetError();
    ASSERT_EQ(SDL_GetVideoSurface()->format->BytesPerPixel, 2); // the trap is really set

    std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
    ExpectCanvasFormat(*canvas);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(canvas->GetPixel(x, y), 0u);
    canvas->SetPixel(31, 23, 0x80402010u);
    EXPECT_EQ(CColor::FromPixel(canvas->GetPixel(31, 23)).ToPixel(), 0x80402010u);

    CTempDir folder;
    WritePng(folder / "rgb.png", 1, 1, kPngRgb, {1, 2, 3});
    std::unique_ptr<CSurface> picture = LoadSurface(folder / "rgb.png");
    ExpectCanvasFormat(*picture);
    EXPECT_EQ(picture->GetPixel(0, 0), Rgba(1, 2, 3, 255));
    SDL_Quit();
}

TEST(Surface, EveryPictureKindLoadsInTheCanvasPacking)
{
    CTempDir folder;
    const std::vector<uint8_t> palette = {10, 20, 30, 200, 100, 50};
    struct
    {
        const char* name;
        EPngType type;
        std::vector<uint8_t> pixels; // two pixels
        std::vector<uint8_t> transparency;
        uint32_t first, second;
    } const cases[] = {
        {"paletted", kPngPaletted, {0, 1}, {}, Rgba(10, 20, 30, 255), Rgba(200, 100, 50, 255)},
        // One fully transparent entry becomes a colour key, which must turn into alpha 0.
        {"colour key", kPngPaletted, {0, 1}, {0}, 0, Rgba(200, 100, 50, 255)},
        {"translucent palette",
         kPngPaletted,
         {0, 1},
         {128, 255},
         Rgba(10, 20, 30, 128),
         Rgba(200, 100, 50, 255)},
        {"grey", kPngGrey, {0, 77}, {}, Rgba(0, 0, 0, 255), Rgba(77, 77, 77, 255)},
        {"grey key", kPngGrey, {0, 77}, {0, 77}, Rgba(0, 0, 0, 255), 0},
        {"grey alpha",
         kPngGreyAlpha,
         {77, 128, 255, 0},
         {},
         Rgba(77, 77, 77, 128),
         Rgba(255, 255, 255, 0)},
        {"rgb",
         kPngRgb,
         {1, 2, 3, 250, 251, 252},
         {},
         Rgba(1, 2, 3, 255),
         Rgba(250, 251, 252, 255)},
        {"rgba", kPngRgba, {1, 2, 3, 4, 5, 6, 7, 0}, {}, Rgba(1, 2, 3, 4), Rgba(5, 6, 7, 0)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = folder / (std::string(c.name) + ".png");
        WritePng(path, 2, 1, c.type, c.pixels,
                 c.type == kPngPaletted ? palette : std::vector<uint8_t>{}, c.transparency);
        std::unique_ptr<CSurface> s = LoadSurface(path);
        ExpectCanvasFormat(*s);
        EXPECT_EQ(s->Width(), 2);
        EXPECT_EQ(s->GetPixel(0, 0), c.first);
        EXPECT_EQ(s->GetPixel(1, 0), c.second);
    }

    std::unique_ptr<CSurface> missing = LoadSurface(folder / "missing.png");
    EXPECT_EQ(missing->Sdl(), nullptr);
    EXPECT_EQ(missing->Width(), 0);
}
