#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "Support.h"
#include "actors/Bullet.h"
#include "actors/Particle.h"
#include "actors/Player.h"
#include "actors/PlayerMotion.h"
#include "canvas/Sprite.h"
#include "util/Random.h"

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

// Targets: a wall one pixel wide at x = 5, rows 0 ... 9 (value 4); columns 11 and 13 of row 4
// (value 1); a dot at the origin. A hit is the first set point along the path, even between
// frames.
TEST(SweptTest, TheFirstPointWithABitOfTheMaskAlongThePathHits)
{
    const struct STarget
    {
        std::vector<uint32_t> cells;
        int w;
        CPoint origin;
    } wall{std::vector<uint32_t>(10, 4), 1, {5, 0}}, pair{{0, 1, 0, 1}, 4, {10, 4}},
        dot{{1}, 1, {}};
    const struct
    {
        const STarget& t;
        CVector2 from, to;
        CPoint hit;
        uint32_t mask = 0xFFFFFFFFu;
    } cases[] = {
        {wall, {3.5f, 2.5f}, {6.5f, 2.5f}, {0, 2}},     // three pixels in one frame
        {wall, {9.9f, 7.2f}, {0.1f, 7.2f}, {0, 7}},     // ten pixels, leftward
        {wall, {4.2f, 1.0f}, {5.9f, 8.9f}, {0, 4}},     // steep: four samples before the wall
        {wall, {3.0f, 20.0f}, {8.0f, 20.0f}, {-1, -1}}, // below the wall
        {wall, {5.5f, 3.5f}, {5.5f, 3.5f}, {0, 3}},     // no motion: the point itself
        {wall, {5.5f, 3.5f}, {5.5f, 3.5f}, {-1, -1}, 3},
        {wall, {5.5f, 3.5f}, {5.5f, 3.5f}, {0, 3}, 5},
        {pair, {15.5f, 4.5f}, {5.5f, 4.5f}, {3, 0}}, // the first along the path wins
        // The last, partial step lands on the end point: 13.2 is tested though 12.5 + 1 is not.
        {pair, {12.5f, 4.5f}, {13.2f, 4.5f}, {3, 0}},
        {pair, {12.0f, 4.5f}, {12.9f, 4.5f}, {-1, -1}},
        // Points truncate toward zero: -0.8 is column 0, -1.2 is not.
        {dot, {-0.8f, -0.5f}, {-0.8f, -0.5f}, {0, 0}},
        {dot, {-1.2f, 0.5f}, {-1.2f, 0.5f}, {-1, -1}},
    };
    for (const auto& c : cases)
    {
        CSweepTarget target;
        target.origin = c.t.origin;
        target.w = c.t.w;
        target.h = static_cast<int>(c.t.cells.size()) / c.t.w;
        target.value = [&c](int x, int y) { return c.t.cells[x + y * c.t.w]; };
        target.mask = c.mask;
        const CPoint hit = SweptTest(c.from, c.to, target);
        EXPECT_EQ(hit.x, c.hit.x) << c.from.x << ", " << c.from.y << " -> " << c.to.x;
        EXPECT_EQ(hit.y, c.hit.y) << c.from.x << ", " << c.from.y << " -> " << c.to.x;
    }
}

// Three groups: sparks without gravity, fiery bits with it (fading), bits in the given colour;
// their fewest and most per burst, small and large; and the ring.
TEST(Particle, BurstGroupsAndRingHaveTheirSizes)
{
    const CColor given(0.2f, 0.4f, 0.6f, 0.8f);
    for (bool small : {true, false})
    {
        int lo[4] = {1000, 1000, 1000, 1000}, hi[4] = {};
        for (uint32_t seed = 1; seed <= 200; ++seed)
        {
            tarn::test::SeedRandom(seed, 10.0 + seed);
            CParticleList particles;
            CreateExplosion(&particles, CVector2(12.3f, 7.8f), given, small);
            int n[4] = {};
            for (const auto& p : particles)
            {
                const bool keeps = p->m_ColorRate == CColor();
                ++n[p->m_Acceleration == CVector2() ? 0 : keeps ? 2 : 1];
                ASSERT_TRUE(!keeps || p->m_Sprite->m_Color == given);
                ASSERT_TRUE(keeps || p->m_ColorRate.r == -1.0f / p->m_Lifetime);
            }
            particles.clear();
            CreateRingExplosion(&particles, CVector2(16, 12), given);
            n[3] = static_cast<int>(particles.size());
            // The ring starts at +x and turns evenly.
            ASSERT_NEAR(particles[1]->m_Velocity.Normalised().y, std::sin(6.283185 / n[3]), 1e-5);
            for (int g = 0; g < 4; ++g)
            {
                lo[g] = std::min(lo[g], n[g]);
                hi[g] = std::max(hi[g], n[g]);
            }
        }
        const int expected[2][8] = {{10, 20, 20, 40, 4, 7, 30, 50}, {3, 3, 1, 1, 4, 7, 30, 50}};
        for (int g = 0; g < 4; ++g)
        {
            EXPECT_EQ(lo[g], expected[small][2 * g]) << "group " << g << " small " << small;
            EXPECT_EQ(hi[g], expected[small][2 * g + 1]) << "group " << g << " small " << small;
        }
    }
}

// The colour is clamped at once and fades by rate x dt; the corner is the truncated centre
// (no + 0.5). Without a picture it still ages and ends (it used to stay for ever); the list
// removes in the frame the age reaches the lifetime, the last moving into the freed slot.
TEST(Particle, FadesIsPlacedByTruncationAndLeavesTheListWithItsSprite)
{
    CSprite* sprite = CreateSprite("data/gfx/particle-01.png");
    sprite->m_X = 8;
    sprite->m_W = 3;
    sprite->m_Color = CColor(1.5f, 0.5f, -0.2f, 2.0f);
    CParticleList particles;
    particles.push_back(std::make_unique<CParticle>(nullptr));
    particles.back()->m_Lifetime = 0.25f;
    particles.push_back(std::make_unique<CParticle>(sprite));
    CParticle& p = *particles.back();
    EXPECT_EQ(sprite->m_Color, CColor(1.0f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(sprite->m_X, 7); // int(9.5) - 2
    p.m_ColorRate = CColor(-1.0f, -1.0f, 0.0f, -0.5f);
    p.m_Position = CVector2(-0.6f, 9.99f);
    p.m_Lifetime = 0.5f;
    const size_t sprites = SpriteList().size();
    UpdateParticles(particles, 0.25f);
    ASSERT_EQ(particles.size(), 1u); // and the one moved in was updated once, in the same pass
    EXPECT_EQ(sprite->m_Color, CColor(0.75f, 0.25f, 0.0f, 0.875f));
    EXPECT_EQ(sprite->m_X, -2);
    UpdateParticles(particles, 0.25f);
    EXPECT_TRUE(particles.empty());
    EXPECT_EQ(SpriteList().size(), sprites - 1);
}

// 80 px/s² at 16 ms: 1.28 a step, exactly the limit of 20 at the 16th; braking takes as many
// steps and stops exactly at 0. Up beats down, left beats right. A press moves one pixel at
// once and stops that axis only; the clamp holds the position but keeps the speed, and a
// nudge past the edge is pulled back only by the next step.
TEST(PlayerMotion, AcceleratesBrakesIsNudgedAndClamped)
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
    CPlayerMotion motion;
    for (int n = 0; n < 200; ++n)
        motion.Step(Held({kButtonRight, kButtonUp}), kDt);
    EXPECT_EQ(motion.m_Position, CVector2(31.0f, -3.0f));
    const CVector2 velocity = motion.m_Velocity;
    EXPECT_NEAR(velocity.x, 14.142136f, 1e-5f); // the limit of 20 is on the length
    EXPECT_EQ(velocity.y, -velocity.x);
    motion.Nudge(kButtonRight);
    EXPECT_EQ(motion.m_Position, CVector2(32.0f, -3.0f));
    EXPECT_EQ(motion.m_Velocity, CVector2(0.0f, velocity.y));
    motion.Step(Held({kButtonUp}), kDt);
    EXPECT_EQ(motion.m_Position.x, 31.0f);
    for (int n = 0; n < 200; ++n)
        motion.Step(Held({kButtonLeft, kButtonDown}), kDt);
    EXPECT_EQ(motion.m_Position, CVector2(-1.0f, 23.0f));
}

// Held fire shoots on the first update, then every 15th, and after a pause at once. Buttons
// outside 0 ... 4 would throw from the bit set and end the program. The sprite is centred at
// the next update (at x = -1 the sum -0.5 truncates to 0) and goes with the hit.
TEST_F(CVideoTest, PlayerFiresIgnoresOtherButtonsAndItsSpriteGoesWithTheHit)
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
    player.KeyUp(kButtonFire);
    for (int button : {-1, 5, 99})
    {
        player.KeyDown(button);
        player.KeyUp(button);
        EXPECT_FALSE(player.IsHeld(button));
    }
    player.Sprite()->SetImage(FilledSurface(3, 5, 0xFFFFFFFFu));
    for (int n = 0; n < 5; ++n)
        player.KeyDown(kButtonLeft);
    player.KeyUp(kButtonLeft);
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
    EXPECT_EQ(gameplay.m_PlayerShots, 5) << "fired once hit";
    EXPECT_EQ(player.Position(), CVector2(0.0f, 11.0f)) << "moved once hit (beyond the nudge)";
}
