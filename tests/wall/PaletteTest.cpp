#include <gtest/gtest.h>

#include <cmath>

#include "util/Random.h"
#include "wall/Palette.h"

namespace
{
CColor Bytes(int r, int g, int b, float a = 1.0f)
{
    return CColor(r / 255.0f, g / 255.0f, b / 255.0f, a);
}

CColor Packed(uint32_t rgb)
{
    return MakePalette({rgb})[0];
}
} // namespace

TEST(Palette, MapsFarColoursToTheNearestNoteColourAndKeepsNearOnes)
{
    const std::vector<CColor> palette = MakePalette(NotePaletteColors());
    const struct
    {
        CColor in;
        CColor out;
        const char* what;
    } cases[] = {
        {Bytes(0, 0, 0), Bytes(0, 0, 0), "black stays black (1C1C1C at 0.110)"},
        {Bytes(255, 255, 255), Bytes(255, 255, 255), "white stays white (FFFEA2 at 0.123)"},
        {Bytes(128, 128, 128), Bytes(128, 128, 128), "mid grey keeps its own shade"},
        {Bytes(255, 0, 0), Packed(0xA30026), "pure red is 0.170 from A30026"},
        {Bytes(255, 0, 255), Packed(0xDD31A0), "magenta"},
        {Bytes(0, 255, 255), Packed(0x003CFF), "cyan"},
        {Bytes(200, 100, 50), Packed(0xF58E05), "brown"},
        {Bytes(0, 21, 175), Packed(0x003CFF), "the faded canvas blue, 0.156 away"},
        {Bytes(0, 10, 87), Bytes(0, 10, 87), "the darker blue, 0.137 from 1C1C1C"},
        {Bytes(128, 128, 128, 0.3f), Bytes(128, 128, 128, 0.3f), "a kept colour keeps its alpha"},
        {Bytes(255, 0, 0, 0.3f), Packed(0xA30026), "a replaced colour gets alpha 1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapToPalette(palette, c.in), c.out) << c.what;
}

TEST(Palette, AColourExactlyAtTheLimitIsReplaced)
{
    const std::vector<CColor> palette = MakePalette(NotePaletteColors());
    const CColor dark = Packed(0x1C1C1C);
    // Grey above 1C1C1C: its nearest entry stays 1C1C1C. Walk the shade one float step at
    // a time until its distance is 0.15 exactly.
    CColor atLimit = dark;
    float shade = dark.r + 0.15f;
    for (int i = 0; i < 64; ++i)
    {
        atLimit = CColor(shade, shade, shade, 0.5f);
        const float d = ColorDistance(dark, atLimit);
        if (d == 0.15f)
            break;
        shade = std::nextafter(shade, d < 0.15f ? 1.0f : 0.0f);
    }
    ASSERT_EQ(ColorDistance(dark, atLimit), 0.15f);
    EXPECT_EQ(MapToPalette(palette, atLimit), dark);

    const float closer = std::nextafter(shade, 0.0f);
    const CColor inside(closer, closer, closer, 0.5f);
    ASSERT_LT(ColorDistance(dark, inside), 0.15f);
    EXPECT_EQ(MapToPalette(palette, inside), inside);
}

TEST(Palette, EarlierEntriesWinTiesAndDistanceOneIsNeverTaken)
{
    EXPECT_FLOAT_EQ(ColorDistance(CColor(0.3f, 0, 0, 1), CColor(0, 0.3f, 0.3f, 0)), 0.3f);
    const std::vector<CColor> twoEqual = {CColor(1, 0, 0, 1), CColor(0, 1, 0, 1)};
    EXPECT_EQ(MapToPalette(twoEqual, CColor(0.5f, 0.5f, 0, 1)), CColor(1, 0, 0, 1));

    const std::vector<CColor> onlyWhite = {CColor(1, 1, 1, 1)};
    EXPECT_EQ(MapToPalette(onlyWhite, CColor(0, 0, 0, 0.25f)), CColor(0, 0, 0, 0.25f));
}

TEST(Palette, RandomVariantClampsEachChannel)
{
    EXPECT_EQ(RandomVariant({}).r, 0);
    EXPECT_EQ(RandomVariant({}).a, 255);

    tarn::test::SeedRandom(7u, 1.0);
    int lowest = 255, highest = 0;
    for (int i = 0; i < 3000; ++i)
    {
        const CByteColor v = RandomVariant({0x03FAFA});
        // Unclamped, 3 - 10 would wrap to 249 and 250 + 10 to 4.
        ASSERT_LE(v.r, 13);
        ASSERT_GE(v.g, 240);
        ASSERT_GE(v.b, 240);
        EXPECT_EQ(v.a, 255);
        lowest = std::min<int>(lowest, v.r);
        highest = std::max<int>(highest, v.g);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 255);
}
