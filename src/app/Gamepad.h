#pragma once

#include <SDL.h>

#include "actors/PlayerMotion.h"

/// Stick values within this distance of the centre (of 32767) count as the centre: worn
/// sticks rest well off zero, and a light touch should not steer.
constexpr int kStickDeadZone = 8000;
/// Buttons 0 ... 3 are the face buttons on the common pads (A B X Y, cross circle square
/// triangle); they fire. Every button leaves the title screen.
constexpr int kFaceButtons = 4;

/// The directions of a hat position (SDL_HAT_* bits; diagonals give two).
CButtonSet HatButtons(Uint8 hat);
/// The directions of stick axis 0 (x, left negative) or 1 (y, up negative) at `value`;
/// other axes give none.
CButtonSet AxisButtons(Uint8 axis, Sint16 value);

/// What the first joystick holds, from its events. The hat, the stick and the face buttons
/// each keep their own share, so a direction held on two of them stays until both let go.
class CPad
{
public:
    /// Takes a joystick event into account; false for any other event (left untouched).
    bool Apply(const SDL_Event& event);
    /// The logical buttons held now.
    CButtonSet Held() const;

private:
    CButtonSet m_Hat;
    CButtonSet m_Axis[2];
    unsigned int m_FaceDown = 0; ///< bit per face button held
};
