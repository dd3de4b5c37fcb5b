#include <gtest/gtest.h>

#include <vector>

#include "actors/Bullet.h"

namespace
{
/// A target of w x h cells at `origin`, all 0 until set.
struct PointTarget
{
    PointTarget(CPoint origin, int w, int h) : cells(w * h, 0u)
    {
        target.origin = origin;
        target.w = w;
        target.h = h;
        target.value = [this](int x, int y) { return cells[x + y * target.w]; };
        target.mask = 0xFFFFFFFFu;
    }
    std::vector<uint32_t> cells;
    CSweepTarget target;
};
} // namespace

TEST(SweptTest, TheFirstSetPointAlongThePathHitsEvenBetweenFrames)
{
    // A wall one pixel wide at canvas x = 5, rows 0 ... 9.
    PointTarget wall(CPoint{5, 0}, 1, 10);
    wall.cells.assign(10, 4);
    // Columns 11 and 13 of row 4 set.
    PointTarget pair(CPoint{10, 4}, 4, 1);
    pair.cells = {0, 1, 0, 1};
    PointTarget one(CPoint{13, 4}, 1, 1);
    one.cells = {1};
    PointTarget origin(CPoint{0, 0}, 1, 1);
    origin.cells = {1};
    const struct
    {
        const PointTarget& t;
        CVector2 from, to;
        CPoint hit;
    } cases[] = {
        {wall, {3.5f, 2.5f}, {6.5f, 2.5f}, {0, 2}},     // three pixels in one frame
        {wall, {9.9f, 7.2f}, {0.1f, 7.2f}, {0, 7}},     // ten pixels, leftward
        {wall, {4.2f, 1.0f}, {5.9f, 8.9f}, {0, 4}},     // steep: four samples before the wall
        {wall, {3.0f, 20.0f}, {8.0f, 20.0f}, {-1, -1}}, // below the wall
        {wall, {3.0f, 2.0f}, {4.99f, 2.0f}, {-1, -1}},  // stops short of it
        {wall, {5.5f, 3.5f}, {5.5f, 3.5f}, {0, 3}},     // no motion: the point itself
        {pair, {5.5f, 4.5f}, {20.5f, 4.5f}, {1, 0}},    // the first along the path wins
        {pair, {20.5f, 4.5f}, {5.5f, 4.5f}, {3, 0}},
        // The last, partial step lands on the end point: 13.2 is tested though 12.5 + 1 is not.
        {one, {11.5f, 4.5f}, {13.2f, 4.5f}, {0, 0}},
        {one, {11.5f, 4.5f}, {12.9f, 4.5f}, {-1, -1}},
        // Points truncate toward zero: -0.8 is column 0, -1.2 is not.
        {origin, {-0.8f, -0.5f}, {-0.8f, -0.5f}, {0, 0}},
        {origin, {-1.2f, 0.5f}, {-1.2f, 0.5f}, {-1, -1}},
    };
    for (const auto& c : cases)
    {
        const CPoint hit = SweptTest(c.from, c.to, c.t.target);
        EXPECT_EQ(hit.x, c.hit.x) << c.from.x << ", " << c.from.y << " -> " << c.to.x;
        EXPECT_EQ(hit.y, c.hit.y) << c.from.x << ", " << c.from.y << " -> " << c.to.x;
    }
}

TEST(SweptTest, OnlyValuesWithABitOfTheMaskHit)
{
    PointTarget target(CPoint{0, 0}, 1, 1);
    const struct
    {
        uint32_t value, mask;
        bool hits;
    } cases[] = {{32, 23, false},
                 {32, 39, true},
                 {0, 0xFFFFFFFFu, false},
                 // A fully transparent but non-zero pixel still hits the player.
                 {0x00000001u, 0xFFFFFFFFu, true}};
    for (const auto& c : cases)
    {
        target.cells[0] = c.value;
        target.target.mask = c.mask;
        EXPECT_EQ(SweptTest({0.5f, 0.5f}, {0.5f, 0.5f}, target.target).x == 0, c.hits)
            << c.value << " & " << c.mask;
    }
}
