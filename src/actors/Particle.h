#pragma once

#include "actors/ParticleList.h"
#include "canvas/Color.h"
#include "util/Vector2.h"

class CSprite;

/// One short-lived explosion fragment: a small sprite with constant acceleration whose
/// colour (the sprite's m_Color) changes at a constant rate until its lifetime is over.
class CParticle
{
public:
    /// Takes the sprite (may be null); the position is its centre. Runs one zero-time
    /// update (clamps the colour, places the sprite), then zeroes the colour rate.
    explicit CParticle(CSprite* sprite);
    virtual ~CParticle();
    CParticle(const CParticle&) = delete;
    CParticle& operator=(const CParticle&) = delete;

    virtual void Update(float dt);

    CSprite* m_Sprite;
    bool m_Dead = false;
    float m_Age = 0.0f;      ///< Seconds since creation.
    float m_Lifetime = 1.0f; ///< Seconds.
    CVector2 m_Position;     ///< Centre, canvas pixels.
    CColor m_ColorRate;      ///< Change of each colour channel per second.
    CVector2 m_Velocity;     ///< Canvas pixels per second.
    bool m_OwnsSprite = true;
    CVector2 m_Acceleration; ///< Canvas pixels per second squared; gravity is +y.
};

/// Updates every particle once and deletes those whose age reached their lifetime, moving
/// the last one into the freed slot.
void UpdateParticles(CParticleList& particles, float dt);
/// A burst of three groups of particles at `centre` (canvas pixels): small where a shot
/// breaks a cell, large where the crumbling level removes one.
void CreateExplosion(CParticleList* particles, const CVector2& centre, const CColor& color,
                     bool small);
/// 30 to 50 particles flying outwards at evenly spaced angles.
void CreateRingExplosion(CParticleList* particles, const CVector2& centre, const CColor& color);
