#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "wall/CameraTransformer.h"

namespace
{
// Single-precision steps land within a few units of the last place of the decimal values:
// -25.6 comes out as -25.599987.
void ExpectPlaced(const CPlacedQuad& q, float x, float y, float w, float h, float angle)
{
    EXPECT_NEAR(q.x, x, 1e-4f);
    EXPECT_NEAR(q.y, y, 1e-4f);
    EXPECT_NEAR(q.width, w, 1e-4f);
    EXPECT_NEAR(q.height, h, 1e-4f);
    EXPECT_NEAR(q.angle, angle, 1e-7f);
    EXPECT_TRUE(q.visible);
}
} // namespace

TEST(Camera, TheInitialCameraLeavesEveryQuadAsItIs)
{
    const CCameraTransformer camera;
    const CQuadRect rects[] = {{0, 0, 32, 32}, {-32, -32, 1088, 832}, {993.5f, 700, 51.2f, 7}};
    for (const CQuadRect& r : rects)
    {
        const CPlacedQuad q = camera.Transform(r, 0.25f);
        EXPECT_EQ(q.x, r.x);
        EXPECT_EQ(q.y, r.y);
        EXPECT_EQ(q.width, r.width);
        EXPECT_EQ(q.height, r.height);
        EXPECT_EQ(q.angle, 0.25f);
    }
}

TEST(Camera, ZoomsShiftsAndTurnsAboutThePivot)
{
    CCameraTransformer zoomed;
    zoomed.m_Zoom = CVector2(1.05f, 1.05f);
    ExpectPlaced(zoomed.Transform(CQuadRect{0, 0, 32, 32}, 0.0f), -25.6f, -19.2f, 33.6f, 33.6f,
                 0.0f);

    CCameraTransformer moved;
    moved.m_Position = CVector2(518.0f, 380.0f);
    ExpectPlaced(moved.Transform(CQuadRect{0, 0, 32, 32}, 0.0f), 6.0f, -4.0f, 32.0f, 32.0f, 0.0f);

    CCameraTransformer turned;
    turned.SetAngle(0.03f);
    ExpectPlaced(turned.Transform(CQuadRect{496, 368, 32, 32}, 0.01f), 496.0f, 368.0f, 32.0f, 32.0f,
                 0.04f);
    // Off the pivot the centre swings clockwise on screen: right of the pivot goes down.
    const CPlacedQuad right = turned.Transform(CQuadRect{896, 368, 32, 32}, 0.0f);
    EXPECT_GT(right.y, 368.0f);
    EXPECT_NEAR(right.y - 368.0f, 400.0f * std::sin(0.03f), 1e-3f);
}

TEST(Camera, TransformPoint)
{
    CCameraTransformer camera;
    camera.m_Zoom = CVector2(2.0f, 2.0f);
    camera.m_Position = CVector2(612.0f, 384.0f);
    const CVector2 p = camera.TransformPoint(CVector2(712.0f, 384.0f));
    EXPECT_FLOAT_EQ(p.x, 562.0f);
    EXPECT_FLOAT_EQ(p.y, 384.0f);

    // The interface's own body maps a point as the centre of a transformed unit square.
    const CVector2 viaSquare = camera.ICamera::TransformPoint(CVector2(522.0f, 394.0f));
    EXPECT_FLOAT_EQ(viaSquare.x, 512.0f + 20.0f + 100.0f);
    EXPECT_FLOAT_EQ(viaSquare.y, 384.0f + 20.0f);
}
