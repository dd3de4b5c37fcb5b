// The Windows build's own picture loader: make test checks it and SDL_image give the surfaces
// recorded below; make test-windows that it still does under Wine (whose libjpeg, built
// without SIMD, runs its C paths).
#include <SDL.h>
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdio>
#include <fstream>

#include "PngWriter.h"
#include "canvas/PictureLoader.h"
#if KORVANE_WITH_SDL_IMAGE
#include <SDL_image.h>
#endif

namespace
{
/// FNV-1a over what the game reads of a surface: size, pixel format, colour key, palette,
/// and every row's pixels (not the padding after them).
uint64_t Digest(const SDL_Surface* s)
{
    uint64_t hash = 14695981039346656037ull;
    auto add = [&hash](const void* data, size_t size)
    {
        for (size_t i = 0; i < size; ++i)
            hash = (hash ^ static_cast<const uint8_t*>(data)[i]) * 1099511628211ull;
    };
    const SDL_PixelFormat* f = s->format;
    const uint32_t keyed = s->flags & SDL_SRCCOLORKEY, key = keyed ? f->colorkey : 0;
    // Grey with a transparent level comes out of SDL_image as two bytes a pixel (grey, alpha)
    // under 24-bit masks, which the classic SDL 1.2 keeps and sdl12-compat swaps for 5-6-5:
    // below 24 bits the bytes alone are what both libraries agree on.
    const bool masked = f->BitsPerPixel >= 24;
    for (const uint32_t v :
         {uint32_t(s->w), uint32_t(s->h), uint32_t{f->BitsPerPixel}, masked ? f->Rmask : 0,
          masked ? f->Gmask : 0, masked ? f->Bmask : 0, masked ? f->Amask : 0, keyed, key})
        add(&v, sizeof v);
    // r, g and b only: SDL_Color's fourth byte is padding, 0 in SDL 1.2 and 255 in sdl12-compat.
    for (int i = 0; f->palette && i < f->palette->ncolors; ++i)
        add(&f->palette->colors[i], 3);
    for (int y = 0; y < s->h; ++y)
        add(static_cast<const uint8_t*>(s->pixels) + y * s->pitch,
            static_cast<size_t>(s->w) * f->BytesPerPixel);
    return hash;
}

std::string FileBytes(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void PutBig(std::string& bytes, size_t at, uint32_t value, int size) // PNG and JPEG byte order
{
    for (int i = 0; i < size; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * (size - 1 - i)));
}

/// The PNG with the size its IHDR chunk claims changed, the chunk's CRC made right again.
std::string PngClaiming(std::string png, uint32_t width, uint32_t height)
{
    PutBig(png, 16, width, 4); // signature 8, chunk length 4, "IHDR" 4
    PutBig(png, 20, height, 4);
    PutBig(png, 29, crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17), 4);
    return png;
}

/// The JPEG with the size its frame header (SOF0 or SOF2) claims changed.
std::string JpegClaiming(std::string jpeg, uint16_t width, uint16_t height)
{
    for (size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == '\xFF' && (jpeg[i + 1] == '\xC0' || jpeg[i + 1] == '\xC2'))
        {
            PutBig(jpeg, i + 5, height, 2); // marker 2, length 2, precision 1
            PutBig(jpeg, i + 7, width, 2);
            return jpeg;
        }
    return {};
}
} // namespace

TEST(PictureLoader, GivesSdlImagesSurfacesForEveryPictureKind)
{
    ASSERT_EQ(SDL_Init(0), 0);
    using Bytes = std::vector<uint8_t>;
    const Bytes palette = {10, 20, 30, 200, 100, 50, 7, 8, 9};
    // A PNG of three pixels written here (colour type, pixels, tRNS), or a file of the game's.
    const std::tuple<std::string, char, Bytes, Bytes, uint64_t> pictures[] = {
        {"colour key", 3, {0, 1, 2}, {0}, 0xcc2518457804bc30},
        {"translucent", 3, {0, 1, 2}, {128, 255}, 0xb9605312625be26f},
        {"two keys", 3, {0, 1, 2}, {0, 0}, 0xaf6c90c54509323a},
        {"grey key", 0, {77, 200, 0}, {0, 77}, 0xf3e537bf85a19d6a},
        {"grey", 0, {77, 200, 0}, {}, 0x53b711fbc3e1af9e},
        {"grey alpha", 4, {77, 128, 9, 0, 255, 255}, {}, 0x0ac31321f25ce02b},
        {"rgb", 2, {1, 2, 3, 250, 251, 252, 0, 0, 0}, {}, 0xf1610a0471af6c41},
        {"rgb key", 2, {1, 2, 3, 250, 251, 252, 0, 0, 0}, {0, 1, 0, 2, 0, 3}, 0xadd16d48b6694221},
        {"rgba", 6, {1, 2, 3, 4, 5, 6, 7, 0, 9, 9, 9, 255}, {}, 0xdf4fc59af9540cf9},
        {"data/gfx/it_guy.png", 0, {}, {}, 0x3b9f83649a3f1c55},
        {"data/gfx/title_screen.jpg", 0, {}, {}, 0x8aad46ca894dae50},
        {"data/gfx/background-03.jpg", 0, {}, {}, 0x67cb56a5aa887609},
    };
    for (const auto& [name, type, pixels, transparency, expected] : pictures)
    {
        const bool written = !pixels.empty();
        const std::string path = written ? testing::TempDir() + name + ".png" : name;
        if (written)
            WritePng(path, 3, type, pixels, type == 3 ? palette : Bytes{}, transparency);
        SCOPED_TRACE(path);
        SDL_Surface* ours = tarn::LoadPicture(SDL_RWFromFile(path.c_str(), "rb"), true);
        ASSERT_NE(ours, nullptr) << SDL_GetError();
        const uint64_t digest = Digest(ours);
        std::printf("%s %016llx\n", path.c_str(), static_cast<unsigned long long>(digest));
#if KORVANE_WITH_SDL_IMAGE
        SDL_Surface* theirs = IMG_Load(path.c_str());
        ASSERT_NE(theirs, nullptr) << SDL_GetError();
        EXPECT_EQ(Digest(theirs), digest);
        SDL_FreeSurface(theirs);
#endif
        EXPECT_EQ(digest, expected) << "after make assets, the table takes the printed digests";
        SDL_FreeSurface(ours);
        if (written)
            std::remove(path.c_str());
    }
    SDL_Quit();
}

TEST(PictureLoader, RefusesDamagedAndOversizedPicturesSayingWhy)
{
    const std::string png = FileBytes("data/gfx/it_guy.png");
    const std::string jpeg = FileBytes("data/gfx/title_screen.jpg");
    std::string badCrc = png, badSignature = png;
    badCrc[30] ^= 1;
    badSignature[1] = 'Q';
    const std::pair<std::string, const char*> damaged[] = {
        {"", "Unsupported image format"},
        {"GIF89a\x01\x00\x01\x00\x00\x00\x00;", "Unsupported image format"},
        {badSignature, "Unsupported image format"},
        {png.substr(0, 8), "PNG: the file ends early"},
        {png.substr(0, 20), "PNG: the file ends early"},
        {png.substr(0, 33), "PNG: the file ends early"},
        {png.substr(0, png.size() / 2), "PNG: the file ends early"},
        {badCrc, "PNG: IHDR: CRC error"},
        {PngClaiming(png, 0, 0), "PNG: Invalid IHDR data"},
        {PngClaiming(png, 1, 2000000), "x: 1 x 2000000 pixels, more than 4096 on a side"},
        {PngClaiming(png, 16000, 60000), "x: 16000 x 60000 pixels, more than 4096 on a side"},
        {PngClaiming(png, 4097, 1), "x: 4097 x 1 pixels, more than 4096 on a side"},
        {PngClaiming(png, 4096, 1), "PNG: Not enough image data"}, // not refused for its size
        {jpeg.substr(0, 2), "JPEG: JPEG datastream contains no image"},
        {jpeg.substr(0, 300), "JPEG: Bogus Huffman table definition"},
        {JpegClaiming(jpeg, 0, 768), "JPEG: Empty JPEG image (DNL not supported)"},
        {JpegClaiming(jpeg, 16000, 16000), "x: 16000 x 16000 pixels, more than 4096 on a side"},
        {JpegClaiming(jpeg, 1024, 4097), "x: 1024 x 4097 pixels, more than 4096 on a side"},
    };
    for (const auto& [bytes, message] : damaged)
    {
        const std::string file = "pad." + bytes; // read from offset 4, and put back there
        SDL_RWops* stream = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
        SDL_RWseek(stream, 4, RW_SEEK_SET);
        SDL_ClearError();
        SDL_Surface* surface = tarn::LoadPicture(stream, false, "x");
        EXPECT_EQ(surface, nullptr) << message;
        EXPECT_STREQ(SDL_GetError(), message);
        EXPECT_EQ(SDL_RWtell(stream), 4) << message;
        SDL_RWclose(stream);
    }
}
