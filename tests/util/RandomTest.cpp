#include <gtest/gtest.h>

#include <set>

#include "util/Random.h"

TEST(Random, ParkMillerStepsMatchTheMinimalStandard)
{
    tarn::test::SeedRandom(1u, 1.0);
    EXPECT_NEAR(tarn::RandomUnit(), 7.826369e-06, 1e-12);
    EXPECT_EQ(tarn::RandomUnitState(), 16807.0);
    tarn::RandomUnit();
    EXPECT_EQ(tarn::RandomUnitState(), 282475249.0);

    // The 10 000th state from seed 1 is 1043618065 for the minimal standard generator.
    tarn::test::SeedRandom(1u, 1.0);
    for (int i = 0; i < 10000; ++i)
        tarn::RandomUnit();
    EXPECT_EQ(tarn::RandomUnitState(), 1043618065.0);
}

TEST(Random, IntegersCoverBothEndsAndNothingElse)
{
    tarn::test::SeedRandom(99u, 5.0);
    EXPECT_EQ(tarn::RandomInt(5, 5), 5);

    std::set<int> small;
    bool sawTop = false;
    for (int i = 0; i < 200000; ++i)
    {
        const int v = tarn::RandomInt(-1, 1);
        ASSERT_GE(v, -1);
        ASSERT_LE(v, 1);
        small.insert(v);
        const int w = tarn::RandomInt(0, 1024);
        ASSERT_GE(w, 0);
        ASSERT_LE(w, 1024);
        sawTop = sawTop || w == 1024;
    }
    EXPECT_EQ(small.size(), 3u);
    EXPECT_TRUE(sawTop);
}

TEST(Random, FloatsStayInTheirRange)
{
    tarn::test::SeedRandom(3u, 42.0);
    for (int i = 0; i < 100000; ++i)
    {
        const float unit = tarn::RandomFloat(0.0f, 1.0f);
        ASSERT_GE(unit, 0.0f);
        ASSERT_LE(unit, 1.0f);
        const float wide = tarn::RandomFloat(1.0f, 5.0f);
        ASSERT_GE(wide, 1.0f);
        ASSERT_LE(wide, 5.0f);
    }
    // 739806647 steps to 2^31 - 2, whose u rounds to exactly 1.0f: b itself comes back.
    tarn::test::SeedRandom(3u, 739806647.0);
    EXPECT_EQ(tarn::RandomFloat(1.0f, 5.0f), 5.0f);
}

TEST(Random, UnitStaysInsideTheOpenIntervalAlsoForClockStatesPast2038)
{
    // 2^31 - 1 is the second the clock leaves 31 bits and, like 0, a fixed point of the
    // step; 2^31 + 5 is later in 2038; 2^32 - 1 is the largest 32-bit clock seed.
    for (double state : {123456789.0, 0.0, 2147483647.0, 2147483653.0, 4294967295.0, 2147483648.0})
    {
        tarn::test::SeedRandom(1u, state);
        double previous = -1.0;
        for (int i = 0; i < 20000; ++i)
        {
            const double u = tarn::RandomUnit();
            ASSERT_GT(u, 0.0) << state;
            ASSERT_LE(u, 1.0) << state;
            ASSERT_NE(u, previous) << "stuck at state " << state;
            previous = u;
        }
    }
}
