#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace
{
/// Opens the mixer on SDL's dummy audio driver for one test.
class CMixer
{
public:
    CMixer()
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        m_Open = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 &&
                 Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) == 0;
    }
    ~CMixer()
    {
        if (m_Open)
            Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    bool Open() const { return m_Open; }

private:
    bool m_Open = false;
};

struct SWavHeader
{
    bool valid = false;
    uint16_t format = 0, bits = 0;
    uint32_t rate = 0;
};

SWavHeader ReadWavHeader(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    unsigned char h[36] = {};
    file.read(reinterpret_cast<char*>(h), sizeof h);
    SWavHeader w;
    if (!file || std::string(h, h + 4) != "RIFF" || std::string(h + 8, h + 16) != "WAVEfmt ")
        return w;
    auto u16 = [&](int at) { return uint16_t(h[at] | h[at + 1] << 8); };
    w.valid = true;
    w.format = u16(20);
    w.rate = uint32_t(u16(24)) | uint32_t(u16(26)) << 16;
    w.bits = u16(34);
    return w;
}

const char* const kSounds[] = {"data/sfx/fire_07.wav", "data/sfx/fire_03.wav",
                               "data/sfx/fire_04.wav", "data/sfx/explosion_sound.wav"};

TEST(Sounds, AreShort16BitWavesAndTheMusicIsOgg)
{
    CMixer mixer;
    ASSERT_TRUE(mixer.Open()) << SDL_GetError();
    for (const char* name : kSounds)
    {
        SCOPED_TRACE(name);
        const SWavHeader header = ReadWavHeader(name);
        ASSERT_TRUE(header.valid);
        EXPECT_EQ(header.format, 1); // PCM
        EXPECT_EQ(header.rate, 44100u);
        EXPECT_EQ(header.bits, 16);
        Mix_Chunk* chunk = Mix_LoadWAV(name);
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        // The device format: 16-bit stereo, four bytes a frame.
        const double seconds = double(chunk->alen) / 4.0 / 44100.0;
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, 1.5) << "effects are short";
        Mix_FreeChunk(chunk);
    }
    Mix_Music* music = Mix_LoadMUS("data/sfx/Ondrafel.ogg");
    ASSERT_NE(music, nullptr) << Mix_GetError();
    EXPECT_EQ(Mix_GetMusicType(music), MUS_OGG);
    Mix_FreeMusic(music);
}
} // namespace
