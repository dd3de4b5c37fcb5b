#include <gtest/gtest.h>

#include <cmath>

#include "util/MathUtil.h"
#include "util/Vector2.h"

TEST(Vector2, NormalisedKeepsZeroAndScalesOthersToUnitLength)
{
    EXPECT_EQ(CVector2().Normalised(), CVector2());
    const CVector2 n = CVector2(3.0f, 4.0f).Normalised();
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.y, 0.8f);
    EXPECT_FLOAT_EQ(CVector2(3.0f, 4.0f).Length(), 5.0f);
}

TEST(Vector2, RotationTurnsFromXTowardY)
{
    const CVector2 r = CVector2(1.0f, 0.0f).Rotated(static_cast<float>(M_PI / 2));
    EXPECT_NEAR(r.x, 0.0f, 1e-6f);
    EXPECT_NEAR(r.y, 1.0f, 1e-6f);
}

TEST(MathUtil, ClampAppliesTheUpperBoundFirstAndSignTreatsZeroAsPositive)
{
    EXPECT_EQ(tarn::Clamp(5.0f, 0.0f, 1.0f), 1.0f);
    EXPECT_EQ(tarn::Clamp(-5.0f, 0.0f, 1.0f), 0.0f);
    EXPECT_EQ(tarn::Sign(0.0f), 1.0f);
    EXPECT_EQ(tarn::Sign(-0.5f), -1.0f);
}
