#include "render/Camera.h"

CVector2 ICamera::TransformPoint(const CVector2& point) const
{
    const CPlacedQuad q = Transform(CQuadRect{point.x - 0.5f, point.y - 0.5f, 1.0f, 1.0f}, 0.0f);
    return CVector2(q.rect.x + q.rect.width * 0.5f, q.rect.y + q.rect.height * 0.5f);
}
