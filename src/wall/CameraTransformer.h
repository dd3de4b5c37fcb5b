#pragma once

#include "render/Camera.h"
#include "util/Vector2.h"

/// 2 x 2 matrix m0 m1 m2 m3, mapping v to (m0 x + m2 y, m1 x + m3 y).
struct CMatrix2
{
    float m[4] = {1.0f, 0.0f, 0.0f, 1.0f};

    /// Rotation by `angle` radians; cos and sin in double precision, stored as floats.
    static CMatrix2 FromAngle(float angle);
    CVector2 Apply(const CVector2& v) const;
    CMatrix2 Inverse() const;
};

/// Zooms a quad about the pivot, shifts it by (position - pivot), turns it about the pivot
/// and adds the camera's angle to its tilt. The note wall edits the pose fields directly.
class CCameraTransformer : public ICamera
{
public:
    CCameraTransformer();

    /// Rebuilds the rotation only when `angle` differs from the stored angle.
    void SetAngle(float angle);
    CPlacedQuad Transform(const CQuadRect& rect, float angle) const override;
    CVector2 TransformPoint(const CVector2& point) const override;

    /// Copies angle, rotation, zoom and position (not the pivot) from `other`.
    void CopyPose(const CCameraTransformer& other);

    float m_Angle = 0.0f; ///< Radians.
    CMatrix2 m_Rotation;
    CVector2 m_Zoom = CVector2(1.0f, 1.0f);
    CVector2 m_Pivot;    ///< Screen centre (512, 384).
    CVector2 m_Position; ///< Screen centre at construction; its offset from the pivot shifts.
};
