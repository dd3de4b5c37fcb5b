#include <gtest/gtest.h>

#include <cmath>

#include "canvas/Color.h"
#include "render/Quad.h"
#include "wall/Camera.h"

namespace
{
class CCountingCamera : public ICamera
{
public:
    CPlacedQuad Transform(const CQuadRect& rect, float angle) const override
    {
        ++m_Calls;
        return CPlacedQuad{rect.x, rect.y, rect.width, rect.height, angle, true};
    }
    mutable int m_Calls = 0;
};

void ExpectVertex(const CQuadVertex& v, float x, float y, float u, float tv, const char* what)
{
    EXPECT_NEAR(v.x, x, 1e-5f) << what;
    EXPECT_NEAR(v.y, y, 1e-5f) << what;
    EXPECT_EQ(v.u, u) << what;
    EXPECT_EQ(v.v, tv) << what;
}
} // namespace

TEST(QuadVertices, AnUnturnedQuadIsItsRectangleInStripOrder)
{
    CQuadVertex v[4];
    QuadVertices(10.0f, 20.0f, 30.0f, 40.0f, 0.0f, 0.5f, 0.25f, v);
    ExpectVertex(v[0], 10, 20, 0, 0, "P0 top-left");
    ExpectVertex(v[1], 10, 60, 0, 0.25f, "P1 bottom-left");
    ExpectVertex(v[2], 40, 20, 0.5f, 0, "P2 top-right");
    ExpectVertex(v[3], 40, 60, 0.5f, 0.25f, "P3 bottom-right");
}

TEST(QuadVertices, APositiveQuarterTurnGoesClockwiseAboutTheCentre)
{
    CQuadVertex v[4];
    const float halfPi = static_cast<float>(M_PI / 2.0);
    QuadVertices(0.0f, 0.0f, 20.0f, 10.0f, halfPi, 1.0f, 1.0f, v);
    // About the centre (10, 5) the 20 x 10 quad stands up as 10 x 20; the top-left corner
    // moves to the top-right, as a clockwise turn on a y-down screen does.
    ExpectVertex(v[0], 15, -5, 0, 0, "P0");
    ExpectVertex(v[1], 5, -5, 0, 1, "P1");
    ExpectVertex(v[2], 15, 15, 1, 0, "P2");
    ExpectVertex(v[3], 5, 15, 1, 1, "P3");
}

TEST(DrawQuad, ANullTextureDrawsNothingAndDoesNotConsultTheCamera)
{
    CCountingCamera camera;
    SetCamera(&camera);
    const CColor white(1, 1, 1, 1);
    // No GL context exists here; the counting camera shows whether the call got that far.
    DrawQuad(nullptr, 0, 0, 100, 100, &white, 0.5f, true);
    EXPECT_EQ(camera.m_Calls, 0);
    SetCamera(nullptr);
    EXPECT_EQ(GetCamera(), nullptr);
}
