#include "TestPictures.h"
#include "canvas/Background.h"
#include "canvas/BlendMode.h"
#include "canvas/Color.h"

TEST(Surface, PointsOutsideReadZeroAndIgnoreWrites)
{
    CSurface empty;
    empty.SetPixel(0, 0, 1); // must not crash
    EXPECT_FALSE(TestPixel({0, 0}, {0, 0}, empty, ~0u));
    std::unique_ptr<CSurface> s = MakeSurface(2, 1, {7, 9});
    for (const CPoint p : {CPoint{-1, 0}, CPoint{2, 0}, CPoint{0, -1}, CPoint{0, 1}})
    {
        s->SetPixel(p.x, p.y, ~0u);
        EXPECT_EQ(s->GetPixel(p.x, p.y), 0u);
    }
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
        EXPECT_TRUE(f->BytesPerPixel == 4 && f->Rmask == CColor::kRedMask &&
                    f->Gmask == CColor::kGreenMask && f->Bmask == CColor::kBlueMask &&
                    f->Amask == CColor::kAlphaMask && s.Pitch() >= 4 * s.Width());
    };
    std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
    expectCanvasFormat(*canvas);
    canvas->SetPixel(31, 23, 0x80402010u);
    EXPECT_TRUE(canvas->GetPixel(31, 23) == 0x80402010u && canvas->GetPixel(30, 23) == 0);

    const CTempDir folder;
    const std::vector<uint8_t> palette = {10, 20, 30, 200, 100, 50};
    const uint32_t first = Rgba(10, 20, 30, 255), second = Rgba(200, 100, 50, 255);
    struct
    {
        const char* name;
        char type;
        std::vector<uint8_t> pixels, transparency; // two pixels
        uint32_t first, second;
    } const cases[] = {
        {"paletted", 3, {0, 1}, {}, first, second},
        {"colour key", 3, {0, 1}, {0}, 0, second},
        {"translucent palette", 3, {0, 1}, {128, 255}, Rgba(10, 20, 30, 128), second},
        {"grey", 0, {0, 77}, {}, Rgba(0, 0, 0, 255), Rgba(77, 77, 77, 255)},
        {"grey key", 0, {77, 200}, {0, 77}, 0, Rgba(200, 200, 200, 255)},
        {"grey alpha", 4, {77, 128, 9, 0}, {}, Rgba(77, 77, 77, 128), Rgba(9, 9, 9, 0)},
        {"rgb", 2, {1, 2, 3, 250, 251, 252}, {}, Rgba(1, 2, 3, 255), 0xFFFCFBFAu},
        {"rgba", 6, {1, 2, 3, 4, 5, 6, 7, 0}, {}, Rgba(1, 2, 3, 4), Rgba(5, 6, 7, 0)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = folder / (std::string(c.name) + ".png");
        WritePng(path, 2, c.type, c.pixels, c.type == 3 ? palette : std::vector<uint8_t>{},
                 c.transparency);
        std::unique_ptr<CSurface> s = LoadSurface(path);
        expectCanvasFormat(*s);
        EXPECT_TRUE(s->Width() == 2 && s->GetPixel(0, 0) == c.first &&
                    s->GetPixel(1, 0) == c.second)
            << std::hex << s->GetPixel(0, 0) << " " << s->GetPixel(1, 0);
    }
    EXPECT_EQ(LoadSurface(folder / "missing.png")->Sdl(), nullptr);
    SDL_Quit();
}

TEST(BlendMode, NormalAndScreenResults)
{
    struct
    {
        int kind;
        CColor src, dst, expected;
    } const cases[] = {
        {1, {1, 1, 1, 0}, {0.2f, 0.4f, 0.6f, 0.3f}, {0.2f, 0.4f, 0.6f, 0.3f}}, // transparent
        {1, {1, 0.5f, 0, 0.5f}, {0, 1, 0.5f, 0}, {0.5f, 0.75f, 0.25f, 0.5f}},
        {1, {0, 0, 0, 0.75f}, {1, 1, 1, 0.75f}, {0.25f, 0.25f, 0.25f, 1}}, // alpha sum <= 1
        {1, {0, 0, 0, -0.5f}, {0, 0, 0, 0.25f}, {0, 0, 0, 0}},             // alpha sum >= 0
        {2, {0, 0, 0, 1}, {0.5f, 1, 0.25f, 0.5f}, {0.25f, 0.5f, 0.125f, 1}},
        {2, {1, 0.5f, 0, 0.5f}, {0.5f, 0.5f, 0.5f, 1}, {0.75f, 0.625f, 0.5f, 1}},
    };
    for (const auto& c : cases)
    {
        CColor out(9, 9, 9, 9);
        EXPECT_EQ(&GetBlendMode(c.kind)->Blend(out, c.src, c.dst), &out);
        EXPECT_EQ(out, c.expected) << c.kind << " " << c.src.r << " " << c.dst.r;
    }
    EXPECT_TRUE(GetBlendMode(0) == nullptr && GetBlendMode(3) == nullptr);
}

// Without rectangles the common top-left area is blended once (a half-transparent tint twice
// would give other bytes); an unknown mode blends as normal, and the tint modulates.
TEST(Blit, WithoutRectanglesBlendsTheCommonTopLeftOnceWithTheTint)
{
    std::unique_ptr<CSurface> src = FilledSurface(10, 10, Rgba(255, 255, 255, 255));
    std::unique_ptr<CSurface> canvas = FilledSurface(32, 24, Rgba(0, 0, 0, 255));
    Blit(src.get(), nullptr, canvas.get(), nullptr, GetBlendMode(3), CColor(1, 0.5f, 0, 0.5f));
    for (int p = 0; p < 32 * 24; ++p)
        ASSERT_EQ(canvas->GetPixel(p % 32, p / 32),
                  p % 32 < 10 && p / 32 < 10 ? Rgba(127, 63, 0, 255) : Rgba(0, 0, 0, 255))
            << p;
    Blit(nullptr, nullptr, canvas.get(), nullptr, nullptr, CColor(1, 1, 1, 1)); // nothing to draw
    Blit(src.get(), nullptr, nullptr, nullptr, nullptr, CColor(1, 1, 1, 1));
}

// Half way toward dark blue; a pixel with alpha 0 or at least 0.9 counts as opaque.
TEST(FadeCanvas, PullsHalfWayTowardDarkBlue)
{
    const uint32_t cases[][2] = {
        {Rgba(255, 255, 255, 255), Rgba(127, 138, 215, 255)},
        {Rgba(0, 0, 0, 0), Rgba(0, 10, 87, 255)},
        {Rgba(0, 0, 0, 229), Rgba(0, 10, 87, 242)},
        {Rgba(0, 0, 0, 230), Rgba(0, 10, 87, 255)},
    };
    for (const auto& c : cases)
    {
        std::unique_ptr<CSurface> one = FilledSurface(1, 1, c[0]);
        FadeCanvas(one.get());
        EXPECT_EQ(one->GetPixel(0, 0), c[1]) << std::hex << c[0];
    }
}

// The star layer's pixels name their own column and row; pixels on its diagonal stripes are
// fully transparent and must let the faded canvas show.
TEST(DrawBackground, TilesTheStarLayerAtTheScrollOffset)
{
    struct
    {
        int w, h;
        CVector2 scroll;
        int x0, y0; // expected corner of the first tile
    } const cases[] = {
        {32, 24, {-10.7f, 0}, -10, 0}, {32, 24, {5, 0}, -27, 0}, {32, 24, {-33, -3.2f}, -1, -3},
        {40, 30, {-45, 7}, -5, -23},   {20, 12, {0, 0}, 0, 0}, // too small: rows 12+ bare
        {32, 24, {-3e9f, 0}, 0, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.w << " at " << c.scroll.x << "," << c.scroll.y);
        std::vector<uint32_t> layer;
        for (int i = 0; i < c.w * c.h; ++i)
            layer.push_back((i % c.w + i / c.w) % 7 ? Rgba(i % c.w, i / c.w, 200, 255) : 0);
        std::unique_ptr<CSurface> canvas = FilledSurface(32, 24, Rgba(0, 0, 0, 255));
        DrawBackground(canvas.get(), MakeSurface(c.w, c.h, layer).get(), &c.scroll);
        // Two tiles side by side, and a second row of two only when y0 is not 0.
        for (int p = 0; p < 32 * 24; ++p)
        {
            const int lx = p % 32 - c.x0, ly = p / 32 - c.y0;
            const uint32_t star = layer[(ly % c.h) * c.w + lx % c.w];
            const bool shown = lx < 2 * c.w && ly < (c.y0 ? 2 : 1) * c.h && star != 0;
            ASSERT_EQ(canvas->GetPixel(p % 32, p / 32), shown ? star : Rgba(0, 10, 87, 255)) << p;
        }
    }
}

// A star picture that failed to load used to divide by its zero width.
TEST(DrawBackground, EmptyStarLayerOnlyFades)
{
    const CVector2 scroll(-7.5f, 3.0f);
    const CSurface empty;
    for (const CSurface* layer : {&empty, static_cast<const CSurface*>(nullptr)})
    {
        std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
        DrawBackground(canvas.get(), layer, &scroll);
        for (int i = 0; i < 32 * 24; ++i)
            ASSERT_EQ(canvas->GetPixel(i % 32, i / 32), Rgba(0, 10, 87, 255)) << i;
    }
}
