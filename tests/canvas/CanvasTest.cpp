#include <algorithm>

#include "PngWriter.h"
#include "Support.h"
#include "canvas/Background.h"
#include "canvas/BlendMode.h"
#include "canvas/Sprite.h"

namespace
{
constexpr uint32_t kRed = Rgba(255, 0, 0, 255);

/// A registered sprite with a w x h red picture (a missing file registers an empty one).
CSprite* MakeSprite(int w, int h)
{
    CSprite* sprite = CreateSprite("data/gfx/no-such-picture.png");
    sprite->SetImage(FilledSurface(w, h, kRed));
    return sprite;
}
} // namespace

// A 16-bit desktop once gave 2-byte pixels that the 4-byte pixel code overran. A keyed pixel
// is 0: the hit tests count non-zero as solid.
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
    using Bytes = std::vector<uint8_t>;
    const std::tuple<std::string, char, Bytes, Bytes, std::vector<uint32_t>> cases[] = {
        {"colour key", 3, {0, 1}, {0}, {0, Rgba(200, 100, 50, 255)}},
        {"translucent", 3, {0, 1}, {128, 255}, {Rgba(10, 20, 30, 128), Rgba(200, 100, 50, 255)}},
        {"grey key", 0, {77, 200}, {0, 77}, {0, Rgba(200, 200, 200, 255)}},
        {"grey alpha", 4, {77, 128, 9, 0}, {}, {Rgba(77, 77, 77, 128), Rgba(9, 9, 9, 0)}},
        {"rgb", 2, {1, 2, 3, 250, 251, 252}, {}, {Rgba(1, 2, 3, 255), 0xFFFCFBFAu}},
        {"rgba", 6, {1, 2, 3, 4, 5, 6, 7, 0}, {}, {Rgba(1, 2, 3, 4), Rgba(5, 6, 7, 0)}}};
    for (const auto& [name, type, pixels, transparency, read] : cases)
    {
        WritePng(folder / (name + ".png"), 2, type, pixels, type == 3 ? palette : Bytes{},
                 transparency);
        std::unique_ptr<CSurface> s = LoadSurface(folder / (name + ".png")); // as 4-byte words
        ASSERT_EQ(s->Sdl() ? s->Sdl()->format->BytesPerPixel : 0, 4) << name;
        EXPECT_EQ(s->Width(), 2) << name;
        EXPECT_EQ(PixelsAt(*s, {{0, 0}, {1, 0}}), read) << name;
    }
    SDL_Quit();
}

TEST(BlendMode, NormalAndScreenResults)
{
    const std::tuple<int, CColor, CColor, CColor> cases[] = {
        {1, {1, 0.5f, 0, 0.5f}, {0, 1, 0.5f, 0}, {0.5f, 0.75f, 0.25f, 0.5f}},
        {1, {0, 0, 0, 0.75f}, {1, 1, 1, 0.75f}, {0.25f, 0.25f, 0.25f, 1}}, // alpha sum <= 1
        {1, {0, 0, 0, -0.5f}, {0, 0, 0, 0.25f}, {0, 0, 0, 0}},             // alpha sum >= 0
        {2, {0, 0, 0, 1}, {0.5f, 1, 0.25f, 0.5f}, {0.25f, 0.5f, 0.125f, 1}},
        {2, {1, 0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f, 1}, {0.75f, 0.625f, 0.625f, 1}}};
    for (const auto& [kind, src, dst, expected] : cases)
    {
        CColor out(9, 9, 9, 9);
        EXPECT_EQ(&GetBlendMode(kind)->Blend(out, src, dst), &out);
        EXPECT_EQ(out, expected) << kind << " " << src.r << " " << dst.r;
    }
    for (const int unknown : {0, 3})
        EXPECT_EQ(GetBlendMode(unknown), nullptr) << unknown;
}

// Stars name their column and row, clear stripes show the fade; 2 tiles a row, 2 rows if y0.
TEST(DrawBackground, TilesTheStarLayerAtTheScrollOffsetAndAnEmptyOneOnlyFades)
{
    const std::tuple<int, int, CVector2, int, int> cases[] = {
        {32, 24, {-10.7f, 0}, -10, 0}, {32, 24, {5, 0}, -27, 0}, {32, 24, {-33, -3.2f}, -1, -3},
        {40, 30, {-45, 7}, -5, -23},   {20, 12, {0, 0}, 0, 0}, // too small: rows 12+ bare
        {32, 24, {-3e9f, 0}, 0, 0}};
    for (const auto& [w, h, scroll, x0, y0] : cases)
    {
        SCOPED_TRACE(testing::Message() << w << " at " << scroll.x << "," << scroll.y);
        std::vector<uint32_t> layer;
        for (int i = 0; i < w * h; ++i)
            layer.push_back((i % w + i / w) % 7 ? Rgba(i % w, i / w, 200, 255) : 0);
        std::unique_ptr<CSurface> canvas = FilledSurface(32, 24, Rgba(0, 0, 0, 255));
        DrawBackground(canvas.get(), MakeSurface(w, h, layer).get(), &scroll);
        for (int p = 0; p < 32 * 24; ++p)
        {
            const int lx = p % 32 - x0, ly = p / 32 - y0;
            const uint32_t star = layer[(ly % h) * w + lx % w];
            const bool shown = lx < 2 * w && ly < (y0 ? 2 : 1) * h && star != 0;
            ASSERT_EQ(canvas->GetPixel(p % 32, p / 32), shown ? star : Rgba(0, 10, 87, 255)) << p;
        }
    }

    // A star picture that failed to load used to divide by its zero width. Alpha 0 or at
    // least 0.9 counts as opaque.
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

// A sprite only touching the view's edge is neither drawn nor stamped.
TEST(Sprite, ClippedToTheViewThenDrawnByDepthAndCreationAndRemovedByAddress)
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

    // The order is a stable sort by depth (100 at first, set later: out of order until the draw).
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
    const CRect whole = {0, 0, 32, 24};
    DrawSprites(canvas.get(), &whole);
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
