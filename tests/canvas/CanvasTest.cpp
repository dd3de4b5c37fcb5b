#include <algorithm>
#include <fstream>

#include "PngWriter.h"
#include "Support.h"
#include "canvas/Background.h"
#include "canvas/BlendMode.h"
#include "canvas/Color.h"
#include "canvas/Sprite.h"

namespace
{
/// A canvas-format surface whose pixels are `pixels`, row by row.
inline std::unique_ptr<CSurface> MakeSurface(int w, int h, const std::vector<uint32_t>& pixels)
{
    std::unique_ptr<CSurface> surface = CreateSurface(w, h);
    for (int i = 0; i < w * h; ++i)
        surface->SetPixel(i % w, i / w, pixels[static_cast<size_t>(i)]);
    return surface;
}

constexpr uint32_t kRed = Rgba(255, 0, 0, 255);

/// A registered sprite with a w x h red picture (a missing file registers an empty one).
CSprite* MakeSprite(int w, int h)
{
    CSprite* sprite = CreateSprite("data/gfx/no-such-picture.png");
    sprite->SetImage(FilledSurface(w, h, kRed));
    return sprite;
}
} // namespace

// A 16-bit desktop once gave 2-byte pixels that the 4-byte pixel code overran. PNGs load alike
// on both SDL 1.2 libraries; a keyed pixel is 0, as the hit tests count non-zero as solid.
TEST(Surface, EveryPictureKindLoadsInTheCanvasPackingOnASixteenBitDesktop)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_NE(SDL_SetVideoMode(64, 48, 16, SDL_SWSURFACE), nullptr) << SDL_GetError();
    ASSERT_EQ(SDL_GetVideoSurface()->format->BytesPerPixel, 2); // the trap is really set
    std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
    const SDL_PixelFormat* f = canvas->Sdl()->format;
    EXPECT_EQ((std::vector<uint32_t>{f->BytesPerPixel, f->Rmask, f->Gmask, f->Bmask, f->Amask,
                                     uint32_t(canvas->Pitch())}),
              (std::vector<uint32_t>{4, CColor::kRedMask, CColor::kGreenMask, CColor::kBlueMask,
                                     CColor::kAlphaMask, 4 * 32}));
    // The hit tests read pixels at any point of a picture's rectangle and beyond: outside, 0.
    for (const CPoint p :
         {CPoint{-1, 0}, CPoint{32, 0}, CPoint{0, -1}, CPoint{0, 24}, CPoint{31, 23}})
        canvas->SetPixel(p.x, p.y, 0x80402010u);
    EXPECT_EQ(PixelsAt(*canvas, {{31, 23}, {32, 23}, {31, 24}, {0, 1}}),
              (std::vector<uint32_t>{0x80402010u, 0, 0, 0}));
    CSurface().SetPixel(0, 0, 1); // no picture: must not crash

    const CTempDir folder;
    const std::vector<uint8_t> palette = {10, 20, 30, 200, 100, 50};
    struct
    {
        const char* name;
        char type;
        std::vector<uint8_t> pixels, transparency; // two pixels
        uint32_t first, second;
    } const cases[] = {
        {"colour key", 3, {0, 1}, {0}, 0, Rgba(200, 100, 50, 255)},
        {"translucent", 3, {0, 1}, {128, 255}, Rgba(10, 20, 30, 128), Rgba(200, 100, 50, 255)},
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
        std::unique_ptr<CSurface> s = LoadSurface(path); // read as 4-byte words
        ASSERT_NE(s->Sdl(), nullptr);
        ASSERT_EQ(s->Sdl()->format->BytesPerPixel, 4);
        EXPECT_EQ(s->Width(), 2);
        EXPECT_EQ(PixelsAt(*s, {{0, 0}, {1, 0}}), (std::vector<uint32_t>{c.first, c.second}));
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
        {1, {1, 0.5f, 0, 0.5f}, {0, 1, 0.5f, 0}, {0.5f, 0.75f, 0.25f, 0.5f}},
        {1, {0, 0, 0, 0.75f}, {1, 1, 1, 0.75f}, {0.25f, 0.25f, 0.25f, 1}}, // alpha sum <= 1
        {1, {0, 0, 0, -0.5f}, {0, 0, 0, 0.25f}, {0, 0, 0, 0}},             // alpha sum >= 0
        {2, {0, 0, 0, 1}, {0.5f, 1, 0.25f, 0.5f}, {0.25f, 0.5f, 0.125f, 1}},
        {2, {1, 0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f, 1}, {0.75f, 0.625f, 0.625f, 1}},
    };
    for (const auto& c : cases)
    {
        CColor out(9, 9, 9, 9);
        EXPECT_EQ(&GetBlendMode(c.kind)->Blend(out, c.src, c.dst), &out);
        EXPECT_EQ(out, c.expected) << c.kind << " " << c.src.r << " " << c.dst.r;
    }
    for (const int unknown : {0, 3})
        EXPECT_EQ(GetBlendMode(unknown), nullptr) << unknown;
}

// Stars name their column and row, clear stripes show the fade; 2 tiles a row, 2 rows if y0.
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
        for (int p = 0; p < 32 * 24; ++p)
        {
            const int lx = p % 32 - c.x0, ly = p / 32 - c.y0;
            const uint32_t star = layer[(ly % c.h) * c.w + lx % c.w];
            const bool shown = lx < 2 * c.w && ly < (c.y0 ? 2 : 1) * c.h && star != 0;
            ASSERT_EQ(canvas->GetPixel(p % 32, p / 32), shown ? star : Rgba(0, 10, 87, 255)) << p;
        }
    }
}

// A star picture that failed to load used to divide by its zero width: the fade alone
// remains, half way toward dark blue; a pixel of alpha 0 or at least 0.9 counts as opaque.
TEST(DrawBackground, EmptyStarLayerOnlyFades)
{
    const CVector2 scroll(-7.5f, 3.0f);
    const CSurface empty;
    for (const CSurface* layer : {&empty, static_cast<const CSurface*>(nullptr)})
    {
        std::unique_ptr<CSurface> canvas = MakeSurface(
            4, 1, {Rgba(255, 255, 255, 255), 0, Rgba(0, 0, 0, 229), Rgba(0, 0, 0, 230)});
        DrawBackground(canvas.get(), layer, &scroll);
        EXPECT_EQ(PixelsAt(*canvas, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}),
                  (std::vector<uint32_t>{Rgba(127, 138, 215, 255), Rgba(0, 10, 87, 255),
                                         Rgba(0, 10, 87, 242), Rgba(0, 10, 87, 255)}))
            << (layer ? "an empty picture" : "no picture");
    }
}

// A sprite only touching the view's edge is neither drawn nor stamped; a drawn one is clipped
// to the canvas pixel by pixel. The view's corner is the canvas's in the world.
TEST(Sprite, DrawnWhenItOverlapsTheViewAndClippedToIt)
{
    CSprite* s = MakeSprite(4, 2);
    const CRect view = {32, 10, 32, 24};
    for (int x = -5; x <= 33; ++x)
        for (int y = -3; y <= 25; ++y)
        {
            std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
            s->m_X = view.x + x;
            s->m_Y = view.y + y;
            s->m_LastDrawTime = 0xDEADBEEFu;
            s->Draw(canvas.get(), &view);
            const int columns = std::max(0, std::min(x + 4, 32) - std::max(x, 0));
            const int shown = columns * std::max(0, std::min(y + 2, 24) - std::max(y, 0));
            ASSERT_EQ(CountPixels(*canvas, kRed), shown) << x << "," << y;
            ASSERT_EQ(s->m_LastDrawTime != 0xDEADBEEFu, shown > 0) << x << "," << y;
        }
    RemoveSprite(s);
}

// Hidden, disabled and empty sprites draw nothing. The order is a stable sort by depth (100 at
// first, set later: out of order until the draw). Removal by address; unknown ones are left.
TEST(Sprite, DrawsVisibleSpritesByDepthThenCreationAndRemovesByAddress)
{
    CSprite* a = MakeSprite(1, 1);
    a->m_Hidden = true;
    a->m_Depth = 200;
    CSprite* b = MakeSprite(1, 1); // goes before a, then is set deeper than it
    b->m_Disabled = true;
    b->m_Depth = 300;
    CSprite* c = CreateSprite("data/gfx/no-such-picture.png");
    EXPECT_EQ(c->m_W + c->m_H + c->Image()->Width(), 0);
    CSprite* d = MakeSprite(1, 1);
    d->SetImage(nullptr);
    d->m_Depth = 200;
    std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
    const CRect view = {0, 0, 32, 24};
    DrawSprites(canvas.get(), &view);
    EXPECT_EQ(CountPixels(*canvas, 0), 32 * 24);
    EXPECT_EQ(std::vector<CSprite*>(SpriteList().begin(), SpriteList().end()),
              (std::vector<CSprite*>{c, d, a, b}));
    RemoveSprite(c);
    RemoveSprite(c);
    RemoveSprite(nullptr);
    CSprite loose;
    RemoveSprite(&loose);
    EXPECT_EQ(SpriteList().size(), 3u);
    for (CSprite* left : {a, b, d})
        RemoveSprite(left);
}
