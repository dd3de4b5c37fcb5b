#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "game/CellGrid.h"

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
    const struct
    {
        int x, y;
        bool diagonal, expected;
    } cases[] = {
        {2, 2, false, true}, {3, 2, false, true},  {1, 2, false, true}, {2, 3, false, true},
        {2, 1, false, true}, {3, 3, false, false}, {3, 3, true, true},  {1, 1, true, true},
        {4, 4, true, false}, {5, 0, true, false},  {0, 0, false, true}, {1, 0, true, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(grid.Touches(c.x, c.y, 1, c.diagonal), c.expected)
            << "(" << c.x << ", " << c.y << ") diagonal " << c.diagonal;
}

TEST(CellGrid, ElbowMarksTheStartOrTheEndButNeverBoth)
{
    const struct
    {
        bool inclusive, xFirst;
        int x0, y0, x1, y1;
        Cells expected;
    } cases[] = {
        {true, true, 1, 1, 4, 3, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}}},
        {false, true, 1, 1, 4, 3, {{2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}}},
        {true, false, 1, 1, 4, 3, {{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}}},
        {false, false, 1, 1, 4, 3, {{1, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}}},
        {true, true, 4, 3, 1, 1, {{4, 3}, {3, 3}, {2, 3}, {1, 3}, {1, 2}}},
        {false, true, 6, 2, 3, 2, {{5, 2}, {4, 2}, {3, 2}}}, // start outside the grid
        {true, true, 3, 3, 3, 3, {}},
        {false, false, 3, 3, 3, 3, {}},
    };
    for (const auto& c : cases)
    {
        CCellGrid grid(6, 8);
        grid.DrawElbow(c.x0, c.y0, c.x1, c.y1, 16, SeedFor(c.inclusive, c.xFirst));
        EXPECT_EQ(Marked(grid), c.expected) << "(" << c.x0 << ", " << c.y0 << ") to (" << c.x1
                                            << ", " << c.y1 << ") inclusive " << c.inclusive;
    }
}

TEST(CellGrid, LineStopsWithinOneCellOfItsEnd)
{
    const struct
    {
        int x0, y0, x1, y1;
        Cells expected;
    } cases[] = {
        {0, 0, 4, 0, {{0, 0}, {1, 0}, {2, 0}}},
        {3, 0, 0, 0, {{3, 0}, {2, 0}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {0, 0, -2, 4, {{0, 0}, {0, 1}}}, // x = -0.5 truncates to column 0
        {2, 5, 3, 6, {{2, 5}}},          // a diagonal neighbour is sqrt(2) away
        {2, 5, 3, 5, {}},
        {2, 5, 2, 5, {}},
    };
    for (const auto& c : cases)
    {
        CCellGrid grid(6, 8);
        grid.DrawLine(c.x0, c.y0, c.x1, c.y1, 32);
        EXPECT_EQ(Marked(grid), c.expected)
            << "(" << c.x0 << ", " << c.y0 << ") to (" << c.x1 << ", " << c.y1 << ")";
    }
}
