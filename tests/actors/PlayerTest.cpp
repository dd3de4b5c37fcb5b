#include <algorithm>
#include <vector>

#include "Support.h"
#include "actors/Player.h"
#include "actors/PlayerMotion.h"
#include "canvas/Sprite.h"

namespace
{
CButtonSet Held(std::initializer_list<EButton> buttons)
{
    CButtonSet held;
    for (EButton b : buttons)
        held.set(b);
    return held;
}

using PlayerWithPicture = CVideoTest;
} // namespace

// 80 px/s² at 16 ms: 1.28 a step, exactly the limit of 20 at the 16th; braking takes as many
// steps and stops exactly at 0, never reversing. Each direction, so the signs are covered.
TEST(PlayerMotion, AcceleratesToTwentyAndBrakesToExactlyZeroInSixteenSteps)
{
    const std::pair<EButton, CVector2> directions[] = {{kButtonRight, {1, 0}},
                                                       {kButtonLeft, {-1, 0}},
                                                       {kButtonUp, {0, -1}},
                                                       {kButtonDown, {0, 1}}};
    for (const auto& [button, unit] : directions)
    {
        CPlayerMotion motion;
        for (int n = 1; n <= 40; ++n)
        {
            const bool held = n <= 20;
            motion.Step(held ? Held({button}) : CButtonSet(), kDt);
            const float speed =
                held ? std::min(1.28f * n, 20.0f) : std::max(20.0f - 1.28f * (n - 20), 0.0f);
            EXPECT_LT((motion.m_Velocity - unit * speed).Length(), 1e-5f) << button << " " << n;
            // To the bit at the limit (16 steps) and at rest (16 more steps).
            EXPECT_TRUE(n % 20 != 16 || motion.m_Velocity == unit * speed) << button << " " << n;
        }
        EXPECT_EQ(motion.m_Velocity, CVector2()) << button;
    }
    // The limit is on the length, so a diagonal is no faster; up beats down, left beats right.
    CPlayerMotion motion;
    for (int n = 0; n < 40; ++n)
    {
        motion.Step(Held({kButtonUp, kButtonRight}), kDt);
        EXPECT_LE(motion.m_Velocity.Length(), 20.0f + 1e-5f);
    }
    EXPECT_NEAR(motion.m_Velocity.x, 14.142136f, 1e-5f);
    EXPECT_EQ(motion.m_Velocity.y, -motion.m_Velocity.x);
    CPlayerMotion all;
    all.Step(Held({kButtonUp, kButtonDown, kButtonLeft, kButtonRight}), kDt);
    EXPECT_EQ(all.m_Velocity, CVector2(-80.0f * kDt, -80.0f * kDt));
}

TEST(PlayerMotion, APressMovesOnePixelAtOnceAndStopsOnlyThatAxis)
{
    const std::pair<EButton, CVector2> cases[] = {{kButtonUp, {0, -1}},
                                                  {kButtonDown, {0, 1}},
                                                  {kButtonLeft, {-1, 0}},
                                                  {kButtonRight, {1, 0}},
                                                  {kButtonFire, {0, 0}}};
    for (const auto& [button, move] : cases)
    {
        CPlayerMotion motion;
        for (int n = 0; n < 5; ++n)
            motion.Step(Held({kButtonDown, kButtonRight}), kDt);
        const CPlayerMotion before = motion;
        motion.Nudge(button);
        EXPECT_EQ(motion.m_Position, before.m_Position + move) << button;
        EXPECT_EQ(motion.m_Velocity.x, move.x != 0 ? 0.0f : before.m_Velocity.x) << button;
        EXPECT_EQ(motion.m_Velocity.y, move.y != 0 ? 0.0f : before.m_Velocity.y) << button;
    }
}

TEST(PlayerMotion, TheClampHoldsThePositionButKeepsTheSpeed)
{
    CPlayerMotion motion;
    for (int n = 0; n < 200; ++n)
        motion.Step(Held({kButtonRight, kButtonUp}), kDt);
    EXPECT_EQ(motion.m_Position, CVector2(31.0f, -3.0f));
    EXPECT_NEAR(motion.m_Velocity.Length(), 20.0f, 1e-5f);
    // A nudge past the edge is pulled back only by the next step.
    motion.Nudge(kButtonRight);
    EXPECT_EQ(motion.m_Position.x, 32.0f);
    motion.Step(Held({kButtonUp}), kDt);
    EXPECT_EQ(motion.m_Position.x, 31.0f);
    for (int n = 0; n < 200; ++n)
        motion.Step(Held({kButtonLeft, kButtonDown}), kDt);
    EXPECT_EQ(motion.m_Position, CVector2(-1.0f, 23.0f));
}

TEST(Player, HoldingFireShootsOnTheFirstUpdateThenEveryFifteenthAndAfterAPauseAtOnce)
{
    CPlayer player;
    CFakeGameplay gameplay;
    std::vector<int> shots;
    for (int update = 1; update <= 101; ++update)
    {
        if (update == 51)
            player.KeyUp(kButtonFire);
        if (update == 1 || update == 101)
            player.KeyDown(kButtonFire);
        const int before = gameplay.m_PlayerShots;
        player.Update(kDt, gameplay);
        if (gameplay.m_PlayerShots != before)
            shots.push_back(update);
    }
    EXPECT_EQ(shots, (std::vector<int>{1, 16, 31, 46, 101}));
}

// Buttons outside 0 ... 4 would throw from the bit set and end the program.
TEST(Player, OnlyTheFiveButtonsAreHeld)
{
    CPlayer player;
    for (int button : {-1, 5, 99})
    {
        player.KeyDown(button);
        player.KeyUp(button);
        EXPECT_FALSE(player.IsHeld(button));
    }
    EXPECT_EQ(player.Position(), CVector2(4.0f, 11.0f));
    player.KeyDown(kButtonDown);
    EXPECT_TRUE(player.IsHeld(kButtonDown));
    player.KeyUp(kButtonDown);
    EXPECT_FALSE(player.IsHeld(kButtonDown));
    EXPECT_EQ(player.Position(), CVector2(4.0f, 12.0f)); // the release moves nothing
}

TEST_F(PlayerWithPicture, TheSpriteIsCentredAtTheNextUpdateAndGoesWithTheHit)
{
    CPlayer player;
    CFakeGameplay gameplay;
    player.Sprite()->SetImage(FilledSurface(3, 5, 0xFFFFFFFFu));
    player.Update(kDt, gameplay);
    // int(4 + 0.5) - int(1.5 + 0.5), int(11 + 0.5) - int(2.5 + 0.5)
    EXPECT_EQ(player.Sprite()->m_X, 2);
    EXPECT_EQ(player.Sprite()->m_Y, 8);
    // At x = -1 the sum -0.5 truncates to 0.
    for (int n = 0; n < 5; ++n)
        player.KeyDown(kButtonLeft);
    EXPECT_EQ(player.Sprite()->m_X, 2);
    player.KeyUp(kButtonLeft);
    player.Update(kDt, gameplay);
    EXPECT_EQ(player.Sprite()->m_X, -2);

    const size_t sprites = SpriteList().size();
    player.RemoveSpriteOnHit();
    EXPECT_EQ(player.Sprite(), nullptr);
    EXPECT_EQ(SpriteList().size(), sprites - 1);
    // Once hit it neither fires nor moves (a key still nudges, invisibly).
    player.KeyDown(kButtonFire);
    player.KeyDown(kButtonRight);
    for (int n = 0; n < 30; ++n)
        player.Update(kDt, gameplay);
    EXPECT_EQ(gameplay.m_PlayerShots, 0);
    EXPECT_EQ(player.Position(), CVector2(0.0f, 11.0f));
}
