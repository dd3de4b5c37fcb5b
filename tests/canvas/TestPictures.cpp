#include "TestPictures.h"

#include <fstream>
#include <zlib.h>

namespace
{
void PutBig32(std::string& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(v >> shift);
}

void PutChunk(std::string& out, const char* type, const std::string& data)
{
    PutBig32(out, static_cast<uint32_t>(data.size()));
    const std::string body = type + data;
    out += body;
    PutBig32(out, crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size()));
}
} // namespace

void WritePng(const std::string& path, int width, int height, EPngType type,
              const std::vector<uint8_t>& pixels, const std::vector<uint8_t>& palette,
              const std::vector<uint8_t>& transparency)
{
    std::string header;
    PutBig32(header, static_cast<uint32_t>(width));
    PutBig32(header, static_cast<uint32_t>(height));
    header += {8, static_cast<char>(type), 0, 0, 0};
    // Every row starts with filter 0.
    const size_t rowBytes = pixels.size() / height;
    std::string raw;
    for (int y = 0; y < height; ++y)
        raw +=
            '\0' + std::string(pixels.begin() + y * rowBytes, pixels.begin() + (y + 1) * rowBytes);
    std::string zipped(compressBound(raw.size()), '\0');
    uLongf size = zipped.size();
    compress(reinterpret_cast<Bytef*>(zipped.data()), &size,
             reinterpret_cast<const Bytef*>(raw.data()), raw.size());
    zipped.resize(size);

    std::string file = "\x89PNG\r\n\x1A\n";
    PutChunk(file, "IHDR", header);
    if (!palette.empty())
        PutChunk(file, "PLTE", std::string(palette.begin(), palette.end()));
    if (!transparency.empty())
        PutChunk(file, "tRNS", std::string(transparency.begin(), transparency.end()));
    PutChunk(file, "IDAT", zipped);
    PutChunk(file, "IEND", "");
    std::ofstream(path, std::ios::binary) << file;
}

std::unique_ptr<CSurface> MakeSurface(int width, int height, const std::vector<uint32_t>& pixels)
{
    std::unique_ptr<CSurface> surface = CreateSurface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface->SetPixel(x, y, pixels[static_cast<size_t>(y * width + x)]);
    return surface;
}
