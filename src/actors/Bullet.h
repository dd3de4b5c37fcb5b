#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "util/Rect.h"
#include "util/Vector2.h"

class CSprite;

/// A player or level shot flying in a straight line, shown by its own sprite.
struct CBullet
{
    enum EKind
    {
        kPlayerShot = 1,
        kLevelShot = 2,
    };

    /// Makes the sprite from `picture`; previous position = position.
    CBullet(int shooterCode, int kind, const CVector2& position, const CVector2& velocity,
            const char* picture);
    /// Destroys the sprite with RemoveSprite.
    ~CBullet();
    CBullet(const CBullet&) = delete;
    CBullet& operator=(const CBullet&) = delete;

    bool m_Dead = false;
    int m_ShooterCode;
    int m_Kind;
    CVector2 m_PreviousPosition;
    CVector2 m_Position; ///< Centre, canvas pixels.
    CVector2 m_Velocity; ///< Canvas pixels per second.
    CSprite* m_Sprite;
};

/// A target of the swept test: integer origin and size, and whether the point (x, y)
/// relative to the origin holds a value with a bit of the mask.
struct CSweepTarget
{
    CPoint origin;
    int w = 0;
    int h = 0;
    std::function<uint32_t(int x, int y)> value;
    uint32_t mask = 0xFFFFFFFFu;
};

/// Samples the path from `from` to `to` at most one pixel apart, starting with `from`
/// itself, and answers the first hit point relative to the target's origin, or (-1, -1).
CPoint SweptTest(const CVector2& from, const CVector2& to, const CSweepTarget& target);

/// Sound of player shots.
const std::string& PlayerShotSound();
/// Sound of level shots: program-wide, survives a new gameplay.
const std::string& LevelShotSound();
/// Re-picks the level-shot sound when the gameplay moves to the next level.
void RepickLevelShotSound();
