#pragma once

#include <string>

#include "common/Image.h"

namespace tools
{
/// Our own marker-pen lettering: every glyph is a few strokes (polylines) in a box one
/// unit high, drawn as round-ended lines of a given width with anti-aliased edges.
/// Covers the digits, the space and the capitals A C D E I K N O P R S T U V Y.
struct STextStyle
{
    float height = 32.0f;     ///< cap height in pixels
    float strokeWidth = 4.0f; ///< pen width in pixels
    float spacing = 0.18f;    ///< gap between glyphs, in units of the height
    float slant = 0.0f;       ///< x shift per unit of height above the baseline
    SColor color = {1, 1, 1, 1};
};

/// Advance width of one glyph in pixels, spacing not included; 0 for unknown characters.
float GlyphWidth(char c, const STextStyle& style);
/// Width of the whole text in pixels, from the first glyph's left to the last's right
/// edge, pen included.
float TextWidth(const std::string& text, const STextStyle& style);
/// Draws the text with its top-left corner (pen included) at (x, y).
void DrawText(CImage& image, const std::string& text, float x, float y, const STextStyle& style);
} // namespace tools
