#include "wall/Palette.h"

#include <cstddef>
#include <iterator>

#include "util/MathUtil.h"
#include "util/Random.h"

namespace
{
// A colour closer than this to its nearest note colour keeps its own small variation.
constexpr float kPassThroughDistance = 0.15f;

uint8_t ClampedByte(int v)
{
    return static_cast<uint8_t>(tarn::ClampInt(v, 0, 255));
}
} // namespace

CByteColor CByteColor::FromPacked(uint32_t rgb)
{
    CByteColor c;
    c.r = static_cast<uint8_t>((rgb >> 16) & 0xFFu);
    c.g = static_cast<uint8_t>((rgb >> 8) & 0xFFu);
    c.b = static_cast<uint8_t>(rgb & 0xFFu);
    c.a = 255;
    return c;
}

const std::vector<uint32_t>& NotePaletteColors()
{
    static const std::vector<uint32_t> s_Colors(std::begin(kNotePalette), std::end(kNotePalette));
    return s_Colors;
}

std::vector<uint32_t> LevelColors()
{
    return {kNotePalette[0], kNotePalette[1], kNotePalette[2],  kNotePalette[3], kNotePalette[4],
            kNotePalette[5], kNotePalette[8], kNotePalette[10], kNotePalette[11]};
}

std::vector<CColor> MakePalette(const std::vector<uint32_t>& packed)
{
    std::vector<CColor> palette;
    palette.reserve(packed.size());
    for (const uint32_t rgb : packed)
    {
        const CByteColor b = CByteColor::FromPacked(rgb);
        palette.emplace_back(b.r / 255.0f, b.g / 255.0f, b.b / 255.0f, 1.0f);
    }
    return palette;
}

float ColorDistance(const CColor& a, const CColor& b)
{
    const float sum = tarn::Abs(a.r - b.r) + tarn::Abs(a.g - b.g) + tarn::Abs(a.b - b.b);
    return sum / 3.0f;
}

CColor MapToPalette(const std::vector<CColor>& palette, const CColor& c)
{
    float bestDistance = 1.0f;
    CColor best = c;
    // Strictly closer only: among equal distances the earlier entry stays, and an entry
    // at distance 1 is never taken.
    for (const CColor& entry : palette)
    {
        const float d = ColorDistance(entry, c);
        if (d < bestDistance)
        {
            bestDistance = d;
            best = entry;
        }
    }
    if (ColorDistance(best, c) < kPassThroughDistance)
        return CColor(c.r, c.g, c.b, c.a);
    return CColor(best.r, best.g, best.b, best.a);
}

CByteColor RandomVariant(const std::vector<uint32_t>& packed)
{
    CByteColor result;
    if (packed.empty())
        return result;
    const int index = tarn::RandomInt(0, static_cast<int>(packed.size()) - 1);
    const CByteColor base = CByteColor::FromPacked(packed[static_cast<std::size_t>(index)]);
    // Three draws in the order red, green, blue, after the index.
    result.r = ClampedByte(base.r + tarn::RandomInt(-10, 10));
    result.g = ClampedByte(base.g + tarn::RandomInt(-10, 10));
    result.b = ClampedByte(base.b + tarn::RandomInt(-10, 10));
    result.a = 255;
    return result;
}

CColor RandomLevelColor()
{
    const CByteColor v = RandomVariant(LevelColors());
    return CColor(v.r / 255.0f, v.g / 255.0f, v.b / 255.0f, 1.0f);
}
