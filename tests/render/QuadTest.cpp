#include <gtest/gtest.h>

#include <cmath>

#include "render/Quad.h"

namespace
{
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
