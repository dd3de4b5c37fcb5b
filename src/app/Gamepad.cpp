#include "app/Gamepad.h"

namespace
{
CButtonSet Bit(EButton button)
{
    return CButtonSet().set(button);
}
} // namespace

CButtonSet HatButtons(Uint8 hat)
{
    CButtonSet held;
    if (hat & SDL_HAT_UP)
        held |= Bit(kButtonUp);
    if (hat & SDL_HAT_DOWN)
        held |= Bit(kButtonDown);
    if (hat & SDL_HAT_LEFT)
        held |= Bit(kButtonLeft);
    if (hat & SDL_HAT_RIGHT)
        held |= Bit(kButtonRight);
    return held;
}

CButtonSet AxisButtons(Uint8 axis, Sint16 value)
{
    if (axis > 1 || (value >= -kStickDeadZone && value <= kStickDeadZone))
        return {};
    if (axis == 0)
        return Bit(value < 0 ? kButtonLeft : kButtonRight);
    return Bit(value < 0 ? kButtonUp : kButtonDown);
}

bool CPad::Apply(const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_JOYHATMOTION:
        if (event.jhat.hat == 0)
            m_Hat = HatButtons(event.jhat.value);
        return true;
    case SDL_JOYAXISMOTION:
        if (event.jaxis.axis <= 1)
            m_Axis[event.jaxis.axis] = AxisButtons(event.jaxis.axis, event.jaxis.value);
        return true;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (event.jbutton.button < kFaceButtons)
        {
            const unsigned int bit = 1u << event.jbutton.button;
            m_FaceDown = event.type == SDL_JOYBUTTONDOWN ? (m_FaceDown | bit) : (m_FaceDown & ~bit);
        }
        return true;
    case SDL_JOYBALLMOTION:
        return true;
    default:
        return false;
    }
}

CButtonSet CPad::Held() const
{
    return (m_Hat | m_Axis[0] | m_Axis[1]).set(kButtonFire, m_FaceDown != 0);
}
