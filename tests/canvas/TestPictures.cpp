#include "TestPictures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace
{
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
    {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutBig32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBig32(out, Crc32(body.data(), body.size()));
}

int Channels(EPngType type)
{
    switch (type)
    {
    case kPngRgb:
        return 3;
    case kPngGreyAlpha:
        return 2;
    case kPngRgba:
        return 4;
    default:
        return 1;
    }
}
} // namespace

void WritePng(const std::string& path, int width, int height, EPngType type,
              const std::vector<uint8_t>& pixels, const std::vector<uint8_t>& palette,
              const std::vector<uint8_t>& transparency)
{
    std::vector<uint8_t> header;
    PutBig32(header, static_cast<uint32_t>(width));
    PutBig32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, type, 0, 0, 0});

    // Every row starts with filter 0; the zlib stream is one stored block per row.
    const size_t rowBytes = static_cast<size_t>(width) * Channels(type);
    std::vector<uint8_t> raw;
    for (int y = 0; y < height; ++y)
    {
        raw.push_back(0);
        raw.insert(raw.end(), pixels.begin() + y * rowBytes, pixels.begin() + (y + 1) * rowBytes);
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    const size_t blockSize = rowBytes + 1;
    for (size_t at = 0; at < raw.size(); at += blockSize)
    {
        const uint16_t len = static_cast<uint16_t>(blockSize);
        zlib.push_back(at + blockSize >= raw.size() ? 1 : 0);
        zlib.insert(zlib.end(), {static_cast<uint8_t>(len), static_cast<uint8_t>(len >> 8),
                                 static_cast<uint8_t>(~len), static_cast<uint8_t>(~len >> 8)});
        zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + blockSize);
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw)
    {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(zlib, (b << 16) | a);

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(file, "IHDR", header);
    if (!palette.empty())
        PutChunk(file, "PLTE", palette);
    if (!transparency.empty())
        PutChunk(file, "tRNS", transparency);
    PutChunk(file, "IDAT", zlib);
    PutChunk(file, "IEND", {});
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f)
    {
        std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
    }
}

CTempFolder::CTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "korvane-XXXXXX").string();
    m_Path = mkdtemp(pattern.data()) ? pattern : std::string();
}

CTempFolder::~CTempFolder()
{
    std::error_code ignored;
    if (!m_Path.empty())
        std::filesystem::remove_all(m_Path, ignored);
}

std::unique_ptr<CSurface> MakeSurface(int width, int height, const std::vector<uint32_t>& pixels)
{
    std::unique_ptr<CSurface> surface = CreateSurface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface->SetPixel(x, y, pixels[static_cast<size_t>(y * width + x)]);
    return surface;
}
