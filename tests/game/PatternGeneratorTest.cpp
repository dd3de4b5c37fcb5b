#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "game/CellGrid.h"
#include "game/PatternGenerator.h"
#include "util/Random.h"

namespace
{
using Cells = std::set<std::pair<int, int>>;

Cells Marked(const CCellGrid& grid)
{
    Cells marked;
    for (int y = 0; y < grid.Height(); ++y)
        for (int x = 0; x < grid.Width(); ++x)
            if (grid.At(x, y) != 0)
                marked.insert({x, y});
    return marked;
}

/// The first seed whose two coins come out as asked (the table is random per run).
int SeedFor(bool first, bool second)
{
    int s = 0;
    while (s < 4096 && !(Coin(s) == first && Coin(s + 1) == second))
        ++s;
    EXPECT_LT(s, 4096);
    return s;
}

/// Whether a neighbour of (x, y), diagonal ones too if asked, holds exactly `value`.
bool HasNeighbour(const CCellGrid& grid, int x, int y, int32_t value, bool diagonal)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if ((dx != 0 || dy != 0) && (diagonal || dx == 0 || dy == 0) &&
                grid.InRange(x + dx, y + dy) && grid.At(x + dx, y + dy) == value)
                return true;
    return false;
}
} // namespace

TEST(CellGrid, IndexingWrapsRowsAndClampsIntoTheSpareStorage)
{
    CCellGrid grid(6, 8);
    grid.At(6, 2) = 5; // past the row end: cell (0, 3)
    EXPECT_EQ(grid.At(0, 3), 5);
    EXPECT_EQ(grid.AtClamped(9, 2), 5); // x clamps to the width itself, not width - 1
    grid.At(0, 0) = 3;
    EXPECT_EQ(grid.AtClamped(-4, -9), 3);
    EXPECT_EQ(grid.AtClamped(100, 100), 0); // past every cell, never written

    grid.SetBits(2, 4, 4);
    grid.SetBits(2, 4, 16);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {6, 0}, {0, -1}, {0, 8}})
        grid.SetBits(x, y, 64);
    EXPECT_EQ(grid.At(2, 4), 20);
    EXPECT_EQ(Marked(grid), (Cells{{0, 0}, {0, 3}, {2, 4}}));
}

TEST(CellGrid, TouchesFourOrEightNeighboursClampedAtTheBorder)
{
    CCellGrid grid(6, 8);
    grid.At(2, 2) = 1;
    grid.At(0, 1) = 1; // At(6, 0): would be "right of (5, 0)" without the clamp
    grid.At(4, 5) = 3; // same bit, other value: never counts
    grid.At(5, 7) = 1;
    const struct
    {
        int x, y;
        bool diagonal, expected;
    } cases[] = {
        {2, 2, false, true}, {3, 2, false, true},  {1, 2, false, true}, {2, 3, false, true},
        {2, 1, false, true}, {3, 3, false, false}, {3, 3, true, true},  {1, 1, true, true},
        {1, 3, true, true},  {3, 1, true, true},   {4, 4, true, false}, {5, 0, true, false},
        {4, 7, false, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(grid.Touches(c.x, c.y, 1, c.diagonal), c.expected)
            << "(" << c.x << ", " << c.y << ") diagonal " << c.diagonal;
}

// An elbow marks the start or the end but never both; a line stops within one cell of its end.
TEST(CellGrid, ElbowsAndLines)
{
    const struct
    {
        const char* kind; // a line, or an elbow marking the start (i) or not (o), x or y first
        int x0, y0, x1, y1;
        Cells expected;
    } cases[] = {
        {"ix", 1, 1, 4, 3, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}}},
        {"ox", 1, 1, 4, 3, {{2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}}},
        {"iy", 1, 1, 4, 3, {{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}}},
        {"ix", 4, 3, 1, 1, {{4, 3}, {3, 3}, {2, 3}, {1, 3}, {1, 2}}},
        {"ox", 6, 2, 3, 2, {{5, 2}, {4, 2}, {3, 2}}}, // start outside the grid
        {"line", 0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {"line", 3, 0, 0, 0, {{3, 0}, {2, 0}}},
        {"line", 0, 0, -2, 4, {{0, 0}, {0, 1}}}, // x = -0.5 truncates to column 0
        {"line", 2, 5, 3, 6, {{2, 5}}},          // a diagonal neighbour is sqrt(2) away
    };
    for (const auto& c : cases)
    {
        CCellGrid grid(6, 8);
        if (c.kind[0] == 'l')
            grid.DrawLine(c.x0, c.y0, c.x1, c.y1, 32);
        else
            grid.DrawElbow(c.x0, c.y0, c.x1, c.y1, 16, SeedFor(c.kind[0] == 'i', c.kind[1] == 'x'));
        EXPECT_EQ(Marked(grid), c.expected)
            << "(" << c.x0 << ", " << c.y0 << ") to (" << c.x1 << ", " << c.y1 << ")";
    }
}

TEST(PatternGenerator, EveryCreatureKeepsItsInvariants)
{
    int bodyAndRing = 0, stackedCores = 0;
    for (uint32_t seed = 1; seed <= 2000; ++seed)
    {
        tarn::test::SeedRandom(seed, 1.0 + seed * 7919.0);
        const CCellGrid grid = GeneratePattern();
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        ASSERT_EQ(grid.Width(), 12);
        ASSERT_EQ(grid.Height(), 8);
        int pureLimbs = 0, cores = 0;
        for (int i = 0; i < 96; ++i)
        {
            const int x = i % 12, y = i / 12, v = grid.At(x, y);
            SCOPED_TRACE(testing::Message() << "cell (" << x << ", " << y << ") = " << v);
            ASSERT_EQ(v, grid.At(11 - x, y));
            pureLimbs += v == kCellLimbA;
            cores += (v & kCellCore) != 0;
            // Cores come whole in the 2 x 2 cells at (2 ... 4, 1 ... 3) of each half, skipped
            // by the ring; a ring cell borders a core; a body cell beside a core carries it.
            ASSERT_TRUE(!(v & kCellCore) || (v == kCellCore && y >= 1 && y <= 4 && x >= 2));
            ASSERT_TRUE(!(v & kCellRing) || HasNeighbour(grid, x, y, kCellCore, true));
            ASSERT_TRUE(!((v & kCellBody) && HasNeighbour(grid, x, y, kCellCore, false)) ||
                        (v & kCellRing));
            bodyAndRing += v == (kCellBody | kCellRing);
            stackedCores += v == kCellCore && y < 7 && grid.At(x, y + 1) == kCellCore;
        }
        ASSERT_GE(pureLimbs, 2);
        ASSERT_GE(cores, 2); // one per half at least
    }
    // The rules above must not hold only vacuously; cores fill both rows of their area.
    EXPECT_GT(bodyAndRing, 100);
    EXPECT_GT(stackedCores, 100);
}
