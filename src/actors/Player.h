#pragma once

#include "actors/PlayerMotion.h"
#include "util/Vector2.h"

class CSprite;
class IFireBulletInterface;

/// The figure the user steers: moves with inertia on the canvas (canvas pixels, seconds),
/// shown by one sprite, fires by asking the gameplay. Inert once hit (sprite gone).
class CPlayer
{
public:
    static constexpr float kFireCooldown = 0.23f; ///< Seconds between shots while held.

    /// Sprite from "data/gfx/it_guy.png" (missing: an invisible 0 x 0 sprite).
    CPlayer();
    /// Removes the sprite if the player was never hit.
    ~CPlayer();
    CPlayer(const CPlayer&) = delete;
    CPlayer& operator=(const CPlayer&) = delete;

    /// Holds the button; a direction also nudges the position one pixel and stops that axis.
    /// Buttons outside 0 ... 4 are ignored.
    void KeyDown(EButton button);
    void KeyUp(EButton button);
    /// Fire, move, place the sprite. Does nothing once the sprite is gone.
    void Update(float dt, IFireBulletInterface& gameplay);

    /// Null once the player has been hit.
    CSprite* Sprite() const { return m_Sprite; }
    /// Removes and destroys the sprite: the player has been hit.
    void RemoveSpriteOnHit();
    const CVector2& Position() const { return m_Motion.m_Position; }
    bool IsHeld(EButton button) const;

private:
    CButtonSet m_Buttons;
    CSprite* m_Sprite = nullptr;
    CPlayerMotion m_Motion;
    float m_FireCooldown = 0.0f; ///< Seconds until the next shot may leave; falls below 0.
};
