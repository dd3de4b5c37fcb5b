#pragma once

#include <cstdint>
#include <vector>

#include "canvas/Color.h"

/// A colour as bytes, made from a packed 0x00RRGGBB colour (alpha 255).
struct CByteColor
{
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;

    static CByteColor FromPacked(uint32_t rgb);
};

/// The note colours, packed 0x00RRGGBB, in table order (the order decides ties). The
/// picture generators in tools/ use this table, and tests/e2e/wall.py reads it from this
/// file: keep it a plain list of hex literals.
inline constexpr uint32_t kNotePalette[] = {
    0xFFA76B, 0xFD6E8E, 0xEEF278, 0xCDFA6D, 0x88C927, 0xFE4B82, 0xDD31A0, 0x875EE3, 0xE7D326,
    0x399FD0, 0xF58E05, 0xFFFEA2, 0x868686, 0x003CFF, 0x1C1C1C, 0x0CFF00, 0xA30026,
};

/// kNotePalette as a list: the 17 note colours.
const std::vector<uint32_t>& NotePaletteColors();
/// The 9 packed level colours: the bright part of the note palette (entries 0 to 5, 8, 10
/// and 11), so a creature's cells keep their colour on the wall.
std::vector<uint32_t> LevelColors();

/// One CColor per packed colour: channels byte / 255, alpha 1.
std::vector<CColor> MakePalette(const std::vector<uint32_t>& packed);
/// Mean absolute difference of red, green and blue; alpha takes no part. 0 ... 1.
float ColorDistance(const CColor& a, const CColor& b);
/// `c` itself (alpha included) when its nearest palette entry lies closer than 0.15,
/// otherwise that entry (alpha 1). Earlier entries win ties.
CColor MapToPalette(const std::vector<CColor>& palette, const CColor& c);
/// A random entry of `packed`, each channel moved by RandomInt(-10, 10) and clamped.
/// An empty list gives opaque black.
CByteColor RandomVariant(const std::vector<uint32_t>& packed);
/// A random variant of a level colour, alpha 1.
CColor RandomLevelColor();
