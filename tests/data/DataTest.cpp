#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <memory>
#include <string>
#include <tuple>

#include "audio/Audio.h"
#include "audio/BeatTrack.h"
#include "canvas/Color.h"
#include "canvas/Surface.h"
#include "music/Score.h"

// The generated game data: what the code relies on, and the committed music and the beat
// table built into the game made from the same, current score.

TEST(Data, TheBeatTableAndTheMusicComeFromTheCurrentScoreAndTheSoundsAre16BitWaves)
{
    const tarn::music::CScore score;
    EXPECT_EQ(GetBeatTrack().Times(), score.BeatTimes())
        << "src/audio/BeatTimes.inc is stale: run `make assets` after changing the score";
    ASSERT_EQ(SDL_Init(SDL_INIT_NOPARACHUTE), 0) << SDL_GetError();
    ASSERT_TRUE(InitAudio());
    // Decoded whole into the device's format, 16-bit stereo: four bytes a frame.
    Mix_Chunk* decoded = Mix_LoadWAV("data/sfx/Ondrafel.ogg");
    ASSERT_NE(decoded, nullptr) << Mix_GetError();
    EXPECT_EQ(decoded->alen / 4, score.LengthSamples()) << "data/sfx/Ondrafel.ogg is stale";
    Mix_FreeChunk(decoded);
    for (const std::string path : {"data/sfx/fire_07.wav", "data/sfx/fire_03.wav",
                                   "data/sfx/fire_04.wav", "data/sfx/explosion_sound.wav"})
    {
        SDL_AudioSpec spec;
        Uint8* samples = nullptr;
        Uint32 bytes = 0;
        ASSERT_NE(SDL_LoadWAV(path.c_str(), &spec, &samples, &bytes), nullptr) << path;
        EXPECT_TRUE(spec.format == AUDIO_S16LSB && spec.freq == 44100 && bytes > 0)
            << path << ": format " << spec.format << ", " << spec.freq << " Hz, " << bytes;
        SDL_FreeWAV(samples);
    }
    ShutdownAudio();
    SDL_Quit();
}

TEST(Data, EveryPictureLoadsAtItsSizeWithItsClearPartsZero)
{
    // Name, smallest and largest width and height, whether parts of it are see-through.
    std::vector<std::tuple<std::string, int, int, int, int, bool>> pictures = {
        {"title_screen.jpg", 1024, 768, 1024, 768, false},
        // Drawn stretched to 1088 x 832; at most 1024 a side keeps its texture small.
        {"background-03.jpg", 256, 192, 1024, 1024, false},
        {"score_background.png", 100, 48, 226, 200, true},
        {"background_stars.png", 32, 24, 4096, 4096, true},
        {"you_died.png", 32, 24, 32, 24, false}, // laid over the 32 x 24 canvas
        {"it_guy.png", 4, 5, 8, 8, true},
        {"bullet-01.png", 1, 1, 3, 3, false},
        {"bullet-02.png", 1, 1, 3, 3, false},
        {"particle-01.png", 1, 1, 3, 3, false},
        {"particle-02.png", 1, 1, 3, 3, false}};
    for (char i : {'1', '2', '3'})
        pictures.emplace_back(std::string("post-it-0") + i + ".png", 49, 49, 512, 512, true);
    for (char i : {'1', '2', '3', '4', '5'})
        pictures.emplace_back(std::string("black_hole_0") + i + ".png", 256, 192, 1024, 768, true);
    for (char d = '0'; d <= '9'; ++d)
        pictures.emplace_back(std::string("num_0") + d + ".png", 4, 16, 64, 48, true);
    for (const auto& [name, minW, minH, maxW, maxH, seeThrough] : pictures)
    {
        const std::unique_ptr<CSurface> p = LoadSurface("data/gfx/" + name);
        const int w = p->Width(), h = p->Height();
        EXPECT_TRUE(minW <= w && w <= maxW && minH <= h && h <= maxH) << name << w << "x" << h;
        bool clear = false, visible = false;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                const uint32_t pixel = p->GetPixel(x, y);
                clear = clear || pixel == 0u;
                visible = visible || CColor::FromPixel(pixel).a > 0.5f;
                // Level shots hit any non-zero pixel word of the player: clear pixels are 0.
                EXPECT_TRUE((pixel & CColor::kAlphaMask) || pixel == 0u) << name << x << "," << y;
            }
        EXPECT_TRUE(visible) << name;
        EXPECT_EQ(clear, seeThrough) << name;
    }
    // Shots leave the player's sprite at (3, 4): its gun.
    EXPECT_EQ(CColor::FromPixel(LoadSurface("data/gfx/it_guy.png")->GetPixel(3, 4)).a, 1.0f);
}
