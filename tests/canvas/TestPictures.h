#pragma once

// Pictures for the canvas tests: PNG files of every colour type, surfaces of given pixels.

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "Support.h"

/// PNG colour types as the file stores them.
enum EPngType : char
{
    kPngGrey = 0,
    kPngRgb = 2,
    kPngPaletted = 3,
    kPngGreyAlpha = 4,
    kPngRgba = 6,
};

/// Packs bytes into a canvas pixel.
constexpr uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return r | (g << 8) | (b << 16) | (a << 24);
}

/// A big-endian word, as PNG stores sizes, lengths and checksums.
inline std::string Big32(uint32_t v)
{
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

/// Writes an 8-bit PNG. `pixels` holds the rows back to back, as many bytes per pixel as the
/// colour type has channels; `palette` is RGB triples, `transparency` the optional tRNS bytes.
inline void WritePng(const std::string& path, int width, int height, EPngType type,
                     const std::vector<uint8_t>& pixels, const std::vector<uint8_t>& palette = {},
                     const std::vector<uint8_t>& transparency = {})
{
    std::string raw;
    for (size_t i = 0; i < pixels.size(); ++i)
    {
        if (i % (pixels.size() / height) == 0)
            raw += '\0'; // every row starts with filter 0
        raw += static_cast<char>(pixels[i]);
    }
    uLongf size = compressBound(raw.size());
    std::string zipped(size, '\0');
    compress(reinterpret_cast<Bytef*>(zipped.data()), &size,
             reinterpret_cast<const Bytef*>(raw.data()), raw.size());
    zipped.resize(size);

    std::string file = "\x89PNG\r\n\x1A\n";
    auto chunk = [&file](const std::string& type, const std::string& data)
    {
        const std::string body = type + data;
        const auto* bytes = reinterpret_cast<const Bytef*>(body.data());
        file += Big32(data.size()) + body + Big32(crc32(0, bytes, body.size()));
    };
    chunk("IHDR", Big32(width) + Big32(height) + std::string{8, static_cast<char>(type), 0, 0, 0});
    if (!palette.empty())
        chunk("PLTE", std::string(palette.begin(), palette.end()));
    if (!transparency.empty())
        chunk("tRNS", std::string(transparency.begin(), transparency.end()));
    chunk("IDAT", zipped);
    chunk("IEND", "");
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
