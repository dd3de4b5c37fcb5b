#include "actors/Bullet.h"

#include "canvas/Sprite.h"
#include "util/Random.h"

namespace
{
constexpr float kPlayAreaMin = -20.0f; ///< Canvas pixels, both axes.
constexpr float kPlayAreaMax = 70.0f;

std::string& CurrentLevelShotSound()
{
    static std::string sound = "data/sfx/fire_04.wav";
    return sound;
}
} // namespace

CBullet::CBullet(EShooter shooterCode, EKind kind, const CVector2& position,
                 const CVector2& velocity, const char* picture)
    : m_ShooterCode(shooterCode), m_Kind(kind), m_PreviousPosition(position), m_Position(position),
      m_Velocity(velocity), m_Sprite(CreateSprite(picture))
{
}

CBullet::~CBullet()
{
    RemoveSprite(m_Sprite);
}

bool OutsidePlayArea(const CVector2& position)
{
    return position.x < kPlayAreaMin || position.x > kPlayAreaMax || position.y < kPlayAreaMin ||
           position.y > kPlayAreaMax;
}

const std::string& PlayerShotSound()
{
    static const std::string sound = "data/sfx/fire_07.wav";
    return sound;
}

const std::string& LevelShotSound()
{
    return CurrentLevelShotSound();
}

void RepickLevelShotSound()
{
    // Always draws one random float, whichever sound it keeps.
    CurrentLevelShotSound() = "data/sfx/fire_03.wav";
    if (tarn::RandomFloat(0.0f, 1.0f) < 0.5f)
        CurrentLevelShotSound() = "data/sfx/fire_04.wav";
}
