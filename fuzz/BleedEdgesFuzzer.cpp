// BleedEdges on 1 to 48 pixel images with up to two pixels of row padding, picture rectangles
// from empty to past the image. The sanitizer cannot see writes into the padding: we check.

#include <SDL.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "render/Texture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::size_t at = 0;
    const auto next = [&]() -> Uint32 { return at < size ? data[at++] : 0; };
    const int width = 1 + next() % 48, height = 1 + next() % 48;
    const int stride = width + next() % 3; // pixels, padding included
    const Uint16 rectW = next() % (width + 8), rectH = next() % (height + 8);
    std::vector<Uint32> pixels(static_cast<std::size_t>(stride) * height);
    for (Uint32& p : pixels)
        p = (next() < 128 ? 0u : 0xFF000000u) | next() << 16 | next() << 8 | next();
    const std::vector<Uint32> before = pixels;
    SDL_Surface* image = SDL_CreateRGBSurfaceFrom(pixels.data(), width, height, 32, stride * 4,
                                                  0xFFu, 0xFF00u, 0xFF0000u, 0xFF000000u);
    BleedEdges(image, SDL_Rect{0, 0, rectW, rectH});
    SDL_FreeSurface(image);

    // Only transparent pixels change, staying so, but for the copied last column and row just
    // right of and below the picture. The padding and images under 2 pixels a side stay.
    const bool small = width < 2 || height < 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < stride; ++x)
        {
            const Uint32 was = before[y * stride + x], now = pixels[y * stride + x];
            const bool copied = !small && x < width && (x == rectW || y == rectH);
            const bool bled = !small && x < width && !(was >> 24) && !(now >> 24);
            if (now != was && !copied && !bled)
                std::abort();
        }
    return 0;
}
