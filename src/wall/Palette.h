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

/// The 17 packed note colours in table order (the order decides ties).
const std::vector<uint32_t>& NotePaletteColors();
/// The 9 packed level colours: the bright part of the note palette.
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
