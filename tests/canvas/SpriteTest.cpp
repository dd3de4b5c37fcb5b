#include <algorithm>
#include <cstdio>
#include <random>

#include "TestPictures.h"
#include "canvas/Sprite.h"

namespace
{
const CRect kView = {0, 0, 32, 24};
constexpr uint32_t kRed = Rgba(255, 0, 0, 255);

/// A registered sprite with a w x h picture of one opaque colour (a missing file registers
/// a sprite with an empty picture; this one comes after).
CSprite* MakeSprite(int w, int h, uint32_t pixel)
{
    CSprite* sprite = CreateSprite("data/gfx/no-such-picture.png");
    sprite->SetImage(FilledSurface(w, h, pixel));
    return sprite;
}

int CountPixels(const CSurface& canvas, uint32_t pixel)
{
    int count = 0;
    for (int i = 0; i < canvas.Width() * canvas.Height(); ++i)
        count += canvas.GetPixel(i % canvas.Width(), i / canvas.Width()) == pixel;
    return count;
}

/// Every test leaves the process-wide list as it found it.
class SpriteTest : public testing::Test
{
protected:
    void TearDown() override
    {
        while (!SpriteList().empty())
            RemoveSprite(SpriteList().front());
    }
    std::unique_ptr<CSurface> m_Canvas = CreateSurface(32, 24);
};
} // namespace

// Strict on every side: a sprite that only touches the view's edge is not drawn, nor is its
// draw time stamped; a drawn one is clipped to the canvas pixel by pixel. The view's corner
// is the canvas's in the world.
TEST_F(SpriteTest, DrawnWhenItOverlapsTheViewAndClippedToIt)
{
    CSprite* s = MakeSprite(4, 2, kRed);
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

TEST_F(SpriteTest, HiddenDisabledAndEmptySpritesDrawNothing)
{
    MakeSprite(1, 1, kRed)->m_Hidden = true;
    MakeSprite(1, 1, kRed)->m_Disabled = true;
    CSprite* missing = CreateSprite("data/gfx/no-such-picture.png");
    EXPECT_EQ(missing->m_W + missing->m_H + missing->Image()->Width(), 0);
    CSprite* nullImage = MakeSprite(1, 1, kRed);
    nullImage->SetImage(nullptr); // kept, with the size and source it had
    EXPECT_EQ(nullImage->m_W + nullImage->m_Source.w, 2);
    for (int x = -2; x < 34; ++x)
    {
        missing->m_X = x;
        DrawSprites(m_Canvas.get(), &kView);
    }
    EXPECT_EQ(CountPixels(*m_Canvas, 0), 32 * 24);

    // Removal finds a sprite by its address: a sprite removed before, or never registered,
    // is left alone (not freed twice, not freed at all).
    RemoveSprite(missing);
    RemoveSprite(missing);
    RemoveSprite(nullptr);
    CSprite loose;
    RemoveSprite(&loose);
    EXPECT_EQ(SpriteList().size(), 3u);
}

// Every draw shows the order that appending and a stable sort by depth at each creation
// give, with depths set right after creation (the only time anything sets one in the game).
// Checked against that reference on random sequences of creations, removals and draws.
TEST_F(SpriteTest, OrderMatchesAppendThenStableSort)
{
    auto byDepth = [](const CSprite* a, const CSprite* b) { return a->m_Depth < b->m_Depth; };
    auto drawAndCompare = [&](std::vector<CSprite*>& reference)
    {
        DrawSprites(m_Canvas.get(), &kView);
        std::stable_sort(reference.begin(), reference.end(), byDepth);
        return std::vector<CSprite*>(SpriteList().begin(), SpriteList().end()) == reference;
    };
    for (unsigned seed = 1; seed <= 20; ++seed)
    {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        std::vector<CSprite*> reference;
        for (int step = 0; step < 300; ++step)
        {
            if (random() % 3 < 2 || reference.empty())
            {
                CSprite* s = CreateSprite("data/gfx/no-such-picture.png");
                reference.push_back(s);
                std::stable_sort(reference.begin(), reference.end(), byDepth);
                if (random() % 2)
                    s->m_Depth = static_cast<int>(random() % 5) * 50;
            }
            else
            {
                const std::size_t i = random() % reference.size();
                RemoveSprite(reference[i]);
                reference.erase(reference.begin() + static_cast<std::ptrdiff_t>(i));
            }
            if (random() % 3 == 0)
            {
                ASSERT_TRUE(drawAndCompare(reference)) << "step " << step;
            }
        }
        ASSERT_TRUE(drawAndCompare(reference));
        TearDown();
    }
}

// A picture is decoded once and shared; a changed file (other size or time, or another file
// moved over the name) is decoded anew, and sprites made before keep the picture they had.
TEST_F(SpriteTest, PicturesSharedUntilTheFileChanges)
{
    const CTempDir folder;
    const std::string path = folder / "dot.png";
    WritePng(path, 1, 1, kPngRgb, {10, 20, 30});
    CSprite* first = CreateSprite(path);
    EXPECT_EQ(first->Image(), CreateSprite(path)->Image());
    EXPECT_EQ(first->Image()->GetPixel(0, 0), Rgba(10, 20, 30, 255));

    WritePng(path, 2, 1, kPngRgb, {40, 50, 60, 70, 80, 90}); // rewritten in place
    CSprite* rewritten = CreateSprite(path);
    EXPECT_EQ(rewritten->m_W, 2);
    EXPECT_EQ(rewritten->Image()->GetPixel(0, 0), Rgba(40, 50, 60, 255));
    EXPECT_EQ(first->Image()->GetPixel(0, 0), Rgba(10, 20, 30, 255));

    const std::string other = folder / "other.png"; // same size and contents, another file
    WritePng(other, 2, 1, kPngRgb, {1, 2, 3, 4, 5, 6});
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    EXPECT_EQ(CreateSprite(path)->Image()->GetPixel(0, 0), Rgba(1, 2, 3, 255));

    ASSERT_EQ(std::remove(path.c_str()), 0); // gone: an empty picture, as for any missing file
    EXPECT_EQ(CreateSprite(path)->Image()->Width(), 0);
}

TEST(Sprite, CentringRule)
{
    struct
    {
        float centre;
        int size, corner;
    } const cases[] = {
        {10.0f, 3, 8},
        {5.0f, 3, 3},
        {10.0f, 4, 8},
        {10.4f, 1, 9},
        {10.5f, 1, 10},
        {-1.3f, 1, -1}, // -0.8 truncates to 0, not -1
        {-1.6f, 1, -2},
        {0.0f, 0, 0},
        {3e9f, 1, (1 << 30) - 1},
        {-3e9f, 1, -(1 << 30) - 1}, // saturated, not undefined
    };
    for (const auto& c : cases)
        EXPECT_EQ(CentredCorner(c.centre, c.size), c.corner) << c.centre << " size " << c.size;
}
