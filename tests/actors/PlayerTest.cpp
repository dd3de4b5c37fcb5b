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
} // namespace

// 80 px/s² at 16 ms: 1.28 a step, exactly the limit of 20 at the 16th; braking takes as many
// steps and stops exactly at 0. Up beats down, left beats right; the limit is on the length.
TEST(PlayerMotion, AcceleratesToTwentyAndBrakesToExactlyZeroInSixteenSteps)
{
    const std::pair<CButtonSet, CVector2> cases[] = {{Held({kButtonRight}), {1, 0}},
                                                     {Held({kButtonDown}), {0, 1}},
                                                     {Held({kButtonUp, kButtonDown}), {0, -1}},
                                                     {Held({kButtonLeft, kButtonRight}), {-1, 0}}};
    for (const auto& [held, unit] : cases)
    {
        CPlayerMotion motion;
        for (int n = 1; n <= 32; ++n)
        {
            motion.Step(n <= 16 ? held : CButtonSet(), kDt);
            const float speed = n <= 16 ? std::min(1.28f * n, 20.0f) : 20.0f - 1.28f * (n - 16);
            EXPECT_LT((motion.m_Velocity - unit * std::max(speed, 0.0f)).Length(), 1e-4f) << n;
            // To the bit at the limit and at rest.
            EXPECT_TRUE(n % 16 != 0 || motion.m_Velocity == unit * (n == 16 ? 20.0f : 0.0f));
        }
    }
    CPlayerMotion diagonal;
    for (int n = 0; n < 40; ++n)
        diagonal.Step(Held({kButtonUp, kButtonRight}), kDt);
    EXPECT_NEAR(diagonal.m_Velocity.x, 14.142136f, 1e-5f);
    EXPECT_EQ(diagonal.m_Velocity.y, -diagonal.m_Velocity.x);
}

// A press moves one pixel at once and stops that axis only; the clamp holds the position
// but keeps the speed, and a nudge past the edge is pulled back only by the next step.
TEST(PlayerMotion, NudgesAndTheClamp)
{
    CPlayerMotion motion;
    for (int n = 0; n < 200; ++n)
        motion.Step(Held({kButtonRight, kButtonUp}), kDt);
    EXPECT_EQ(motion.m_Position, CVector2(31.0f, -3.0f));
    const CVector2 velocity = motion.m_Velocity;
    EXPECT_NEAR(velocity.Length(), 20.0f, 1e-5f);
    motion.Nudge(kButtonRight);
    EXPECT_EQ(motion.m_Position, CVector2(32.0f, -3.0f));
    EXPECT_EQ(motion.m_Velocity, CVector2(0.0f, velocity.y));
    motion.Nudge(kButtonFire);
    motion.Step(Held({kButtonUp}), kDt);
    EXPECT_EQ(motion.m_Position.x, 31.0f);
    for (int n = 0; n < 200; ++n)
        motion.Step(Held({kButtonLeft, kButtonDown}), kDt);
    EXPECT_EQ(motion.m_Position, CVector2(-1.0f, 23.0f));
    motion.Nudge(kButtonUp);
    EXPECT_EQ(motion.m_Position, CVector2(-1.0f, 22.0f));
    EXPECT_EQ(motion.m_Velocity.y, 0.0f);
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

// Buttons outside 0 ... 4 would throw from the bit set and end the program. The sprite is
// centred at the next update (at x = -1 the sum -0.5 truncates to 0) and goes with the hit.
TEST_F(CVideoTest, PlayerIgnoresOtherButtonsAndItsSpriteGoesWithTheHit)
{
    CPlayer player;
    CFakeGameplay gameplay;
    for (int button : {-1, 5, 99})
    {
        player.KeyDown(button);
        player.KeyUp(button);
        EXPECT_FALSE(player.IsHeld(button));
    }
    player.Sprite()->SetImage(FilledSurface(3, 5, 0xFFFFFFFFu));
    for (int n = 0; n < 5; ++n)
        player.KeyDown(kButtonLeft);
    EXPECT_TRUE(player.IsHeld(kButtonLeft));
    player.KeyUp(kButtonLeft);
    EXPECT_FALSE(player.IsHeld(kButtonLeft));
    player.Update(kDt, gameplay);
    EXPECT_EQ(player.Sprite()->m_X, -2);
    EXPECT_EQ(player.Sprite()->m_Y, 8); // int(11 + 0.5) - int(2.5 + 0.5)

    const size_t sprites = SpriteList().size();
    player.RemoveSpriteOnHit();
    EXPECT_EQ(player.Sprite(), nullptr);
    EXPECT_EQ(SpriteList().size(), sprites - 1);
    player.KeyDown(kButtonFire);
    player.KeyDown(kButtonRight);
    for (int n = 0; n < 30; ++n)
        player.Update(kDt, gameplay);
    EXPECT_EQ(gameplay.m_PlayerShots, 0) << "fired once hit";
    EXPECT_EQ(player.Position(), CVector2(0.0f, 11.0f)) << "moved once hit (beyond the nudge)";
}
