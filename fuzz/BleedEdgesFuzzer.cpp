// BleedEdges on random images: sizes, row padding, alpha and picture rectangles, including
// ones larger than the image or empty. Writes into the row padding stay inside the buffer,
// where the address sanitizer cannot see them: the harness checks those itself.

#include <SDL.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "render/Texture.h"

namespace
{
void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::size_t at = 0;
    const auto next = [&]() -> Uint32 { return at < size ? data[at++] : 0; };
    const int width = 1 + next() % 48;
    const int height = 1 + next() % 48;
    const int stride = width + next() % 3; // pixels, padding included
    const Uint16 rectW = static_cast<Uint16>(next() % (width + 8));
    const Uint16 rectH = static_cast<Uint16>(next() % (height + 8));
    const Uint32 aMask = 0xFF000000u;

    std::vector<Uint32> pixels(static_cast<std::size_t>(stride) * height);
    for (Uint32& p : pixels)
    {
        // Mostly fully transparent or fully opaque, as pictures are.
        const Uint32 kind = next();
        const Uint32 alpha = kind < 96 ? 0u : (kind < 192 ? 0xFFu : kind);
        p = alpha << 24 | next() << 16 | next() << 8 | next();
    }
    const std::vector<Uint32> before = pixels;
    SDL_Surface* image = SDL_CreateRGBSurfaceFrom(pixels.data(), width, height, 32, stride * 4,
                                                  0x000000FFu, 0x0000FF00u, 0x00FF0000u, aMask);
    Check(image != nullptr);
    BleedEdges(image, SDL_Rect{0, 0, rectW, rectH});
    SDL_FreeSurface(image);

    // Outside the copied column and row (just right of and below the picture rectangle),
    // opaque pixels never change and transparent ones stay transparent; the padding and
    // images less than 2 pixels a side are left alone.
    const int w = rectW < width ? rectW : width;
    const int h = rectH < height ? rectH : height;
    const bool small = width < 2 || height < 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < stride; ++x)
        {
            const Uint32 was = before[y * stride + x];
            const Uint32 now = pixels[y * stride + x];
            if (x >= width || small || (was & aMask))
                Check(now == was || (!small && x < width && (x == w || y == h)));
            else
                Check((now & aMask) == 0 || x == w || y == h);
        }
    return 0;
}
