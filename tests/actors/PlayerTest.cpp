#include <gtest/gtest.h>

#include "actors/PlayerMotion.h"

namespace
{
constexpr float kDt = 0.016f;

CButtonSet Held(std::initializer_list<EButton> buttons)
{
    CButtonSet held;
    for (EButton b : buttons)
        held.set(b);
    return held;
}
} // namespace

TEST(PlayerMotion, HoldingRightGainsOnePointTwoEightPerUpdateAndHitsTheLimitAfterSixteen)
{
    CPlayerMotion motion;
    for (int n = 1; n <= 15; ++n)
    {
        motion.Step(Held({kButtonRight}), kDt);
        EXPECT_FLOAT_EQ(motion.m_Velocity.x, 1.28f * n) << n;
        EXPECT_EQ(motion.m_Velocity.y, 0.0f);
    }
    motion.Step(Held({kButtonRight}), kDt);
    EXPECT_EQ(motion.m_Velocity.x, 20.0f);
    for (int n = 0; n < 10; ++n)
        motion.Step(Held({kButtonRight}), kDt);
    EXPECT_EQ(motion.m_Velocity.x, 20.0f);
}

TEST(PlayerMotion, BrakingStopsExactlyAtZeroAfterSixteenUpdatesAndNeverReverses)
{
    for (EButton direction : {kButtonRight, kButtonLeft, kButtonUp, kButtonDown})
    {
        CPlayerMotion motion;
        for (int n = 0; n < 16; ++n)
            motion.Step(Held({direction}), kDt);
        const float start = motion.m_Velocity.Length();
        ASSERT_EQ(start, 20.0f);
        for (int n = 1; n <= 15; ++n)
        {
            motion.Step(CButtonSet(), kDt);
            EXPECT_NEAR(motion.m_Velocity.Length(), 20.0f - 1.28f * n, 1e-5f) << n;
        }
        motion.Step(CButtonSet(), kDt);
        EXPECT_EQ(motion.m_Velocity.x, 0.0f) << direction;
        EXPECT_EQ(motion.m_Velocity.y, 0.0f) << direction;
        motion.Step(CButtonSet(), kDt);
        EXPECT_EQ(motion.m_Velocity, CVector2()) << direction;
    }
}

TEST(PlayerMotion, TheLimitIsOnTheLengthSoADiagonalIsNoFaster)
{
    CPlayerMotion motion;
    for (int n = 0; n < 40; ++n)
    {
        motion.Step(Held({kButtonUp, kButtonRight}), kDt);
        EXPECT_LE(motion.m_Velocity.Length(), 20.0f + 1e-5f);
    }
    EXPECT_NEAR(motion.m_Velocity.Length(), 20.0f, 1e-5f);
    EXPECT_NEAR(motion.m_Velocity.x, 14.142136f, 1e-5f);
    EXPECT_EQ(motion.m_Velocity.y, -motion.m_Velocity.x);
}

TEST(PlayerMotion, UpWinsOverDownAndLeftOverRight)
{
    CPlayerMotion motion;
    motion.Step(Held({kButtonUp, kButtonDown, kButtonLeft, kButtonRight}), kDt);
    EXPECT_EQ(motion.m_Velocity, CVector2(-80.0f * kDt, -80.0f * kDt));
}

TEST(PlayerMotion, ADirectionPressMovesOnePixelAtOnceAndStopsOnlyThatAxis)
{
    struct Case
    {
        EButton button;
        CVector2 move;
        bool stopsX;
    } cases[] = {{kButtonUp, {0, -1}, false},
                 {kButtonDown, {0, 1}, false},
                 {kButtonLeft, {-1, 0}, true},
                 {kButtonRight, {1, 0}, true},
                 {kButtonFire, {0, 0}, false}};
    for (const Case& c : cases)
    {
        CPlayerMotion motion;
        for (int n = 0; n < 5; ++n)
            motion.Step(Held({kButtonDown, kButtonRight}), kDt);
        const CPlayerMotion before = motion;
        motion.Nudge(c.button);
        EXPECT_EQ(motion.m_Position, before.m_Position + c.move) << c.button;
        const bool moves = c.button != kButtonFire;
        EXPECT_EQ(motion.m_Velocity.x, moves && c.stopsX ? 0.0f : before.m_Velocity.x);
        EXPECT_EQ(motion.m_Velocity.y, moves && !c.stopsX ? 0.0f : before.m_Velocity.y);
    }
    // Even at rest, and unclamped until the next step.
    CPlayerMotion motion;
    motion.Nudge(kButtonLeft);
    EXPECT_EQ(motion.m_Position, CVector2(3.0f, 11.0f));
}

TEST(PlayerMotion, TheClampHoldsThePositionButKeepsTheSpeed)
{
    CPlayerMotion motion;
    for (int n = 0; n < 200; ++n)
        motion.Step(Held({kButtonRight, kButtonUp}), kDt);
    EXPECT_EQ(motion.m_Position, CVector2(31.0f, -3.0f));
    EXPECT_NEAR(motion.m_Velocity.Length(), 20.0f, 1e-5f);

    motion = CPlayerMotion();
    for (int n = 0; n < 200; ++n)
        motion.Step(Held({kButtonRight}), kDt);
    EXPECT_EQ(motion.m_Position.x, 31.0f);
    EXPECT_EQ(motion.m_Velocity.x, 20.0f);
    // Releasing brakes from the full speed; the position stays on the edge meanwhile.
    motion.Step(CButtonSet(), kDt);
    EXPECT_EQ(motion.m_Velocity.x, 20.0f - 80.0f * kDt);
    EXPECT_EQ(motion.m_Position.x, 31.0f);

    // A nudge past the edge is pulled back by the next step.
    motion.Nudge(kButtonRight);
    EXPECT_EQ(motion.m_Position.x, 32.0f);
    motion.Step(CButtonSet(), kDt);
    EXPECT_EQ(motion.m_Position.x, 31.0f);

    motion = CPlayerMotion();
    for (int n = 0; n < 200; ++n)
        motion.Step(Held({kButtonLeft, kButtonDown}), kDt);
    EXPECT_EQ(motion.m_Position, CVector2(-1.0f, 23.0f));
}
