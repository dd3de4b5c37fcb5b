#include <algorithm>
#include <cstdio>

#include "TestPictures.h"
#include "canvas/Sprite.h"

namespace
{
constexpr uint32_t kRed = Rgba(255, 0, 0, 255);

int CountPixels(const CSurface& canvas, uint32_t pixel)
{
    int count = 0;
    for (int i = 0; i < canvas.Width() * canvas.Height(); ++i)
        count += canvas.GetPixel(i % canvas.Width(), i / canvas.Width()) == pixel;
    return count;
}

/// Every test leaves the process-wide list as it found it. A missing file registers a
/// sprite with an empty picture.
class SpriteTest : public testing::Test
{
protected:
    void TearDown() override
    {
        while (!SpriteList().empty())
            RemoveSprite(SpriteList().front());
    }
    CSprite* MakeSprite(int w, int h)
    {
        CSprite* sprite = CreateSprite("data/gfx/no-such-picture.png");
        sprite->SetImage(FilledSurface(w, h, kRed));
        return sprite;
    }
    std::unique_ptr<CSurface> m_Canvas = CreateSurface(32, 24);
};
} // namespace

// Strict on every side: a sprite that only touches the view's edge is not drawn, nor is its
// draw time stamped; a drawn one is clipped to the canvas pixel by pixel. The view's corner
// is the canvas's in the world.
TEST_F(SpriteTest, DrawnWhenItOverlapsTheViewAndClippedToIt)
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
}

// Removal finds a sprite by its address: one removed before, or never registered, is left
// alone (not freed twice, not freed at all).
TEST_F(SpriteTest, HiddenDisabledAndEmptySpritesDrawNothingAndRemovalIsByAddress)
{
    MakeSprite(1, 1)->m_Hidden = true;
    MakeSprite(1, 1)->m_Disabled = true;
    MakeSprite(1, 1)->SetImage(nullptr);
    CSprite* missing = CreateSprite("data/gfx/no-such-picture.png");
    EXPECT_EQ(missing->m_W + missing->m_H + missing->Image()->Width(), 0);
    const CRect view = {0, 0, 32, 24};
    DrawSprites(m_Canvas.get(), &view);
    EXPECT_EQ(CountPixels(*m_Canvas, 0), 32 * 24);
    RemoveSprite(missing);
    RemoveSprite(missing);
    RemoveSprite(nullptr);
    CSprite loose;
    RemoveSprite(&loose);
    EXPECT_EQ(SpriteList().size(), 3u);
}

// Drawn in the order that appending and a stable sort by depth at each creation give; the
// game sets depths (100 at first) right after creation, so the list may be out of order
// until the draw.
TEST_F(SpriteTest, DrawOrderIsByDepthThenCreation)
{
    CSprite* a = MakeSprite(1, 1);
    a->m_Depth = 200;
    CSprite* b = MakeSprite(1, 1); // goes before a, then is set deeper than it
    b->m_Depth = 300;
    CSprite* c = MakeSprite(1, 1);
    CSprite* d = MakeSprite(1, 1);
    d->m_Depth = 200;
    const CRect view = {0, 0, 32, 24};
    DrawSprites(m_Canvas.get(), &view);
    EXPECT_EQ(std::vector<CSprite*>(SpriteList().begin(), SpriteList().end()),
              (std::vector<CSprite*>{c, d, a, b}));
}

// A picture is decoded once and shared; a changed file is decoded anew, and sprites made
// before keep the picture they had.
TEST_F(SpriteTest, PicturesSharedUntilTheFileChanges)
{
    const CTempDir folder;
    const std::string path = folder / "dot.png";
    WritePng(path, 1, 2, {10, 20, 30});
    CSprite* first = CreateSprite(path);
    EXPECT_EQ(first->Image(), CreateSprite(path)->Image());
    WritePng(path, 2, 2, {40, 50, 60, 70, 80, 90}); // rewritten in place
    CSprite* rewritten = CreateSprite(path);
    EXPECT_TRUE(rewritten->m_W == 2 && rewritten->Image()->GetPixel(0, 0) == Rgba(40, 50, 60, 255));
    EXPECT_EQ(first->Image()->GetPixel(0, 0), Rgba(10, 20, 30, 255));
}

TEST(Sprite, CentringRule)
{
    struct
    {
        float centre;
        int size, corner;
    } const cases[] = {
        {10.0f, 3, 8},
        {10.0f, 4, 8},
        {10.4f, 1, 9},
        {10.5f, 1, 10},
        {-1.3f, 1, -1}, // -0.8 truncates to 0, not -1
        {3e9f, 1, (1 << 30) - 1},
        {-3e9f, 1, -(1 << 30) - 1}, // saturated, not undefined
    };
    for (const auto& c : cases)
        EXPECT_EQ(CentredCorner(c.centre, c.size), c.corner) << c.centre << " size " << c.size;
}
