#include <gtest/gtest.h>

#include <SDL.h>
#include <vector>

#include "Support.h"
#include "actors/FireBulletInterface.h"
#include "actors/Particle.h"
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

    CPlayerMotion all; // up wins over down, left over right
    all.Step(Held({kButtonUp, kButtonDown, kButtonLeft, kButtonRight}), kDt);
    EXPECT_EQ(all.m_Velocity, CVector2(-80.0f * kDt, -80.0f * kDt));
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

    // Releasing brakes from the full speed; the position stays on the edge meanwhile.
    motion.Step(Held({kButtonUp}), kDt);
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

namespace
{
/// Counts the shots the player asks for, by update number.
class ShotRecorder : public IFireBulletInterface
{
public:
    void FirePlayerBullet() override { shots.push_back(update); }
    CParticleList* GetParticles() override { return &particles; }

    int update = 0;
    std::vector<int> shots;
    CParticleList particles;
};

/// A window-less 32-bit video mode, so surfaces can be made.
class PlayerWithPicture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(32, 24, 32, SDL_SWSURFACE), nullptr) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }
};
} // namespace

TEST(Player, HoldingFireShootsOnTheFirstUpdateAndThenEveryFifteenth)
{
    CPlayer player;
    ShotRecorder gameplay;
    player.KeyDown(kButtonFire);
    for (gameplay.update = 1; gameplay.update <= 50; ++gameplay.update)
        player.Update(0.016f, gameplay);
    EXPECT_EQ(gameplay.shots, (std::vector<int>{1, 16, 31, 46}));

    // After a pause the cooldown has run far below 0: a new press shoots at once.
    player.KeyUp(kButtonFire);
    gameplay.shots.clear();
    for (; gameplay.update <= 100; ++gameplay.update)
        player.Update(0.016f, gameplay);
    EXPECT_TRUE(gameplay.shots.empty());
    player.KeyDown(kButtonFire);
    const int pressed = gameplay.update;
    player.Update(0.016f, gameplay);
    EXPECT_EQ(gameplay.shots, (std::vector<int>{pressed}));
}

TEST(Player, OnlyTheFiveButtonsAreHeld)
{
    CPlayer player;
    for (int button : {-1, 5, 99})
    {
        player.KeyDown(button);
        EXPECT_FALSE(player.IsHeld(button));
    }
    EXPECT_EQ(player.Position(), CVector2(4.0f, 11.0f));
    player.KeyDown(kButtonDown);
    EXPECT_TRUE(player.IsHeld(kButtonDown));
    player.KeyUp(kButtonDown);
    EXPECT_FALSE(player.IsHeld(kButtonDown));
    EXPECT_EQ(player.Position(), CVector2(4.0f, 12.0f)); // the release moves nothing
}

TEST_F(PlayerWithPicture, TheSpriteIsCentredOnThePositionAtTheNextUpdate)
{
    CPlayer player;
    ShotRecorder gameplay;
    player.Sprite()->SetImage(FilledSurface(3, 5, 0xFFFFFFFFu));
    player.Update(0.016f, gameplay);
    // int(4 + 0.5) - int(1.5 + 0.5), int(11 + 0.5) - int(2.5 + 0.5)
    EXPECT_EQ(player.Sprite()->m_X, 2);
    EXPECT_EQ(player.Sprite()->m_Y, 8);

    // The nudge shows only after the update; at x = -1 the sum -0.5 truncates to 0.
    for (int n = 0; n < 5; ++n)
        player.KeyDown(kButtonLeft);
    EXPECT_EQ(player.Sprite()->m_X, 2);
    player.KeyUp(kButtonLeft);
    player.Update(0.016f, gameplay);
    EXPECT_EQ(player.Position().x, -1.0f);
    EXPECT_EQ(player.Sprite()->m_X, 0 - 2);
}

TEST_F(PlayerWithPicture, OnceHitThePlayerNeitherMovesNorFires)
{
    CPlayer player;
    ShotRecorder gameplay;
    player.Sprite()->SetImage(FilledSurface(3, 5, 0xFFFFFFFFu));
    const size_t sprites = SpriteList().size();
    player.RemoveSpriteOnHit();
    EXPECT_EQ(player.Sprite(), nullptr);
    EXPECT_EQ(SpriteList().size(), sprites - 1);

    player.KeyDown(kButtonFire);
    player.KeyDown(kButtonRight); // the nudge still happens, invisibly
    for (int n = 0; n < 30; ++n)
        player.Update(0.016f, gameplay);
    EXPECT_TRUE(gameplay.shots.empty());
    EXPECT_EQ(player.Position(), CVector2(5.0f, 11.0f));
    EXPECT_EQ(player.Velocity(), CVector2());
}
