#include "render/Camera.h"

CVector2 ICamera::TransformPoint(const CVector2& point) const
{
    const CPlacedQuad q = Transform(CQuadRect{point.x - 0.5f, point.y - 0.5f, 1.0f, 1.0f}, 0.0f);
    return CVector2(q.x + q.width * 0.5f, q.y + q.height * 0.5f);
}
