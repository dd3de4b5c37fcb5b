// BleedEdges on random images: sizes, row padding, channel order, alpha, and picture
// rectangles, including ones larger than the image.

#include <SDL.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "render/Texture.h"

namespace
{
void Check(bool condition)
{
    if (!condition)
        std::abort();
}

/// Bytes of the input in turn; zeros once it runs out.
class CBytes
{
public:
    CBytes(const uint8_t* data, std::size_t size) : m_Data(data), m_Size(size) {}
    uint8_t Next() { return m_At < m_Size ? m_Data[m_At++] : 0; }

private:
    const uint8_t* m_Data;
    std::size_t m_Size;
    std::size_t m_At = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    CBytes in(data, size);
    const int width = 1 + in.Next() % 48;
    const int height = 1 + in.Next() % 48;
    const int padding = in.Next() % 3; // extra pixels at the end of each row
    const uint8_t flags = in.Next();
    // The picture rectangle as a blit would leave it, or larger, or empty.
    const Uint16 rectW = static_cast<Uint16>(in.Next() % (width + 8));
    const Uint16 rectH = static_cast<Uint16>(in.Next() % (height + 8));

    // The upload order (R, G, B, A in memory) or SDL's usual ARGB word.
    const bool argb = flags & 1;
    const Uint32 rMask = argb ? 0x00FF0000u : 0x000000FFu;
    const Uint32 gMask = 0x0000FF00u;
    const Uint32 bMask = argb ? 0x000000FFu : 0x00FF0000u;
    const Uint32 aMask = 0xFF000000u;

    const int stride = width + padding;
    std::vector<Uint32> pixels(static_cast<std::size_t>(stride) * height);
    for (Uint32& p : pixels)
    {
        // Mostly fully transparent or fully opaque, as pictures are.
        const uint8_t kind = in.Next();
        const Uint32 colour = (Uint32(in.Next()) << 16) | (Uint32(in.Next()) << 8) | in.Next();
        const Uint32 alpha = kind < 96 ? 0u : (kind < 192 ? 0xFFu : kind);
        p = (alpha << 24) | colour;
    }
    const std::vector<Uint32> before = pixels;

    SDL_Surface* image = SDL_CreateRGBSurfaceFrom(pixels.data(), width, height, 32, stride * 4,
                                                  rMask, gMask, bMask, aMask);
    Check(image != nullptr);
    BleedEdges(image, SDL_Rect{0, 0, rectW, rectH});
    SDL_FreeSurface(image);

    // Padding past each row is never touched.
    for (int y = 0; y < height; ++y)
        for (int x = width; x < stride; ++x)
            Check(pixels[y * stride + x] == before[y * stride + x]);
    if (width < 2 || height < 2)
    {
        Check(pixels == before);
        return 0;
    }
    const int w = rectW < width ? rectW : width;
    const int h = rectH < height ? rectH : height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const Uint32 was = before[y * stride + x];
            const Uint32 now = pixels[y * stride + x];
            const bool copied =
                w >= 1 && h >= 1 &&
                ((x == w && y <= h && w < width) || (y == h && x <= w && h < height));
            if (copied)
                continue;
            if (was & aMask)
                Check(now == was); // opaque pixels never change
            else
                Check((now & aMask) == 0); // transparent ones stay transparent
        }
    return 0;
}
