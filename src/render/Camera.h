#pragma once

#include "util/Rect.h"
#include "util/Vector2.h"

/// Where a camera puts a quad: rectangle, tilt in radians and a visible flag.
struct CPlacedQuad
{
    CQuadRect rect;
    float angle = 0.0f;
    bool visible = true;
};

/// The transform DrawQuad applies to quads drawn with the camera flag. The note wall's
/// camera (CCameraTransformer) implements it; render knows only this face of it.
class ICamera
{
public:
    virtual ~ICamera() = default;
    virtual CPlacedQuad Transform(const CQuadRect& rect, float angle) const = 0;
    /// Default: the centre of the transformed 1 x 1 square around the point.
    virtual CVector2 TransformPoint(const CVector2& point) const;
};
