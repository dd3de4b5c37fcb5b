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
CParticle* MakeParticle(int x, int y, int w, int h, const CColor& color)
{
    CSprite* sprite = CreateSprite("data/gfx/particle-01.png");
    sprite->m_X = x;
    sprite->m_Y = y;
    sprite->m_W = w;
    sprite->m_H = h;
    sprite->m_Color = color;
    return new CParticle(sprite);
}

struct CGroupCounts
{
    int drifting = 0; ///< no gravity: group 1
    int fading = 0;   ///< gravity, fading colour: group 2
    int keeping = 0;  ///< gravity, given colour kept: group 3
};

CGroupCounts CountGroups(const CParticleList& particles)
{
    CGroupCounts counts;
    for (const auto& p : particles)
    {
        if (p->m_Acceleration == CVector2())
            ++counts.drifting;
        else if (p->m_ColorRate == CColor())
            ++counts.keeping;
        else
            ++counts.fading;
    }
    return counts;
}
} // namespace

TEST(Particle, BurstSizesPerGroup)
{
    struct Range
    {
        int lo, hi;
    };
    struct Case
    {
        bool small;
        Range drifting, fading, keeping;
    };
    for (const Case& c :
         {Case{true, {3, 3}, {1, 1}, {4, 7}}, Case{false, {10, 20}, {20, 40}, {4, 7}}})
    {
        CGroupCounts lowest{1000, 1000, 1000};
        CGroupCounts highest;
        for (uint32_t seed = 1; seed <= 200; ++seed)
        {
            tarn::test::SeedRandom(seed, 10.0 + seed);
            CParticleList particles;
            CreateExplosion(&particles, CVector2(10, 10), CColor(0.2f, 0.4f, 0.6f, 1), c.small);
            const CGroupCounts n = CountGroups(particles);
            lowest = {std::min(lowest.drifting, n.drifting), std::min(lowest.fading, n.fading),
                      std::min(lowest.keeping, n.keeping)};
            highest = {std::max(highest.drifting, n.drifting), std::max(highest.fading, n.fading),
                       std::max(highest.keeping, n.keeping)};
        }
        // Both ends of every range occur over 200 bursts, and nothing outside them.
        EXPECT_EQ(lowest.drifting, c.drifting.lo) << "small " << c.small;
        EXPECT_EQ(highest.drifting, c.drifting.hi) << "small " << c.small;
        EXPECT_EQ(lowest.fading, c.fading.lo) << "small " << c.small;
        EXPECT_EQ(highest.fading, c.fading.hi) << "small " << c.small;
        EXPECT_EQ(lowest.keeping, c.keeping.lo) << "small " << c.small;
        EXPECT_EQ(highest.keeping, c.keeping.hi) << "small " << c.small;
    }
}

TEST(Particle, BurstParticlesStartNearTheCentreWithTheirGroupsLook)
{
    tarn::test::SeedRandom(5u, 555.0);
    const CColor given(0.2f, 0.4f, 0.6f, 0.8f);
    const CVector2 centre(12.3f, 7.8f);
    CParticleList particles;
    const size_t sprites = SpriteList().size();
    CreateExplosion(&particles, centre, given, false);
    EXPECT_EQ(SpriteList().size(), sprites + particles.size());
    for (const auto& p : particles)
    {
        ASSERT_NE(p->m_Sprite, nullptr);
        EXPECT_LE(std::fabs(p->m_Position.x - centre.x), 2.0f);
        EXPECT_LE(std::fabs(p->m_Position.y - centre.y), 2.0f);
        EXPECT_GE(p->m_Lifetime, 0.75f);
        EXPECT_LE(p->m_Lifetime, 1.25f);
        const CColor& c = p->m_Sprite->m_Color;
        const CVector2 v = p->m_Velocity;
        if (p->m_ColorRate == CColor())
        {
            EXPECT_EQ(c, given);
            EXPECT_EQ(p->m_Acceleration, CVector2(0, 75));
            continue;
        }
        // Fiery: red 0.75 to 1, green 0.5 to at most 1, no blue, opaque; fading over life.
        EXPECT_GE(c.r, 0.75f);
        EXPECT_LE(c.r, 1.0f);
        EXPECT_GE(c.g, 0.5f);
        EXPECT_LE(c.g, 1.0f);
        EXPECT_EQ(c.b, 0.0f);
        EXPECT_EQ(c.a, 1.0f);
        const float rate = -1.0f / p->m_Lifetime;
        EXPECT_EQ(p->m_ColorRate, CColor(rate, rate, 0.0f, rate));
        if (p->m_Acceleration == CVector2())
        {
            EXPECT_GE(v.x, 0.0f); // the small sparks never fly left
            EXPECT_LE(v.x, 75.0f);
            EXPECT_LE(std::fabs(v.y), 75.0f);
        }
        else
        {
            EXPECT_GE(v.x, -75.0f);
            EXPECT_LE(v.x, 150.0f);
            EXPECT_LE(std::fabs(v.y), 150.0f);
        }
    }
    particles.clear();
    EXPECT_EQ(SpriteList().size(), sprites);
}

TEST(Particle, ColourIsClampedAtOnceAndFadesToZero)
{
    // Out-of-range channels are clamped by the construction's zero-time update.
    std::unique_ptr<CParticle> wild(MakeParticle(0, 0, 2, 2, CColor(1.5f, -0.2f, 0.5f, 2.0f)));
    EXPECT_EQ(wild->m_Sprite->m_Color, CColor(1.0f, 0.0f, 0.5f, 1.0f));
    EXPECT_EQ(wild->m_ColorRate, CColor());

    std::unique_ptr<CParticle> p(MakeParticle(0, 0, 2, 2, CColor(0.9f, 0.5f, 0.2f, 1.0f)));
    p->m_Lifetime = 1.0f;
    p->m_ColorRate = CColor(-1.0f, -1.0f, 0.0f, -1.0f);
    int frames = 0;
    int redGoneAt = 0;
    while (!p->m_Dead)
    {
        const float alphaBefore = p->m_Sprite->m_Color.a;
        p->Update(0.016f);
        ++frames;
        const CColor& c = p->m_Sprite->m_Color;
        ASSERT_GE(c.r, 0.0f);
        ASSERT_GE(c.a, 0.0f);
        ASSERT_EQ(c.b, 0.2f);
        if (c.r == 0.0f && redGoneAt == 0)
            redGoneAt = frames;
        if (!p->m_Dead)
            EXPECT_GT(c.a, 0.0f);
        else
            EXPECT_LE(alphaBefore, 0.016f + 1e-6f);
    }
    EXPECT_EQ(frames, 63);    // age 1.008 reaches the lifetime
    EXPECT_EQ(redGoneAt, 57); // 0.9 / 0.016 = 56.25 frames
}

TEST(Particle, PlacementTruncatesThePositionWithoutAddingAHalf)
{
    // Sprite of width 3 at x = 8: centre 9.5, re-placed at int(9.5) - 2 = 7 at once.
    std::unique_ptr<CParticle> odd(MakeParticle(8, 4, 3, 3, CColor(1, 1, 1, 1)));
    EXPECT_EQ(odd->m_Position, CVector2(9.5f, 5.5f));
    EXPECT_EQ(odd->m_Sprite->m_X, 7);
    EXPECT_EQ(odd->m_Sprite->m_Y, 3);
    std::unique_ptr<CParticle> even(MakeParticle(8, 4, 4, 2, CColor(1, 1, 1, 1)));
    EXPECT_EQ(even->m_Sprite->m_X, 8);
    EXPECT_EQ(even->m_Sprite->m_Y, 4);

    struct Case
    {
        float position;
        int corner; // width 3: int(position) - 2
    };
    for (const Case c : {Case{9.99f, 7}, Case{10.0f, 8}, Case{-0.6f, -2}, Case{-1.2f, -3}})
    {
        odd->m_Position = CVector2(c.position, c.position);
        odd->Update(0.0f);
        EXPECT_EQ(odd->m_Sprite->m_X, c.corner) << c.position;
        EXPECT_EQ(odd->m_Sprite->m_Y, c.corner) << c.position;
    }
}

TEST(Particle, MovesWithTheVelocityBeforeAccelerating)
{
    std::unique_ptr<CParticle> p(MakeParticle(0, 0, 2, 2, CColor(1, 1, 1, 1)));
    p->m_Position = CVector2(1, 1);
    p->m_Velocity = CVector2(10, 0);
    p->m_Acceleration = CVector2(0, 100);
    p->Update(0.5f);
    EXPECT_EQ(p->m_Position, CVector2(6, 1));
    EXPECT_EQ(p->m_Velocity, CVector2(10, 50));
    p->Update(0.5f);
    EXPECT_EQ(p->m_Position, CVector2(11, 26));
}

TEST(Particle, ListRemovesInTheFrameTheAgeReachesTheLifetime)
{
    // Lifetimes in quarter seconds, updated in exact quarter steps.
    const float lifetimes[] = {0.25f, 1.0f, 0.25f, 0.5f, 0.75f};
    CParticleList particles;
    for (float lifetime : lifetimes)
    {
        particles.emplace_back(MakeParticle(0, 0, 1, 1, CColor(1, 1, 1, 1)));
        particles.back()->m_Lifetime = lifetime;
    }
    const size_t sprites = SpriteList().size();

    const size_t expectedSizes[] = {3, 2, 1, 0};
    for (int pass = 0; pass < 4; ++pass)
    {
        UpdateParticles(particles, 0.25f);
        ASSERT_EQ(particles.size(), expectedSizes[pass]) << "pass " << pass;
        // Every survivor, the ones moved into freed slots included, aged once per pass.
        for (const auto& p : particles)
        {
            EXPECT_EQ(p->m_Age, 0.25f * (pass + 1));
            EXPECT_LT(p->m_Age, p->m_Lifetime);
        }
    }
    // Each removal took its sprite with it.
    EXPECT_EQ(SpriteList().size(), sprites - 5);
}

TEST(Particle, SwapRemovalMovesTheLastIntoTheFreedSlot)
{
    CParticleList particles;
    std::vector<CParticle*> raw;
    for (float lifetime : {0.25f, 1.0f, 0.25f, 0.5f})
    {
        raw.push_back(MakeParticle(0, 0, 1, 1, CColor(1, 1, 1, 1)));
        raw.back()->m_Lifetime = lifetime;
        particles.emplace_back(raw.back());
    }
    UpdateParticles(particles, 0.25f);
    ASSERT_EQ(particles.size(), 2u);
    EXPECT_EQ(particles[0].get(), raw[3]);
    EXPECT_EQ(particles[1].get(), raw[1]);
}

TEST(Particle, WithoutASpriteItStillAgesAndEnds)
{
    CParticleList particles;
    particles.push_back(std::make_unique<CParticle>(nullptr));
    for (int i = 0; i < 3; ++i)
        UpdateParticles(particles, 0.25f);
    ASSERT_EQ(particles.size(), 1u);
    UpdateParticles(particles, 0.25f);
    EXPECT_TRUE(particles.empty());
}

TEST(Particle, RingSpreadsEvenlyFromPlusX)
{
    std::vector<size_t> sizes;
    for (uint32_t seed = 1; seed <= 200; ++seed)
    {
        tarn::test::SeedRandom(seed, 3.0 * seed);
        const CColor given(0.3f, 0.6f, 0.9f, 1.0f);
        CParticleList particles;
        CreateRingExplosion(&particles, CVector2(16, 12), given);
        const size_t n = particles.size();
        ASSERT_GE(n, 30u);
        ASSERT_LE(n, 50u);
        sizes.push_back(n);

        EXPECT_EQ(particles[0]->m_Velocity.y, 0.0f);
        CVector2 sum;
        for (size_t k = 0; k < n; ++k)
        {
            const CParticle& p = *particles[k];
            const float speed = p.m_Velocity.Length();
            EXPECT_GE(speed, 50.0f - 1e-3f);
            EXPECT_LE(speed, 80.0f + 1e-3f);
            const double expected = k * 6.283185 / n;
            double angle = std::atan2(p.m_Velocity.y, p.m_Velocity.x);
            if (angle < -1e-6)
                angle += 2 * M_PI;
            EXPECT_NEAR(angle, expected, 1e-4) << "particle " << k << " of " << n;
            sum += p.m_Velocity * (1.0f / speed);
            EXPECT_EQ(p.m_Sprite->m_Color, given);
            const float rate = -1.0f / p.m_Lifetime;
            EXPECT_EQ(p.m_ColorRate, CColor(rate, rate, 0.0f, rate));
            EXPECT_EQ(p.m_Acceleration, CVector2());
        }
        EXPECT_LT(sum.Length(), 1e-3f);
    }
    EXPECT_EQ(*std::min_element(sizes.begin(), sizes.end()), 30u);
    EXPECT_EQ(*std::max_element(sizes.begin(), sizes.end()), 50u);
}
