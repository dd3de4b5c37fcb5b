#pragma once

#include "util/Vector2.h"

/// A rectangle about to be drawn: top-left corner and size, virtual screen pixels.
struct CQuadRect
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

/// Where a camera puts a quad: rectangle, tilt in radians and a visible flag.
struct CPlacedQuad
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
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
