#include <gtest/gtest.h>

#include "game/PatternGenerator.h"
#include "util/Random.h"

namespace
{
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

TEST(PatternGenerator, EveryCreatureKeepsItsInvariants)
{
    int bodyAndRing = 0;
    for (uint32_t seed = 1; seed <= 2000; ++seed)
    {
        tarn::test::SeedRandom(seed, 1.0 + seed * 7919.0);
        const CCellGrid grid = GeneratePattern();
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        ASSERT_EQ(grid.Width(), 12);
        ASSERT_EQ(grid.Height(), 8);
        int pureLimbs = 0, cores = 0;
        bool other = false;
        for (int y = 0; y < 8; ++y)
        {
            for (int x = 0; x < 12; ++x)
            {
                const int32_t v = grid.At(x, y);
                SCOPED_TRACE(testing::Message() << "cell (" << x << ", " << y << ") = " << v);
                ASSERT_EQ(v, grid.At(11 - x, y));
                ASSERT_EQ(v & ~(1 | 2 | 4 | 16 | 32 | 64), 0);
                pureLimbs += v == kCellLimbA;
                other = other || (v != kCellCore && v != kCellRing);
                cores += (v & kCellCore) != 0;
                // A core is written whole and skipped by the ring; a ring cell borders a
                // core; a body cell beside a core carries the ring.
                ASSERT_TRUE(!(v & kCellCore) || v == kCellCore);
                ASSERT_TRUE(!(v & kCellRing) || HasNeighbour(grid, x, y, kCellCore, true));
                ASSERT_TRUE(!((v & kCellBody) && HasNeighbour(grid, x, y, kCellCore, false)) ||
                            (v & kCellRing));
                bodyAndRing += v == (kCellBody | kCellRing);
            }
        }
        ASSERT_GE(pureLimbs, 2);
        ASSERT_TRUE(other);
        ASSERT_GE(cores, 2); // one per half at least
        ASSERT_EQ(grid.AtClamped(12, 8), 0);
    }
    // The body-beside-core rule above must not hold only vacuously.
    EXPECT_GT(bodyAndRing, 100);
}
