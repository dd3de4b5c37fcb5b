#include "actors/PlayerMotion.h"

#include "util/MathUtil.h"

namespace
{
/// One axis: `negative` wins over `positive` when both are held; with neither held the
/// speed falls toward 0 and stops exactly there, never reversing.
float StepAxis(float velocity, bool negative, bool positive, float dt)
{
    const float acceleration = CPlayerMotion::kAcceleration;
    if (negative)
        return velocity - acceleration * dt;
    if (positive)
        return velocity + acceleration * dt;
    const float step = acceleration * dt;
    if (tarn::Abs(velocity) > step)
        return velocity - tarn::Sign(velocity) * acceleration * dt;
    return 0.0f;
}
} // namespace

void CPlayerMotion::Nudge(EButton button)
{
    switch (button)
    {
    case kButtonUp:
        m_Position.y -= 1.0f;
        m_Velocity.y = 0.0f;
        break;
    case kButtonDown:
        m_Position.y += 1.0f;
        m_Velocity.y = 0.0f;
        break;
    case kButtonLeft:
        m_Position.x -= 1.0f;
        m_Velocity.x = 0.0f;
        break;
    case kButtonRight:
        m_Position.x += 1.0f;
        m_Velocity.x = 0.0f;
        break;
    default:
        break;
    }
}

void CPlayerMotion::Step(const CButtonSet& held, float dt)
{
    m_Velocity.y = StepAxis(m_Velocity.y, held[kButtonUp], held[kButtonDown], dt);
    m_Velocity.x = StepAxis(m_Velocity.x, held[kButtonLeft], held[kButtonRight], dt);

    // The limit is on the length, so a diagonal is no faster than a straight line.
    if (m_Velocity.Length() > kSpeedLimit)
        m_Velocity = m_Velocity.Normalised() * kSpeedLimit;

    m_Position += m_Velocity * dt;

    // Only the position is clamped: pushing against an edge keeps the speed.
    m_Position.x = tarn::Clamp(m_Position.x, kMinX, kMaxX);
    m_Position.y = tarn::Clamp(m_Position.y, kMinY, kMaxY);
}
