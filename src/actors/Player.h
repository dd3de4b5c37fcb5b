#pragma once

#include <bitset>

#include "util/Vector2.h"

class CSprite;
class IFireBulletInterface;

/// Logical buttons the shell maps keys to.
enum EButton
{
    kButtonUp = 0,
    kButtonDown = 1,
    kButtonLeft = 2,
    kButtonRight = 3,
    kButtonFire = 4,
    kButtonCount = 5,
};

/// The figure the user steers: moves with inertia on the canvas (canvas pixels, seconds),
/// shown by one sprite, fires by asking the gameplay. Inert once hit (sprite gone).
class CPlayer
{
public:
    CPlayer();
    ~CPlayer();
    CPlayer(const CPlayer&) = delete;
    CPlayer& operator=(const CPlayer&) = delete;

    /// Holds the button; a direction also nudges the position one pixel and stops that axis.
    void KeyDown(int button);
    void KeyUp(int button);
    void Update(float dt, IFireBulletInterface& gameplay);

    CSprite* Sprite() const { return m_Sprite; }
    /// Removes and destroys the sprite: the player has been hit.
    void RemoveSpriteOnHit();
    const CVector2& Position() const { return m_Position; }
    const CVector2& Velocity() const { return m_Velocity; }
    bool IsHeld(int button) const;

private:
    std::bitset<kButtonCount> m_Buttons;
    CSprite* m_Sprite = nullptr;
    CVector2 m_Velocity;
    CVector2 m_Position = CVector2(4.0f, 11.0f);
    float m_FireCooldown = 0.0f; ///< Seconds until the next shot may leave.
};
