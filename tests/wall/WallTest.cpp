#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "util/Random.h"
#include "wall/CameraTransformer.h"
#include "wall/Palette.h"

// About the screen centre (512, 384) a camera zooms, shifts by its position's offset from
// it, and turns clockwise as seen (right of the centre goes down), adding its angle to the
// quad's. Single-precision steps land within a few units of the last place.
TEST(Camera, ZoomsShiftsAndTurnsAboutTheScreenCentre)
{
    // A quad 400 pixels right of and below the centre swings by this much.
    const float dx = 400 * (std::cos(0.03f) - std::sin(0.03f));
    const float dy = 400 * (std::sin(0.03f) + std::cos(0.03f));
    const struct
    {
        float zoom, x, y, angle;
        CQuadRect rect;
        CPlacedQuad placed;
    } cases[] = {
        {1.05f, 512, 384, 0, {0, 0, 32, 16}, {-25.6f, -19.2f, 33.6f, 16.8f, 0.25f, true}},
        {1, 518, 380, 0, {0, 0, 32, 32}, {6, -4, 32, 32, 0.25f, true}},
        {1, 512, 384, 0.03f, {896, 768, 32, 32}, {496 + dx, 368 + dy, 32, 32, 0.28f, true}},
    };
    for (const auto& k : cases)
    {
        CCameraTransformer camera;
        camera.m_Zoom = CVector2(k.zoom, k.zoom);
        camera.m_Position = CVector2(k.x, k.y);
        camera.SetAngle(k.angle);
        const CPlacedQuad q = camera.Transform(k.rect, 0.25f);
        EXPECT_TRUE(std::fabs(q.x - k.placed.x) < 1e-4f && std::fabs(q.y - k.placed.y) < 1e-4f &&
                    std::fabs(q.width - k.placed.width) < 1e-4f &&
                    std::fabs(q.height - k.placed.height) < 1e-4f &&
                    std::fabs(q.angle - k.placed.angle) < 1e-7f && q.visible)
            << k.rect.x << ": " << q.x << ", " << q.y << ", " << q.width << " x " << q.height;
    }
}

// A point maps back through the position, the turn and the zoom. The interface's own
// version maps it as the centre of a transformed unit square.
TEST(Camera, TransformPoint)
{
    CCameraTransformer camera;
    camera.m_Zoom = CVector2(2.0f, 2.0f);
    camera.m_Position = CVector2(612.0f, 384.0f);
    const CVector2 viaSquare = camera.ICamera::TransformPoint(CVector2(522.0f, 394.0f));
    EXPECT_TRUE(viaSquare.x == 632.0f && viaSquare.y == 404.0f);
    camera.SetAngle(0.5f);
    const CVector2 p =
        camera.TransformPoint(CVector2(612 + 100 * std::cos(0.5f), 384 + 100 * std::sin(0.5f)));
    EXPECT_TRUE(std::fabs(p.x - 562.0f) < 1e-4f && std::fabs(p.y - 384.0f) < 1e-4f) << p.x;
}

// A colour closer than 0.15 (mean channel difference) to its nearest note colour keeps its
// own shade and alpha; a farther one becomes that note colour, alpha 1. Only a strictly
// closer entry is taken: of two at the same distance the earlier.
TEST(Palette, MapsFarColoursToTheNearestNoteColourAndKeepsNearOnes)
{
    const std::vector<CColor> palette = MakePalette(NotePaletteColors());
    auto bytes = [](int r, int g, int b, float a)
    { return CColor(r / 255.0f, g / 255.0f, b / 255.0f, a); };
    EXPECT_EQ(MapToPalette(palette, bytes(255, 0, 0, 0.3f)), bytes(0xA3, 0, 0x26, 1)); // 0.170
    EXPECT_EQ(MapToPalette(palette, bytes(0, 10, 87, 0.3f)), bytes(0, 10, 87, 0.3f));  // 0.137
    const std::vector<CColor> twoEqual = {CColor(1, 0, 0, 1), CColor(0, 1, 0, 1)};
    EXPECT_EQ(MapToPalette(twoEqual, CColor(0.5f, 0.5f, 0, 1)), CColor(1, 0, 0, 1));
    const CColor atLimit(std::nextafter(0.45f, 1.0f), 0, 0, 0.5f);
    ASSERT_EQ(ColorDistance(CColor(0, 0, 0, 1), atLimit), 0.15f);
    EXPECT_EQ(MapToPalette({CColor(0, 0, 0, 1)}, atLimit), CColor(0, 0, 0, 1));
    EXPECT_EQ(MapToPalette({CColor(0, 0, 0, 1)}, CColor(0.45f, 0, 0, 0.5f)),
              CColor(0.45f, 0, 0, 0.5f));
}

// Each channel varies by up to 10 either way, clamped: unclamped, 3 - 10 would wrap to 249
// and 250 + 10 to 4.
TEST(Palette, RandomVariantVariesEachChannelByTenClamped)
{
    EXPECT_EQ(RandomVariant({}).a, 255);
    tarn::test::SeedRandom(7u, 1.0);
    std::set<int> edge[3], mid[3];
    for (int i = 0; i < 1000; ++i)
    {
        const CByteColor e = RandomVariant({0x03FAFA}), m = RandomVariant({0x808080});
        ASSERT_EQ(e.a, 255);
        for (int k = 0; k < 3; ++k)
        {
            edge[k].insert((&e.r)[k]);
            mid[k].insert((&m.r)[k]);
        }
    }
    EXPECT_TRUE(*edge[0].begin() == 0 && *edge[0].rbegin() == 13 && *edge[1].begin() == 240 &&
                *edge[1].rbegin() == 255);
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(*mid[k].begin() == 0x80 - 10 && *mid[k].rbegin() == 0x80 + 10) << k;
}
