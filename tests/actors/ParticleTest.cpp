#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "actors/Particle.h"
#include "canvas/Sprite.h"
#include "util/Random.h"

namespace
{
std::unique_ptr<CParticle> MakeParticle(int x, int y, int w, int h, const CColor& color)
{
    CSprite* sprite = CreateSprite("data/gfx/particle-01.png");
    sprite->m_X = x;
    sprite->m_Y = y;
    sprite->m_W = w;
    sprite->m_H = h;
    sprite->m_Color = color;
    return std::make_unique<CParticle>(sprite);
}
} // namespace

// Three groups: sparks without gravity, fiery bits with it, and bits in the given colour.
TEST(Particle, BurstGroupsHaveTheirSizesAndLooks)
{
    const CColor given(0.2f, 0.4f, 0.6f, 0.8f);
    for (bool small : {true, false})
    {
        int lo[3] = {1000, 1000, 1000}, hi[3] = {};
        for (uint32_t seed = 1; seed <= 200; ++seed)
        {
            tarn::test::SeedRandom(seed, 10.0 + seed);
            CParticleList particles;
            CreateExplosion(&particles, CVector2(12.3f, 7.8f), given, small);
            int n[3] = {};
            for (const auto& p : particles)
            {
                const bool keeps = p->m_ColorRate == CColor();
                const int group = p->m_Acceleration == CVector2() ? 0 : keeps ? 2 : 1;
                ++n[group];
                ASSERT_EQ(p->m_Acceleration, group == 0 ? CVector2() : CVector2(0, 75));
                ASSERT_LE(std::fabs(p->m_Position.x - 12.3f), 2.0f);
                ASSERT_LE(std::fabs(p->m_Position.y - 7.8f), 2.0f);
                ASSERT_TRUE(p->m_Lifetime >= 0.75f && p->m_Lifetime <= 1.25f);
                const CColor& c = p->m_Sprite->m_Color;
                if (keeps)
                {
                    ASSERT_EQ(c, given);
                    continue;
                }
                ASSERT_TRUE(c.r >= 0.75f && c.r <= 1.0f && c.g >= 0.5f && c.g <= 1.0f);
                ASSERT_TRUE(c.b == 0.0f && c.a == 1.0f);
                const float rate = -1.0f / p->m_Lifetime;
                ASSERT_EQ(p->m_ColorRate, CColor(rate, rate, 0.0f, rate));
                ASSERT_TRUE(group != 0 || p->m_Velocity.x >= 0.0f); // sparks never fly left
            }
            for (int g = 0; g < 3; ++g)
            {
                lo[g] = std::min(lo[g], n[g]);
                hi[g] = std::max(hi[g], n[g]);
            }
        }
        // Fewest and most per group.
        const int expected[2][6] = {{10, 20, 20, 40, 4, 7}, {3, 3, 1, 1, 4, 7}};
        for (int g = 0; g < 3; ++g)
        {
            EXPECT_EQ(lo[g], expected[small][2 * g]) << "group " << g << " small " << small;
            EXPECT_EQ(hi[g], expected[small][2 * g + 1]) << "group " << g << " small " << small;
        }
    }
}

TEST(Particle, RingSpreadsEvenlyFromPlusX)
{
    const CColor given(0.3f, 0.6f, 0.9f, 1.0f);
    size_t fewest = 100, most = 0;
    for (uint32_t seed = 1; seed <= 200; ++seed)
    {
        tarn::test::SeedRandom(seed, 3.0 * seed);
        CParticleList particles;
        CreateRingExplosion(&particles, CVector2(16, 12), given);
        const size_t n = particles.size();
        fewest = std::min(fewest, n);
        most = std::max(most, n);
        for (size_t k = 0; k < n; ++k)
        {
            const CParticle& p = *particles[k];
            const float speed = p.m_Velocity.Length();
            ASSERT_TRUE(speed >= 50.0f - 1e-3f && speed <= 80.0f + 1e-3f);
            double angle = std::atan2(p.m_Velocity.y, p.m_Velocity.x);
            angle += angle < -1e-6 ? 2 * M_PI : 0.0;
            ASSERT_NEAR(angle, k * 6.283185 / n, 1e-4) << "particle " << k << " of " << n;
            ASSERT_EQ(p.m_Sprite->m_Color, given);
            const float rate = -1.0f / p.m_Lifetime;
            ASSERT_EQ(p.m_ColorRate, CColor(rate, rate, 0.0f, rate));
            ASSERT_EQ(p.m_Acceleration, CVector2());
        }
    }
    EXPECT_EQ(fewest, 30u);
    EXPECT_EQ(most, 50u);
}

TEST(Particle, ColourIsClampedAtOnceAndFadesToZero)
{
    auto wild = MakeParticle(0, 0, 2, 2, CColor(1.5f, -0.2f, 0.5f, 2.0f));
    EXPECT_EQ(wild->m_Sprite->m_Color, CColor(1.0f, 0.0f, 0.5f, 1.0f));

    auto p = MakeParticle(0, 0, 2, 2, CColor(0.9f, 0.5f, 0.2f, 1.0f));
    p->m_ColorRate = CColor(-1.0f, -1.0f, 0.0f, -1.0f); // lifetime 1
    int frames = 0, redGoneAt = 0;
    float alphaBefore = 1.0f;
    while (!p->m_Dead)
    {
        alphaBefore = p->m_Sprite->m_Color.a;
        p->Update(0.016f);
        ++frames;
        const CColor& c = p->m_Sprite->m_Color;
        ASSERT_TRUE(c.r >= 0.0f && c.a >= 0.0f && c.b == 0.2f);
        if (c.r == 0.0f && redGoneAt == 0)
            redGoneAt = frames;
    }
    EXPECT_EQ(frames, 63);    // age 1.008 reaches the lifetime
    EXPECT_EQ(redGoneAt, 57); // 0.9 / 0.016 = 56.25
    EXPECT_GT(alphaBefore, 0.0f);
    EXPECT_LE(alphaBefore, 0.016f + 1e-6f);
}

TEST(Particle, PlacementTruncatesThePositionWithoutAddingAHalf)
{
    // Width 3 at x = 8: centre 9.5, placed at int(9.5) - 2 = 7 by the construction itself.
    auto odd = MakeParticle(8, 4, 3, 3, CColor(1, 1, 1, 1));
    EXPECT_EQ(odd->m_Position, CVector2(9.5f, 5.5f));
    EXPECT_EQ(odd->m_Sprite->m_X, 7);
    EXPECT_EQ(odd->m_Sprite->m_Y, 3);
    for (auto [position, corner] : {std::pair{9.99f, 7}, {10.0f, 8}, {-0.6f, -2}, {-1.2f, -3}})
    {
        odd->m_Position = CVector2(position, position);
        odd->Update(0.0f);
        EXPECT_EQ(odd->m_Sprite->m_X, corner) << position;
        EXPECT_EQ(odd->m_Sprite->m_Y, corner) << position;
    }
    // Moves with the velocity it had before this update's acceleration.
    odd->m_Position = CVector2(1, 1);
    odd->m_Velocity = CVector2(10, 0);
    odd->m_Acceleration = CVector2(0, 100);
    odd->Update(0.5f);
    odd->Update(0.5f);
    EXPECT_EQ(odd->m_Position, CVector2(11, 26));
    EXPECT_EQ(odd->m_Velocity, CVector2(10, 100));
}

TEST(Particle, ListRemovesInTheFrameTheAgeReachesTheLifetime)
{
    const float lifetimes[] = {0.25f, 1.0f, 0.25f, 0.5f, 0.75f};
    CParticleList particles;
    std::vector<CParticle*> raw;
    for (float lifetime : lifetimes)
    {
        particles.push_back(MakeParticle(0, 0, 1, 1, CColor(1, 1, 1, 1)));
        particles.back()->m_Lifetime = lifetime;
        raw.push_back(particles.back().get());
    }
    // Without a picture it still ages and ends; it used to stay for ever.
    particles.push_back(std::make_unique<CParticle>(nullptr));
    const size_t sprites = SpriteList().size();

    UpdateParticles(particles, 0.25f);
    // Slot 0 freed: the last moved in and was updated in the same pass; then slot 2 again.
    ASSERT_EQ(particles.size(), 4u);
    EXPECT_EQ(particles[1].get(), raw[1]);
    EXPECT_EQ(particles[2].get(), raw[4]);
    const size_t expectedSizes[] = {3, 2, 0};
    for (int pass = 1; pass < 4; ++pass)
    {
        for (const auto& p : particles)
            EXPECT_EQ(p->m_Age, 0.25f * pass);
        UpdateParticles(particles, 0.25f);
        ASSERT_EQ(particles.size(), expectedSizes[pass - 1]) << "pass " << pass;
    }
    EXPECT_EQ(SpriteList().size(), sprites - 5); // each removal took its sprite along
}
