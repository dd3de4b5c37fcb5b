#include <gtest/gtest.h>

#include <cmath>

#include "util/Random.h"
#include "wall/CameraTransformer.h"
#include "wall/Palette.h"

// About the screen centre (512, 384) a camera zooms, shifts by its position's offset from
// it, and turns clockwise as seen (right of the centre goes down), adding its angle to the
// quad's. Single-precision steps land within a few units of the last place: -25.6 comes
// out as -25.599987.
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
        {1, 512, 384, 0, {993.5f, 700, 51.2f, 7}, {993.5f, 700, 51.2f, 7, 0.25f, true}},
        {1.05f, 512, 384, 0, {0, 0, 32, 32}, {-25.6f, -19.2f, 33.6f, 33.6f, 0.25f, true}},
        {1, 518, 380, 0, {0, 0, 32, 32}, {6, -4, 32, 32, 0.25f, true}},
        {1, 512, 384, 0.03f, {496, 368, 32, 32}, {496, 368, 32, 32, 0.28f, true}},
        {1, 512, 384, 0.03f, {896, 768, 32, 32}, {496 + dx, 368 + dy, 32, 32, 0.28f, true}},
    };
    for (const auto& k : cases)
    {
        CCameraTransformer camera;
        camera.m_Zoom = CVector2(k.zoom, k.zoom);
        camera.m_Position = CVector2(k.x, k.y);
        camera.SetAngle(k.angle);
        const CPlacedQuad q = camera.Transform(k.rect, 0.25f);
        EXPECT_NEAR(q.x, k.placed.x, 1e-4f) << k.rect.x;
        EXPECT_NEAR(q.y, k.placed.y, 1e-4f) << k.rect.x;
        EXPECT_NEAR(q.width, k.placed.width, 1e-4f) << k.rect.x;
        EXPECT_NEAR(q.height, k.placed.height, 1e-4f) << k.rect.x;
        EXPECT_NEAR(q.angle, k.placed.angle, 1e-7f) << k.rect.x;
        EXPECT_TRUE(q.visible);
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
    EXPECT_FLOAT_EQ(viaSquare.x, 512.0f + 20.0f + 100.0f);
    EXPECT_FLOAT_EQ(viaSquare.y, 384.0f + 20.0f);

    camera.SetAngle(0.5f);
    const CVector2 p =
        camera.TransformPoint(CVector2(612 + 100 * std::cos(0.5f), 384 + 100 * std::sin(0.5f)));
    EXPECT_NEAR(p.x, 562.0f, 1e-4f);
    EXPECT_NEAR(p.y, 384.0f, 1e-4f);
}

namespace
{
CColor Bytes(int r, int g, int b, float a = 1.0f)
{
    return CColor(r / 255.0f, g / 255.0f, b / 255.0f, a);
}
} // namespace

// A colour closer than 0.15 (mean channel difference) to its nearest note colour keeps its
// own shade and alpha; a farther one becomes that note colour, alpha 1.
TEST(Palette, MapsFarColoursToTheNearestNoteColourAndKeepsNearOnes)
{
    const std::vector<CColor> palette = MakePalette(NotePaletteColors());
    const struct
    {
        CColor in, out;
        const char* what;
    } cases[] = {
        {Bytes(0, 0, 0), Bytes(0, 0, 0), "black stays black (1C1C1C at 0.110)"},
        {Bytes(128, 128, 128, 0.3f), Bytes(128, 128, 128, 0.3f), "mid grey keeps its own"},
        {Bytes(255, 0, 0, 0.3f), Bytes(0xA3, 0, 0x26), "pure red is 0.170 from A30026"},
        {Bytes(255, 0, 255), Bytes(0xDD, 0x31, 0xA0), "magenta"},
        {Bytes(0, 255, 255), Bytes(0, 0x3C, 0xFF), "cyan"},
        {Bytes(200, 100, 50), Bytes(0xF5, 0x8E, 0x05), "brown"},
        {Bytes(0, 21, 175), Bytes(0, 0x3C, 0xFF), "the faded canvas blue, 0.156 away"},
        {Bytes(0, 10, 87), Bytes(0, 10, 87), "the darker blue, 0.137 from 1C1C1C"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapToPalette(palette, c.in), c.out) << c.what;
}

// Only a strictly closer entry is taken: of two at the same distance the earlier, one at
// distance 1 never, and a colour exactly 0.15 away is replaced.
TEST(Palette, OnlyAStrictlyCloserEntryIsTaken)
{
    EXPECT_FLOAT_EQ(ColorDistance(CColor(0.3f, 0, 0, 1), CColor(0, 0.3f, 0.3f, 0)), 0.3f);
    const std::vector<CColor> twoEqual = {CColor(1, 0, 0, 1), CColor(0, 1, 0, 1)};
    EXPECT_EQ(MapToPalette(twoEqual, CColor(0.5f, 0.5f, 0, 1)), CColor(1, 0, 0, 1));
    const std::vector<CColor> white = {CColor(1, 1, 1, 1)};
    EXPECT_EQ(MapToPalette(white, CColor(0, 0, 0, 0.25f)), CColor(0, 0, 0, 0.25f));

    const std::vector<CColor> black = {CColor(0, 0, 0, 1)};
    const CColor atLimit(std::nextafter(0.45f, 1.0f), 0, 0, 0.5f);
    ASSERT_EQ(ColorDistance(black[0], atLimit), 0.15f);
    EXPECT_EQ(MapToPalette(black, atLimit), black[0]);
    EXPECT_EQ(MapToPalette(black, CColor(0.45f, 0, 0, 0.5f)), CColor(0.45f, 0, 0, 0.5f));
}

// Each channel varies by up to 10 either way, clamped: unclamped, 3 - 10 would wrap to 249
// and 250 + 10 to 4.
TEST(Palette, RandomVariantVariesEachChannelByTenClamped)
{
    EXPECT_EQ(RandomVariant({}).a, 255);
    tarn::test::SeedRandom(7u, 1.0);
    int lowest = 255, highest = 0, low[3] = {255, 255, 255}, high[3] = {};
    for (int i = 0; i < 3000; ++i)
    {
        const CByteColor edge = RandomVariant({0x03FAFA});
        ASSERT_TRUE(edge.r <= 13 && edge.g >= 240 && edge.b >= 240 && edge.a == 255);
        lowest = std::min<int>(lowest, edge.r);
        highest = std::max<int>(highest, edge.g);
        const CByteColor mid = RandomVariant({0x808080});
        const int channels[3] = {mid.r, mid.g, mid.b};
        for (int k = 0; k < 3; ++k)
        {
            low[k] = std::min(low[k], channels[k]);
            high[k] = std::max(high[k], channels[k]);
        }
    }
    EXPECT_TRUE(lowest == 0 && highest == 255);
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(low[k] == 0x80 - 10 && high[k] == 0x80 + 10)
            << k << ": " << low[k] << ", " << high[k];
}
