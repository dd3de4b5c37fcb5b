#pragma once

#include <string>

#include "actors/Sweep.h"
#include "util/Vector2.h"

class CSprite;

/// A player or level shot flying in a straight line, shown by its own sprite. Owned by the
/// gameplay's bullet list, which moves, tests and removes it (CGameplayImpl).
struct CBullet
{
    enum EKind : int
    {
        kPlayerShot = 1,
        kLevelShot = 2,
    };
    /// Shooter codes: who fired. Kept with the bullet; the game never reads them back.
    enum EShooter : int
    {
        kShooterPlayer = 1,
        kShooterLevelGun = 2,  ///< A gun cell, or the creature's middle when none is left.
        kShooterLevelCore = 3, ///< A core cell.
    };

    /// Makes the sprite from `picture`; previous position = position. The sprite keeps its
    /// default placement until the bullet's first update.
    CBullet(EShooter shooterCode, EKind kind, const CVector2& position, const CVector2& velocity,
            const char* picture);
    /// Destroys the sprite with RemoveSprite.
    ~CBullet();
    CBullet(const CBullet&) = delete;
    CBullet& operator=(const CBullet&) = delete;

    bool m_Dead = false; ///< Removed at the bullet's next visit of the update.
    EShooter m_ShooterCode;
    EKind m_Kind; ///< Selects the collision rule.
    CVector2 m_PreviousPosition;
    CVector2 m_Position; ///< Centre, canvas pixels.
    CVector2 m_Velocity; ///< Canvas pixels per second.
    CSprite* m_Sprite;
};

/// A bullet whose x or y leaves [-20, 70] after a move is dead.
bool OutsidePlayArea(const CVector2& position);

/// Sound of player shots.
const std::string& PlayerShotSound();
/// Sound of level shots: program-wide, survives a new gameplay.
const std::string& LevelShotSound();
/// Re-picks the level-shot sound when the gameplay moves to the next level: fire_03, or
/// fire_04 when a random float in [0, 1] is below 0.5.
void RepickLevelShotSound();
