#pragma once

#include <bitset>

#include "canvas/CanvasSize.h"
#include "util/Vector2.h"

/// Logical buttons the shell maps keys to; any other number is no button (ignored).
enum EButton : int
{
    kButtonNone = -1, ///< A key that is no button.
    kButtonUp = 0,
    kButtonDown = 1,
    kButtonLeft = 2,
    kButtonRight = 3,
    kButtonFire = 4,
    kButtonCount = 5,
};

/// Held state of the logical buttons, indexed by EButton.
using CButtonSet = std::bitset<kButtonCount>;

/// The player's movement on its own, without picture or shots: inertia, braking that stops
/// at 0, a speed limit on the length and a clamp that keeps the velocity. Canvas pixels and
/// seconds, single precision at every stored step.
struct CPlayerMotion
{
    static constexpr float kAcceleration = 80.0f; ///< px/s², also the braking.
    static constexpr float kSpeedLimit = 20.0f;   ///< px/s, on the velocity's length.
    /// The centre's range: the last canvas column and row at most.
    static constexpr float kMinX = -1.0f;
    static constexpr float kMaxX = static_cast<float>(kCanvasWidth - 1);
    static constexpr float kMinY = -3.0f;
    static constexpr float kMaxY = static_cast<float>(kCanvasHeight - 1);

    /// A direction press moves one pixel at once and stops that axis. Not clamped: the next
    /// Step clamps. Fire and unknown buttons do nothing.
    void Nudge(EButton button);
    /// One update: accelerate or brake each axis, limit the speed, move, clamp.
    void Step(const CButtonSet& held, float dt);

    CVector2 m_Velocity;                         ///< Canvas pixels per second.
    CVector2 m_Position = CVector2(4.0f, 11.0f); ///< Centre of the sprite, canvas pixels.
};
