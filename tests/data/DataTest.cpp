#include <SDL_mixer.h>
#include <set>

#include "Support.h"
#include "audio/Audio.h"
#include "audio/BeatTrack.h"
#include "music/Score.h"

TEST(Data, BeatsAndMusicComeFromTheScoreAndEveryPictureLoadsWithItsClearPartsZero)
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
    ShutdownAudio();
    SDL_Quit();

    const std::set<std::string> opaque = {
        "title_screen.jpg", "background-03.jpg", "you_died.png",   "bullet-01.png",
        "bullet-02.png",    "particle-01.png",   "particle-02.png"};
    int pictures = 0;
    for (const auto& file : std::filesystem::directory_iterator("data/gfx"))
    {
        const std::string name = file.path().filename().string();
        const std::unique_ptr<CSurface> p = LoadSurface(file.path().string());
        ++pictures;
        bool clear = false, visible = false;
        for (int i = 0; i < p->Width() * p->Height(); ++i)
        {
            const uint32_t pixel = p->GetPixel(i % p->Width(), i / p->Width());
            clear = clear || pixel == 0u;
            visible = visible || CColor::FromPixel(pixel).a > 0.5f;
            // Level shots hit any non-zero pixel word of the player: clear pixels are 0.
            if ((pixel & CColor::kAlphaMask) == 0)
                EXPECT_EQ(pixel, 0u) << name << " pixel " << i;
        }
        EXPECT_TRUE(visible) << name;
        EXPECT_EQ(clear, opaque.count(name) == 0) << name;
    }
    EXPECT_EQ(pictures, 28) << "the game loads 28 pictures";
    // The death picture covers the 32 x 24 canvas; the player's shots leave its gun at (3, 4).
    const std::unique_ptr<CSurface> died = LoadSurface("data/gfx/you_died.png");
    EXPECT_EQ(std::make_pair(died->Width(), died->Height()), std::make_pair(32, 24));
    EXPECT_EQ(CColor::FromPixel(LoadSurface("data/gfx/it_guy.png")->GetPixel(3, 4)).a, 1.0f);
}
