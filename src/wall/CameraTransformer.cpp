#include "wall/CameraTransformer.h"

#include <cmath>

#include "render/Video.h"

namespace
{
// Pivot and initial aim of every camera: the middle of the virtual screen.
const CVector2 kScreenCentre(0.5f * static_cast<float>(kVirtualScreenWidth),
                             0.5f * static_cast<float>(kVirtualScreenHeight));
} // namespace

CMatrix2 CMatrix2::FromAngle(float angle)
{
    const double a = angle;
    const float c = static_cast<float>(std::cos(a));
    const float s = static_cast<float>(std::sin(a));
    CMatrix2 r;
    r.m[0] = c;
    r.m[1] = s;
    r.m[2] = -s;
    r.m[3] = c;
    return r;
}

CVector2 CMatrix2::Apply(const CVector2& v) const
{
    return CVector2(m[0] * v.x + m[2] * v.y, m[1] * v.x + m[3] * v.y);
}

CMatrix2 CMatrix2::Inverse() const
{
    const float e = 1.0f / (m[0] * m[3] - m[2] * m[1]);
    CMatrix2 r;
    r.m[0] = m[3] * e;
    r.m[1] = -m[1] * e;
    r.m[2] = -m[2] * e;
    r.m[3] = m[0] * e;
    return r;
}

CCameraTransformer::CCameraTransformer() : m_Pivot(kScreenCentre), m_Position(kScreenCentre) {}

void CCameraTransformer::SetAngle(float angle)
{
    // An unchanged angle keeps the rotation as it is, even one edited directly; a NaN
    // never compares equal, so it always rebuilds.
    if (angle == m_Angle)
        return;
    m_Angle = angle;
    m_Rotation = CMatrix2::FromAngle(angle);
}

CPlacedQuad CCameraTransformer::Transform(const CQuadRect& rect, float angle) const
{
    const CVector2 half(rect.width * 0.5f, rect.height * 0.5f);
    CVector2 c = CVector2(rect.x - m_Pivot.x, rect.y - m_Pivot.y) + half;
    c = CVector2(c.x * m_Zoom.x, c.y * m_Zoom.y);
    const float width = rect.width * m_Zoom.x;
    const float height = rect.height * m_Zoom.y;
    c = c + m_Position - m_Pivot;
    c = m_Rotation.Apply(c);
    c = c + m_Pivot;

    CPlacedQuad placed;
    placed.rect.x = c.x - width * 0.5f;
    placed.rect.y = c.y - height * 0.5f;
    placed.rect.width = width;
    placed.rect.height = height;
    placed.angle = m_Angle + angle;
    placed.visible = true;
    return placed;
}

CVector2 CCameraTransformer::TransformPoint(const CVector2& point) const
{
    CVector2 d = point - m_Position;
    d = m_Rotation.Inverse().Apply(d);
    d = CVector2(d.x / m_Zoom.x, d.y / m_Zoom.y);
    return d + m_Pivot;
}

void CCameraTransformer::CopyPose(const CCameraTransformer& other)
{
    m_Angle = other.m_Angle;
    m_Rotation = other.m_Rotation;
    m_Zoom = other.m_Zoom;
    m_Position = other.m_Position;
}
