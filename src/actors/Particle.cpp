#include "actors/Particle.h"

#include <cmath>
#include <utility>

#include "audio/SoundLibrary.h"
#include "canvas/Sprite.h"
#include "util/MathUtil.h"
#include "util/Random.h"
#include "util/SwapRemove.h"

namespace
{
const char* const kExplosionSound = "data/sfx/explosion_sound.wav";
const char* const kSmallPicture = "data/gfx/particle-01.png";
const char* const kLargePicture = "data/gfx/particle-02.png";
const CVector2 kGravity(0.0f, 75.0f); ///< Canvas pixels per second squared, +y is down.
constexpr float kLargeSoundChance = 0.15f;
constexpr double kFullTurn = 6.283185; ///< Radians; the ring's angles use this value.

/// One burst group: how its particles start and move.
struct CBurstGroup
{
    const char* picture;
    bool randomColor; ///< Fiery random colour fading out, else the given colour kept.
    float minSpeed;   ///< Canvas pixels per second.
    float maxSpeed;
    float minFactorX; ///< Lower bound of the x velocity factor; the upper is 1.
    CVector2 acceleration;
};

const CBurstGroup kGroups[3] = {
    {kSmallPicture, true, 10.0f, 75.0f, 0.0f, CVector2()},
    {kLargePicture, true, 100.0f, 150.0f, -0.5f, kGravity},
    {kLargePicture, false, 100.0f, 150.0f, -0.5f, kGravity},
};

float RandomLifetime()
{
    return 1.0f + tarn::RandomFloat(-0.25f, 0.25f);
}

/// Fades red, green and alpha to 0 over the lifetime; blue stays.
CColor FadeRate(float lifetime)
{
    const float rate = -1.0f / lifetime;
    return CColor(rate, rate, 0.0f, rate);
}

/// The centre moved by up to one pixel each way (x drawn first).
CVector2 RandomStart(const CVector2& centre)
{
    CVector2 start;
    start.x = centre.x + tarn::RandomFloat(-1.0f, 1.0f);
    start.y = centre.y + tarn::RandomFloat(-1.0f, 1.0f);
    return start;
}

/// A registered sprite in `color`, centred on `start` by the shared placement rule.
CSprite* CreateParticleSprite(const char* picture, const CVector2& start, const CColor& color)
{
    CSprite* sprite = CreateSprite(picture);
    sprite->m_Color = color;
    PlaceCentred(*sprite, start.x, start.y);
    return sprite;
}

/// Red 0.75 to 1, green 0.5 to c with c itself 0.75 to 1: yellow to orange, opaque.
CColor RandomFireColor()
{
    const float r = tarn::RandomFloat(0.75f, 1.0f);
    const float c = tarn::RandomFloat(0.75f, 1.0f);
    const float g = tarn::RandomFloat(0.5f, c);
    return CColor(r, g, 0.0f, 1.0f);
}
} // namespace

CParticle::CParticle(CSprite* sprite) : m_Sprite(sprite)
{
    if (m_Sprite)
        m_Position = CVector2(static_cast<float>(m_Sprite->m_X) + 0.5f * m_Sprite->m_W,
                              static_cast<float>(m_Sprite->m_Y) + 0.5f * m_Sprite->m_H);
    // Clamps the colour and re-places the sprite by the particle's own rule.
    Update(0.0f);
    m_ColorRate = CColor(0.0f, 0.0f, 0.0f, 0.0f);
}

CParticle::~CParticle()
{
    if (m_OwnsSprite && m_Sprite)
        RemoveSprite(m_Sprite);
}

void CParticle::Update(float dt)
{
    // Age first, even without a sprite, so a particle without a picture still ends.
    m_Age += dt;
    if (m_Age >= m_Lifetime)
        m_Dead = true;
    if (!m_Sprite)
        return;

    CColor& color = m_Sprite->m_Color;
    color.r = tarn::Clamp(color.r + m_ColorRate.r * dt, 0.0f, 1.0f);
    color.g = tarn::Clamp(color.g + m_ColorRate.g * dt, 0.0f, 1.0f);
    color.b = tarn::Clamp(color.b + m_ColorRate.b * dt, 0.0f, 1.0f);
    color.a = tarn::Clamp(color.a + m_ColorRate.a * dt, 0.0f, 1.0f);

    m_Position += m_Velocity * dt;
    // No + 0.5 on the position here (unlike the other actors): int() truncates it.
    m_Sprite->m_X = TruncatedCentredCorner(m_Position.x, m_Sprite->m_W);
    m_Sprite->m_Y = TruncatedCentredCorner(m_Position.y, m_Sprite->m_H);

    m_Velocity += m_Acceleration * dt;
}

void UpdateParticles(CParticleList& particles, float dt)
{
    std::size_t i = 0;
    while (i < particles.size())
    {
        particles[i]->Update(dt);
        if (!particles[i]->m_Dead)
        {
            ++i;
            continue;
        }
        // The last particle moves into the slot and is updated next, in this same pass.
        tarn::SwapRemove(particles, i);
    }
}

void CreateExplosion(CParticleList* particles, const CVector2& centre, const CColor& color,
                     bool small)
{
    if (!particles)
        return;
    // A large burst happens once per crumbling frame: only some of them are heard.
    if (small || tarn::RandomFloat(0.0f, 1.0f) < kLargeSoundChance)
        PlaySound(kExplosionSound);

    for (int g = 0; g < 3; ++g)
    {
        const CBurstGroup& group = kGroups[g];
        int count = 0;
        if (g == 0)
            count = small ? 3 : tarn::RandomInt(10, 20);
        else if (g == 1)
            count = small ? 1 : tarn::RandomInt(20, 40);
        else
            count = tarn::RandomInt(4, 7);

        for (int i = 0; i < count; ++i)
        {
            // Draw order: start, then colour, then motion and lifetime.
            const CVector2 start = RandomStart(centre);
            const CColor startColor = group.randomColor ? RandomFireColor() : color;
            CSprite* sprite = CreateParticleSprite(group.picture, start, startColor);
            const float speed = tarn::RandomFloat(group.minSpeed, group.maxSpeed);
            const float vx = speed * tarn::RandomFloat(group.minFactorX, 1.0f);
            const float vy = speed * tarn::RandomFloat(-1.0f, 1.0f);
            const float lifetime = RandomLifetime();

            auto particle = std::make_unique<CParticle>(sprite);
            particle->m_Lifetime = lifetime;
            particle->m_Velocity = CVector2(vx, vy);
            particle->m_ColorRate = group.randomColor ? FadeRate(lifetime) : CColor();
            particle->m_Acceleration = group.acceleration;
            particles->push_back(std::move(particle));
        }
    }
}

void CreateRingExplosion(CParticleList* particles, const CVector2& centre, const CColor& color)
{
    if (!particles)
        return;
    PlaySound(kExplosionSound);

    const int n = tarn::RandomInt(30, 50);
    const float step = static_cast<float>(kFullTurn / n);
    float angle = 0.0f;
    for (int k = 0; k < n; ++k)
    {
        CSprite* sprite = CreateParticleSprite(kSmallPicture, RandomStart(centre), color);
        const float speed = tarn::RandomFloat(50.0f, 80.0f);
        const CVector2 velocity(speed * std::cos(angle), speed * std::sin(angle));
        angle += step;
        const float lifetime = RandomLifetime();

        auto particle = std::make_unique<CParticle>(sprite);
        particle->m_Lifetime = lifetime;
        particle->m_Velocity = velocity;
        particle->m_ColorRate = FadeRate(lifetime);
        particles->push_back(std::move(particle));
    }
}
