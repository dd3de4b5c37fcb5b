#pragma once

#include "actors/Bullet.h"
#include "actors/ParticleList.h"
#include "util/Vector2.h"

/// The gameplay as the actors see it: the player and the level ask it for their shots, the
/// level for the particle list its explosions go into.
class IFireBulletInterface
{
public:
    virtual ~IFireBulletInterface() = default;
    virtual void FirePlayerBullet() {}
    /// A level shot from the canvas point `position`, flying left at `speed` px/s.
    virtual void FireLevelBullet(const CVector2& position, CBullet::EShooter code, float speed)
    {
        (void)position;
        (void)code;
        (void)speed;
    }
    virtual CParticleList* GetParticles() = 0;
};
