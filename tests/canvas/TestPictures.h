#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Support.h"

/// PNG colour types as the file stores them.
enum EPngType : uint8_t
{
    kPngGrey = 0,
    kPngRgb = 2,
    kPngPaletted = 3,
    kPngGreyAlpha = 4,
    kPngRgba = 6,
};

/// Writes an 8-bit PNG. `pixels` holds the rows back to back, as many bytes per pixel as the
/// colour type has channels; `palette` is RGB triples, `transparency` the optional tRNS bytes.
void WritePng(const std::string& path, int width, int height, EPngType type,
              const std::vector<uint8_t>& pixels, const std::vector<uint8_t>& palette = {},
              const std::vector<uint8_t>& transparency = {});

/// A canvas-format surface whose pixels are `pixels`, row by row.
std::unique_ptr<CSurface> MakeSurface(int width, int height, const std::vector<uint32_t>& pixels);
/// Packs bytes into a canvas pixel.
constexpr uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return r | (g << 8) | (b << 16) | (a << 24);
}
