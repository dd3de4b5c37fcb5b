#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>
#include <cstdio>
#include <fstream>

#include "Support.h"
#include "canvas/Sprite.h"
#include "render/GlTestSupport.h"
#include "render/Texture.h"

using gltest::CreateRgbaSurface;
using gltest::PixelAt;
using gltest::Rgba;

TEST(Texture, EnlargesToThePowerOfTwoAndCoordinatesStopAtThePicturesOwnArea)
{
    const struct
    {
        int n, expected;
    } cases[] = {{1, 1}, {2, 2}, {3, 4}, {20, 32}, {32, 32}, {33, 64}, {100, 128}, {1025, 2048}};
    for (const auto& c : cases)
        EXPECT_EQ(NextPowerOfTwo(c.n), c.expected) << c.n;

    const CTextureLayout odd = ComputeTextureLayout(33, 20);
    EXPECT_EQ(odd.m_Width, 64);
    EXPECT_EQ(odd.m_Height, 32);
    EXPECT_EQ(odd.m_UMax, 33.0f / 64.0f);
    EXPECT_EQ(odd.m_VMax, 20.0f / 32.0f);
    EXPECT_EQ(ComputeTextureLayout(32, 32).m_UMax, 1.0f);
}

TEST(BleedEdges, CopiesTheLastColumnAndRowIntoTheMargin)
{
    SDL_Surface* image = CreateRgbaSurface(64, 32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 33; ++x)
            PixelAt(image, x, y) = Rgba(x * 7, y * 11, (x + y) % 256, 200 + y);
    BleedEdges(image, SDL_Rect{0, 0, 33, 20});

    for (int y = 0; y < 20; ++y)
        EXPECT_EQ(PixelAt(image, 33, y), PixelAt(image, 32, y)) << "row " << y;
    for (int x = 0; x < 33; ++x)
        EXPECT_EQ(PixelAt(image, x, 20), PixelAt(image, x, 19)) << "column " << x;
    EXPECT_EQ(PixelAt(image, 33, 20), PixelAt(image, 32, 19));
    // Only that one column, row and corner are copied; farther margin pixels had no
    // opaque neighbour and stay transparent black.
    EXPECT_EQ(PixelAt(image, 34, 0), 0u);
    EXPECT_EQ(PixelAt(image, 33, 21), 0u);
    EXPECT_EQ(PixelAt(image, 0, 21), 0u);
    SDL_FreeSurface(image);
}

TEST(BleedEdges, GivesTransparentPixelsTheMeanColourOfOpaqueNeighbours)
{
    SDL_Surface* image = CreateRgbaSurface(4, 4);
    // Row 0: opaque pixels of red 100 and 51 (alpha 1 counts as opaque) about (1, 1).
    PixelAt(image, 0, 0) = Rgba(100, 20, 0, 255);
    PixelAt(image, 1, 0) = Rgba(51, 0, 9, 1);
    // (3, 3) is transparent green with no opaque pixel near it.
    PixelAt(image, 3, 3) = Rgba(0, 255, 0, 0);
    BleedEdges(image, SDL_Rect{0, 0, 4, 4});

    EXPECT_EQ(PixelAt(image, 1, 1), Rgba(75, 10, 4, 0)); // Means truncate; alpha stays 0.
    EXPECT_EQ(PixelAt(image, 2, 1), Rgba(51, 0, 9, 0));
    EXPECT_EQ(PixelAt(image, 3, 3), Rgba(0, 255, 0, 0));
    EXPECT_EQ(PixelAt(image, 0, 0), Rgba(100, 20, 0, 255)); // Opaque pixels never change.
    SDL_FreeSurface(image);

    SDL_Surface* ring = CreateRgbaSurface(3, 3);
    SDL_FillRect(ring, nullptr, Rgba(255, 0, 0, 255));
    PixelAt(ring, 1, 1) = Rgba(0, 0, 255, 0);
    BleedEdges(ring, SDL_Rect{0, 0, 3, 3});
    EXPECT_EQ(PixelAt(ring, 1, 1), Rgba(255, 0, 0, 0));
    SDL_FreeSurface(ring);
}

TEST(BleedEdges, LeavesImagesNarrowerThanTwoPixelsAndEmptyPicturesAlone)
{
    SDL_Surface* thin = CreateRgbaSurface(1, 4);
    PixelAt(thin, 0, 0) = Rgba(255, 0, 0, 255);
    BleedEdges(thin, SDL_Rect{0, 0, 1, 1});
    EXPECT_EQ(PixelAt(thin, 0, 1), 0u);
    SDL_FreeSurface(thin);

    // A blit that wrote nothing leaves an empty rectangle: there is no edge to copy and
    // nothing left of the image may be read.
    SDL_Surface* image = CreateRgbaSurface(4, 4);
    PixelAt(image, 3, 3) = Rgba(1, 2, 3, 0);
    BleedEdges(image, SDL_Rect{0, 0, 0, 0});
    EXPECT_EQ(PixelAt(image, 0, 0), 0u);
    EXPECT_EQ(PixelAt(image, 3, 3), Rgba(1, 2, 3, 0));
    SDL_FreeSurface(image);
}

TEST(PictureCache, RemembersAMissingPictureAndNeverTriesAgain)
{
    const CTempDir folder;
    const std::string name = folder / "late.bmp";
    EXPECT_EQ(GetTexture(name), nullptr);

    // The file appears afterwards: it is loadable, but the cache keeps its first answer
    // (a retry would reach GL, which this test does not even have).
    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 24, 0, 0, 0, 0);
    ASSERT_EQ(SDL_SaveBMP(picture, name.c_str()), 0);
    SDL_FreeSurface(picture);
    SDL_Surface* check = IMG_Load(name.c_str());
    ASSERT_NE(check, nullptr);
    SDL_FreeSurface(check);
    EXPECT_EQ(GetTexture(name), nullptr);
}

TEST(PictureLoadFailure, NamesEachFailedFileOnceOnStandardError)
{
    // A failed picture is met again and again: a sprite per particle, a surface per
    // gameplay, a texture per frame. Each file is named once, whichever loader met it.
    const CTempDir folder;
    const std::string missing = folder / "missing.png";
    const std::string garbage = folder / "garbage.png";
    std::ofstream(garbage) << "not a picture";
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(GetTexture(missing), nullptr);
        EXPECT_EQ(LoadSurface(missing)->Width(), 0);
        RemoveSprite(CreateSprite(missing));
        RemoveSprite(CreateSprite(garbage));
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error! Couldn't load picture: " + missing + "\n" +
                  "Error! Couldn't load picture: " + garbage + "\n");
}
