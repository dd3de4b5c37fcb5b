#pragma once
// A PNG writer for the picture tests: each colour type and transparency chunk on demand.

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

/// Writes a PNG one row high of 8-bit channels of colour type `type` (0 grey, 2 RGB,
/// 3 paletted, 4 grey and alpha, 6 RGBA), with the PLTE and tRNS chunks when given.
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
