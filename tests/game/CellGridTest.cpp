#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "game/CellGrid.h"

namespace
{
using Cells = std::set<std::pair<int, int>>;

Cells MarkedCells(const CCellGrid& grid)
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
    for (int s = 0; s < 4096; ++s)
        if (Coin(s) == first && Coin(s + 1) == second)
            return s;
    ADD_FAILURE() << "no seed with coins " << first << ", " << second;
    return 0;
}
} // namespace

TEST(CellGrid, ColumnPastTheRowEndIsTheNextRowsFirstCell)
{
    CCellGrid grid(6, 8);
    grid.At(6, 2) = 5;
    EXPECT_EQ(grid.At(0, 3), 5);
    EXPECT_EQ(&grid.At(6, 7), &grid.At(0, 8));
}

TEST(CellGrid, ClampedReadsUseTheSpareStorage)
{
    CCellGrid grid(6, 8);
    grid.At(0, 0) = 3;
    grid.At(0, 3) = 7;
    EXPECT_EQ(grid.AtClamped(-4, -9), 3);
    // x clamps to the width itself, so (9, 2) reads element 6 + 2 * 6: cell (0, 3).
    EXPECT_EQ(grid.AtClamped(9, 2), 7);
    // The far corner lies past all cells and stays 0.
    EXPECT_EQ(grid.AtClamped(100, 100), 0);
}

TEST(CellGrid, SetBitsOrsInsideAndIgnoresOutside)
{
    CCellGrid grid(6, 8);
    grid.SetBits(2, 3, 4);
    grid.SetBits(2, 3, 16);
    EXPECT_EQ(grid.At(2, 3), 20);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {6, 0}, {0, -1}, {0, 8}})
        grid.SetBits(x, y, 64);
    EXPECT_EQ(MarkedCells(grid), (Cells{{2, 3}}));
}

TEST(CellGrid, TouchesFourOrEightNeighboursClampedAtTheBorder)
{
    CCellGrid grid(6, 8);
    grid.At(2, 2) = 1;
    grid.At(0, 1) = 1; // would be "right of (5, 0)" if the column were not clamped
    grid.At(4, 5) = 3; // same bit, different value: never counts

    struct Case
    {
        int x, y;
        bool diagonal;
        bool expected;
    };
    const Case cases[] = {
        {2, 2, false, true}, {3, 2, false, true},  {1, 2, false, true}, {2, 3, false, true},
        {2, 1, false, true}, {3, 3, false, false}, {3, 3, true, true},  {1, 1, true, true},
        {4, 4, true, false}, {4, 6, true, false},  {5, 0, true, false}, {5, 0, false, false},
        {0, 0, false, true}, {1, 0, true, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid.Touches(c.x, c.y, 1, c.diagonal), c.expected)
            << "(" << c.x << ", " << c.y << ") diagonal " << c.diagonal;
}

TEST(CellGrid, ElbowMarksStartOrEndButNeverBoth)
{
    struct Case
    {
        bool inclusive;
        bool xFirst;
        int x0, y0, x1, y1;
        Cells expected;
    };
    const std::vector<Case> cases = {
        {true, true, 1, 1, 4, 3, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}}},
        {false, true, 1, 1, 4, 3, {{2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}}},
        {true, false, 1, 1, 4, 3, {{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}}},
        {false, false, 1, 1, 4, 3, {{1, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}}},
        {true, true, 4, 3, 1, 1, {{4, 3}, {3, 3}, {2, 3}, {1, 3}, {1, 2}}},
        {false, false, 4, 3, 1, 1, {{4, 2}, {4, 1}, {3, 1}, {2, 1}, {1, 1}}},
        // Ends outside the grid: the cells inside are still marked.
        {false, true, 6, 2, 3, 2, {{5, 2}, {4, 2}, {3, 2}}},
        {true, true, 3, 3, 3, 3, {}},
        {false, false, 3, 3, 3, 3, {}},
    };
    for (const Case& c : cases)
    {
        CCellGrid grid(6, 8);
        grid.DrawElbow(c.x0, c.y0, c.x1, c.y1, 16, SeedFor(c.inclusive, c.xFirst));
        EXPECT_EQ(MarkedCells(grid), c.expected)
            << "(" << c.x0 << ", " << c.y0 << ") to (" << c.x1 << ", " << c.y1 << ") inclusive "
            << c.inclusive << " x first " << c.xFirst;
    }
}

TEST(CellGrid, LineStopsWithinOneCellOfItsEnd)
{
    struct Case
    {
        int x0, y0, x1, y1;
        Cells expected;
    };
    const std::vector<Case> cases = {
        {0, 0, 4, 0, {{0, 0}, {1, 0}, {2, 0}}},
        {3, 0, 0, 0, {{3, 0}, {2, 0}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        // x = -0.5 truncates toward zero and marks column 0; -1 and -1.5 fall outside.
        {0, 0, -2, 4, {{0, 0}, {0, 1}}},
        {2, 5, 3, 5, {}},
        // A diagonal neighbour lies sqrt(2) away, so the start is marked.
        {2, 5, 3, 6, {{2, 5}}},
        {2, 5, 2, 5, {}},
    };
    for (const Case& c : cases)
    {
        CCellGrid grid(6, 8);
        grid.DrawLine(c.x0, c.y0, c.x1, c.y1, 32);
        EXPECT_EQ(MarkedCells(grid), c.expected)
            << "(" << c.x0 << ", " << c.y0 << ") to (" << c.x1 << ", " << c.y1 << ")";
    }
}
