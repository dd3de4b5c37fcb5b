#include <gtest/gtest.h>

#include <vector>

#include "actors/Bullet.h"

// Targets: a wall one pixel wide at x = 5, rows 0 ... 9 (value 4); columns 11 and 13 of row 4
// (value 1); a dot at the origin. A hit is the first set point along the path, even between
// frames.
TEST(SweptTest, TheFirstPointWithABitOfTheMaskAlongThePathHits)
{
    const struct STarget
    {
        std::vector<uint32_t> cells;
        int w;
        CPoint origin;
    } wall{std::vector<uint32_t>(10, 4), 1, {5, 0}}, pair{{0, 1, 0, 1}, 4, {10, 4}},
        dot{{1}, 1, {}};
    const struct
    {
        const STarget& t;
        CVector2 from, to;
        CPoint hit;
        uint32_t mask = 0xFFFFFFFFu;
    } cases[] = {
        {wall, {3.5f, 2.5f}, {6.5f, 2.5f}, {0, 2}},     // three pixels in one frame
        {wall, {9.9f, 7.2f}, {0.1f, 7.2f}, {0, 7}},     // ten pixels, leftward
        {wall, {4.2f, 1.0f}, {5.9f, 8.9f}, {0, 4}},     // steep: four samples before the wall
        {wall, {3.0f, 20.0f}, {8.0f, 20.0f}, {-1, -1}}, // below the wall
        {wall, {3.0f, 2.0f}, {4.99f, 2.0f}, {-1, -1}},  // stops short of it
        {wall, {5.5f, 3.5f}, {5.5f, 3.5f}, {0, 3}},     // no motion: the point itself
        {wall, {5.5f, 3.5f}, {5.5f, 3.5f}, {-1, -1}, 3},
        {wall, {5.5f, 3.5f}, {5.5f, 3.5f}, {0, 3}, 5},
        {pair, {15.5f, 4.5f}, {5.5f, 4.5f}, {3, 0}}, // the first along the path wins
        // The last, partial step lands on the end point: 13.2 is tested though 12.5 + 1 is not.
        {pair, {12.5f, 4.5f}, {13.2f, 4.5f}, {3, 0}},
        {pair, {12.0f, 4.5f}, {12.9f, 4.5f}, {-1, -1}},
        // Points truncate toward zero: -0.8 is column 0, -1.2 is not.
        {dot, {-0.8f, -0.5f}, {-0.8f, -0.5f}, {0, 0}},
        {dot, {-1.2f, 0.5f}, {-1.2f, 0.5f}, {-1, -1}},
    };
    for (const auto& c : cases)
    {
        CSweepTarget target;
        target.origin = c.t.origin;
        target.w = c.t.w;
        target.h = static_cast<int>(c.t.cells.size()) / c.t.w;
        target.value = [&c](int x, int y) { return c.t.cells[x + y * c.t.w]; };
        target.mask = c.mask;
        const CPoint hit = SweptTest(c.from, c.to, target);
        EXPECT_EQ(hit.x, c.hit.x) << c.from.x << ", " << c.from.y << " -> " << c.to.x;
        EXPECT_EQ(hit.y, c.hit.y) << c.from.x << ", " << c.from.y << " -> " << c.to.x;
    }
}
