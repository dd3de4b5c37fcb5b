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
std::unique_ptr<CParticle> MakeParticle(int x, int y, int size, const CColor& color)
{
    CSprite* sprite = CreateSprite("data/gfx/particle-01.png");
    sprite->m_X = x;
    sprite->m_Y = y;
    sprite->m_W = sprite->m_H = size;
    sprite->m_Color = color;
    return std::make_unique<CParticle>(sprite);
}
} // namespace

// Three groups: sparks without gravity, fiery bits with it (fading), bits in the given colour;
// their fewest and most per burst, small and large. The ring spreads evenly from +x.
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
            for (int k = 0; k < n[3]; ++k)
            {
                const CVector2 v = particles[k]->m_Velocity;
                const double angle = std::atan2(v.y, v.x);
                ASSERT_NEAR(angle + (angle < -1e-6 ? 2 * M_PI : 0), k * 6.283185 / n[3], 1e-4);
            }
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

// The colour is clamped at once and fades by rate x dt; the sprite's corner is the truncated
// centre (no + 0.5); it moves with the velocity it had before this update's acceleration.
TEST(Particle, FadesMovesAndIsPlacedByTruncation)
{
    auto p = MakeParticle(8, 4, 3, CColor(1.5f, 0.5f, -0.2f, 2.0f));
    EXPECT_EQ(p->m_Sprite->m_Color, CColor(1.0f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(p->m_Position, CVector2(9.5f, 5.5f));
    EXPECT_EQ(p->m_Sprite->m_X, 7); // int(9.5) - 2
    p->m_ColorRate = CColor(-1.0f, -1.0f, 0.0f, -0.5f);
    p->Update(0.25f);
    EXPECT_EQ(p->m_Sprite->m_Color, CColor(0.75f, 0.25f, 0.0f, 0.875f));
    for (auto [position, corner] : {std::pair{9.99f, 7}, {10.0f, 8}, {-0.6f, -2}, {-1.2f, -3}})
    {
        p->m_Position = CVector2(position, position);
        p->Update(0.0f);
        EXPECT_EQ(p->m_Sprite->m_X, corner) << position;
        EXPECT_EQ(p->m_Sprite->m_Y, corner) << position;
    }
    p->m_Position = CVector2(1, 1);
    p->m_Velocity = CVector2(10, 0);
    p->m_Acceleration = CVector2(0, 100);
    p->Update(0.5f);
    p->Update(0.5f);
    EXPECT_EQ(p->m_Position, CVector2(11, 26));
    EXPECT_EQ(p->m_Velocity, CVector2(10, 100));
}

TEST(Particle, ListRemovesInTheFrameTheAgeReachesTheLifetime)
{
    const float lifetimes[] = {0.25f, 1.0f, 0.25f, 0.5f, 0.75f};
    CParticleList particles;
    std::vector<CParticle*> raw;
    for (float lifetime : lifetimes)
    {
        particles.push_back(MakeParticle(0, 0, 1, CColor(1, 1, 1, 1)));
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
