#include <gtest/gtest.h>

#include <vector>

#include "actors/Bullet.h"

namespace
{
/// A target whose set points are listed, relative to its origin.
struct PointTarget
{
    PointTarget(CPoint origin, int w, int h) : cells(w * h, 0u)
    {
        target.origin = origin;
        target.w = w;
        target.h = h;
        target.value = [this](int x, int y) { return cells[x + y * target.w]; };
    }
    void Set(int x, int y, uint32_t v) { cells[x + y * target.w] = v; }

    std::vector<uint32_t> cells;
    CSweepTarget target;
};
} // namespace

TEST(SweptTest, AShotJumpingOverAOnePixelWallIsStillStopped)
{
    // A wall one pixel wide at canvas x = 5, rows 0 ... 9.
    PointTarget wall(CPoint{5, 0}, 1, 10);
    for (int y = 0; y < 10; ++y)
        wall.Set(0, y, 4);
    struct Case
    {
        CVector2 from, to;
        int hitY; ///< -1: no hit.
    } cases[] = {
        {{3.5f, 2.5f}, {6.5f, 2.5f}, 2},    // three pixels in one frame, right
        {{9.9f, 7.2f}, {0.1f, 7.2f}, 7},    // ten pixels, left
        {{4.2f, 1.0f}, {5.9f, 8.9f}, 4},    // steep: four samples before the wall
        {{3.0f, 20.0f}, {8.0f, 20.0f}, -1}, // below the wall
        {{3.0f, 2.0f}, {4.99f, 2.0f}, -1},  // stops short of it
        {{5.5f, 3.5f}, {5.5f, 3.5f}, 3},    // no motion: the point itself is tested
    };
    for (const Case& c : cases)
    {
        const CPoint hit = SweptTest(c.from, c.to, wall.target);
        EXPECT_EQ(hit.x, c.hitY < 0 ? -1 : 0) << c.from.x << " -> " << c.to.x;
        EXPECT_EQ(hit.y, c.hitY) << c.from.x << " -> " << c.to.x;
    }
}

TEST(SweptTest, TheFirstPointAlongThePathWinsAndTheEndPointIsTested)
{
    PointTarget target(CPoint{10, 4}, 4, 1);
    target.Set(1, 0, 1);
    target.Set(3, 0, 1);
    EXPECT_EQ(SweptTest({5.5f, 4.5f}, {20.5f, 4.5f}, target.target).x, 1);
    EXPECT_EQ(SweptTest({20.5f, 4.5f}, {5.5f, 4.5f}, target.target).x, 3);
    // The last, partial step lands on the end point: 13.2 is tested though 12.5 + 1 is not.
    EXPECT_EQ(SweptTest({11.5f, 4.5f}, {13.2f, 4.5f}, target.target).x, 1);
    target.Set(1, 0, 0);
    EXPECT_EQ(SweptTest({11.5f, 4.5f}, {13.2f, 4.5f}, target.target).x, 3);
    EXPECT_EQ(SweptTest({11.5f, 4.5f}, {12.9f, 4.5f}, target.target).x, -1);
    // Points truncate toward zero: -0.8 is column 0, not -1.
    PointTarget origin(CPoint{0, 0}, 1, 1);
    origin.Set(0, 0, 1);
    EXPECT_EQ(SweptTest({-0.8f, -0.5f}, {-0.8f, -0.5f}, origin.target).y, 0);
    EXPECT_EQ(SweptTest({-1.2f, 0.5f}, {-1.2f, 0.5f}, origin.target).x, -1);
}

TEST(SweptTest, OnlyValuesWithABitOfTheMaskHit)
{
    PointTarget target(CPoint{0, 0}, 1, 1);
    struct Case
    {
        uint32_t value, mask;
        bool hits;
    } cases[] = {{32, 23, false},
                 {32, 39, true},
                 {16, 23, true},
                 {16, 39, false},
                 {1, 23, true},
                 {64, 39, false},
                 {0, 0xFFFFFFFFu, false},
                 // A fully transparent but non-zero pixel still hits the player.
                 {0x00000001u, 0xFFFFFFFFu, true}};
    for (const Case& c : cases)
    {
        target.Set(0, 0, c.value);
        target.target.mask = c.mask;
        EXPECT_EQ(SweptTest({0.5f, 0.5f}, {0.5f, 0.5f}, target.target).x == 0, c.hits)
            << c.value << " & " << c.mask;
    }
}
