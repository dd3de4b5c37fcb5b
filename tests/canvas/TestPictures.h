#pragma once

// Pictures for the canvas tests: one-row PNG files written byte by byte, surfaces of given
// pixels.

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "Support.h"

/// Packs bytes into a canvas pixel.
constexpr uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return r | (g << 8) | (b << 16) | (a << 24);
}

/// Writes a PNG one row high of 8-bit channels. `type` is the PNG colour type (0 grey,
/// 2 RGB, 3 paletted, 4 grey and alpha, 6 RGBA); `palette` holds RGB triples and
/// `transparency` the optional tRNS bytes.
inline void WritePng(const std::string& path, int width, char type, const std::vector<uint8_t>& row,
                     const std::vector<uint8_t>& palette = {},
                     const std::vector<uint8_t>& transparency = {})
{
    const std::string raw = '\0' + std::string(row.begin(), row.end()); // filter 0
    uLongf size = compressBound(raw.size());
    std::string zipped(size, '\0');
    compress(reinterpret_cast<Bytef*>(zipped.data()), &size,
             reinterpret_cast<const Bytef*>(raw.data()), raw.size());
    zipped.resize(size);
    auto big32 = [](uint32_t v) // as PNG stores sizes, lengths and checksums
    {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    };
    std::string file = "\x89PNG\r\n\x1A\n";
    auto chunk = [&](const std::string& body) // the chunk's type, then its data
    {
        const auto* bytes = reinterpret_cast<const Bytef*>(body.data());
        file += big32(body.size() - 4) + body + big32(crc32(0, bytes, body.size()));
    };
    chunk("IHDR" + big32(width) + big32(1) + std::string{8, type, 0, 0, 0});
    if (!palette.empty())
        chunk("PLTE" + std::string(palette.begin(), palette.end()));
    if (!transparency.empty())
        chunk("tRNS" + std::string(transparency.begin(), transparency.end()));
    chunk("IDAT" + zipped);
    chunk("IEND");
    std::ofstream(path, std::ios::binary) << file;
}

/// A canvas-format surface whose pixels are `pixels`, row by row.
inline std::unique_ptr<CSurface> MakeSurface(int w, int h, const std::vector<uint32_t>& pixels)
{
    std::unique_ptr<CSurface> surface = CreateSurface(w, h);
    for (int i = 0; i < w * h; ++i)
        surface->SetPixel(i % w, i / w, pixels[static_cast<size_t>(i)]);
    return surface;
}
