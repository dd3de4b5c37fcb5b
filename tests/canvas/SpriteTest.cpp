#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "TestPictures.h"
#include "canvas/Sprite.h"

namespace
{
const CRect kView = {0, 0, 32, 24};

/// A registered sprite with a w x h image of one opaque colour (CreateSprite of a missing
/// file registers an empty sprite; the image comes after).
CSprite* MakeSprite(int w, int h, uint32_t pixel, int depth = 100)
{
    CSprite* sprite = CreateSprite("data/gfx/no-such-picture.png");
    sprite->SetImage(MakeSurface(w, h, std::vector<uint32_t>(static_cast<size_t>(w * h), pixel)));
    sprite->m_Depth = depth;
    return sprite;
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

constexpr uint32_t kRed = Rgba(255, 0, 0, 255);
constexpr uint32_t kGreen = Rgba(0, 255, 0, 255);
constexpr uint32_t kBlue = Rgba(0, 0, 255, 255);
} // namespace

TEST_F(SpriteTest, DrawnByDepthThenInCreationOrder)
{
    CSprite* top = MakeSprite(2, 2, kBlue, 200);
    CSprite* a = MakeSprite(3, 1, kRed);
    CSprite* b = MakeSprite(2, 1, kGreen);
    CSprite* bottom = MakeSprite(4, 1, kBlue, 50);
    top->m_X = 10;
    a->m_X = 3; // a covers 3..5, b 4..5, bottom 2..5; all on row 0
    b->m_X = 4;
    bottom->m_X = 2;
    DrawSprites(m_Canvas.get(), &kView);
    EXPECT_EQ(m_Canvas->GetPixel(2, 0), kBlue);
    EXPECT_EQ(m_Canvas->GetPixel(3, 0), kRed);
    EXPECT_EQ(m_Canvas->GetPixel(4, 0), kGreen); // b, made after a, lies over it
    EXPECT_EQ(m_Canvas->GetPixel(5, 0), kGreen);
    EXPECT_EQ(m_Canvas->GetPixel(10, 1), kBlue);

    // A depth change takes effect at the next frame; equal depths keep their list order.
    a->m_Depth = 200;
    DrawSprites(m_Canvas.get(), &kView);
    EXPECT_EQ(m_Canvas->GetPixel(4, 0), kRed);
    const std::vector<CSprite*> order(SpriteList().begin(), SpriteList().end());
    EXPECT_EQ(order, (std::vector<CSprite*>{bottom, b, a, top}));
}

TEST_F(SpriteTest, VisibilityBoundsAreStrictAndClippingPerPixel)
{
    struct
    {
        int x, y;
        bool visible;
    } const cases[] = {{-3, 0, true}, {-4, 0, false}, {31, 0, true}, {32, 0, false},
                       {0, -1, true}, {0, -2, false}, {0, 23, true}, {0, 24, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
        CSprite* s = MakeSprite(4, 2, kRed);
        s->m_X = c.x;
        s->m_Y = c.y;
        s->m_LastDrawTime = 0xDEADBEEFu;
        s->Draw(canvas.get(), &kView);
        EXPECT_EQ(s->m_LastDrawTime != 0xDEADBEEFu, c.visible);
        int drawn = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x)
                drawn += canvas->GetPixel(x, y) == kRed;
        const int columns = std::min(c.x + 4, 32) - std::max(c.x, 0);
        const int rows = std::min(c.y + 2, 24) - std::max(c.y, 0);
        EXPECT_EQ(drawn, c.visible ? columns * rows : 0);
        RemoveSprite(s);
    }

    // The view shifts the world: a sprite at world x 40 shows at canvas x 8.
    CSprite* s = MakeSprite(1, 1, kGreen);
    s->m_X = 40;
    const CRect shifted = {32, 0, 32, 24};
    s->Draw(m_Canvas.get(), &shifted);
    EXPECT_EQ(m_Canvas->GetPixel(8, 0), kGreen);
}

TEST_F(SpriteTest, SkipFlagsAndEmptyPicturesDrawNothing)
{
    CSprite* hidden = MakeSprite(1, 1, kRed);
    CSprite* disabled = MakeSprite(1, 1, kRed);
    hidden->m_Hidden = true;
    disabled->m_Disabled = true;
    CSprite* missing = CreateSprite("data/gfx/no-such-picture.png");
    EXPECT_EQ(missing->m_W, 0);
    EXPECT_EQ(missing->m_H, 0);
    EXPECT_EQ(missing->Image()->Width(), 0);
    for (int x = -2; x < 34; ++x)
    {
        missing->m_X = x;
        DrawSprites(m_Canvas.get(), &kView);
    }
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(m_Canvas->GetPixel(x, y), 0u);

    // A null image is kept but leaves size and source as they were.
    hidden->SetImage(nullptr);
    EXPECT_EQ(hidden->Image(), nullptr);
    EXPECT_EQ(hidden->m_W, 1);
    EXPECT_EQ(hidden->m_Source.w, 1);
    hidden->m_Hidden = false;
    DrawSprites(m_Canvas.get(), &kView); // a null image draws nothing
    EXPECT_EQ(m_Canvas->GetPixel(0, 0), 0u);
}

TEST_F(SpriteTest, RemovingTwiceOrUnregisteredDoesNothing)
{
    CSprite* a = MakeSprite(1, 1, kRed);
    CSprite* b = MakeSprite(1, 1, kRed);
    RemoveSprite(a);
    RemoveSprite(a); // a is gone: only its address is compared, nothing is destroyed twice
    RemoveSprite(nullptr);
    EXPECT_EQ(SpriteList().size(), 1u);
    EXPECT_EQ(SpriteList().front(), b);

    CSprite* loose = new CSprite();
    RemoveSprite(loose); // not registered: left alone, still ours to delete
    EXPECT_EQ(loose->m_Depth, 100);
    delete loose;
    EXPECT_EQ(SpriteList().size(), 1u);
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
            const unsigned op = random() % 3;
            if (op < 2 || reference.empty())
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
        while (!SpriteList().empty())
            RemoveSprite(SpriteList().front());
    }
}

// A picture is decoded once and shared; a changed file (other size or time, or another file
// under the name) is decoded anew, and sprites made before keep the picture they had.
TEST_F(SpriteTest, PicturesSharedUntilTheFileChanges)
{
    CTempDir folder;
    const std::string path = folder / "dot.png";
    WritePng(path, 1, 1, kPngRgb, {10, 20, 30});
    CSprite* first = CreateSprite(path);
    CSprite* second = CreateSprite(path);
    ASSERT_NE(first->Image(), nullptr);
    EXPECT_EQ(first->Image(), second->Image());
    EXPECT_EQ(first->Image()->GetPixel(0, 0), Rgba(10, 20, 30, 255));

    WritePng(path, 2, 1, kPngRgb, {40, 50, 60, 70, 80, 90}); // rewritten in place
    CSprite* rewritten = CreateSprite(path);
    EXPECT_EQ(rewritten->m_W, 2);
    EXPECT_EQ(rewritten->Image()->GetPixel(0, 0), Rgba(40, 50, 60, 255));
    EXPECT_EQ(first->m_W, 1);
    EXPECT_EQ(first->Image()->GetPixel(0, 0), Rgba(10, 20, 30, 255));

    // Same size and contents but another file moved over the name.
    const std::string other = folder / "other.png";
    WritePng(other, 2, 1, kPngRgb, {1, 2, 3, 4, 5, 6});
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    EXPECT_EQ(CreateSprite(path)->Image()->GetPixel(0, 0), Rgba(1, 2, 3, 255));

    // Gone: an empty picture, as for any missing file.
    ASSERT_EQ(std::remove(path.c_str()), 0);
    CSprite* missing = CreateSprite(path);
    EXPECT_EQ(missing->m_W, 0);
    EXPECT_EQ(missing->Image()->Width(), 0);
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
        {-3e9f, 1, -(1 << 30) - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CentredCorner(c.centre, c.size), c.corner) << c.centre << " size " << c.size;
}
