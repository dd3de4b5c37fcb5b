#include <SDL_mixer.h>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>

#include "Support.h"

#include "audio/Audio.h"
#include "audio/BeatTrack.h"
#include "audio/SoundLibrary.h"

namespace
{
/// Writes a 16-bit 44.1 kHz PCM WAV of `frames` frames: a square wave on every channel.
void WriteSquareWav(const std::string& path, int channels, int frames, int16_t amplitude)
{
    const auto field = [](uint32_t value, int bytes)
    { return std::string(reinterpret_cast<const char*>(&value), bytes); };
    const uint32_t rate = 44100, bytesPerFrame = 2 * channels, dataBytes = bytesPerFrame * frames;
    // RIFF header, format block (PCM, channels, rate, bytes a second, a frame, bits), data.
    std::string out = "RIFF" + field(36 + dataBytes, 4) + "WAVEfmt " + field(16, 4) + field(1, 2) +
                      field(channels, 2) + field(rate, 4) + field(rate * bytesPerFrame, 4) +
                      field(bytesPerFrame, 2) + field(16, 2) + "data" + field(dataBytes, 4);
    for (int i = 0; i < frames * channels; ++i) // half periods of 50 frames
        out += field(static_cast<uint16_t>((i / channels / 50) % 2 ? -amplitude : amplitude), 2);
    std::ofstream(path, std::ios::binary) << out;
}

template <typename Call> std::string Printed(Call call)
{
    ::testing::internal::CaptureStdout();
    call();
    return ::testing::internal::GetCapturedStdout();
}

/// A test in its own folder holding data/sfx/, SDL's clock started; the audio state put back.
class Audio : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_NOPARACHUTE), 0) << SDL_GetError(); }
    void TearDown() override
    {
        while (!MixerFile::List().empty())
            delete MixerFile::List().front(); // a clean slate; the game never does this
        ShutdownAudio();
        SetSoundOutput(nullptr);
        SDL_Quit();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }

    CTempDir m_Dir;
    const bool m_Made = std::filesystem::create_directories(m_Dir / "data/sfx");
    CCurrentDir m_Cwd{m_Dir.Path()};
};
} // namespace

TEST_F(Audio, PlayMusicOpensTheDeviceRestartsTheBeatsAndFreesThePreviousTrack)
{
    WriteSquareWav("data/sfx/music.wav", 2, 44100, 5000);
    CBeatTrack& track = GetBeatTrack();
    track.Query(UINT32_MAX);
    ASSERT_NE(track.Cursor(), 0);
    // Past the first beat since SDL started: a start time left behind would count from 0.
    SDL_Delay(track.Times().front() + 50);
    const Uint32 before = SDL_GetTicks();
    EXPECT_EQ(Printed([] { PlayMusic("data/sfx/music.wav"); }), "dummy\n");
    EXPECT_EQ(std::make_pair(IsAudioRunning(), Mix_PlayingMusic()), std::make_pair(true, 1));
    EXPECT_EQ(track.Cursor(), 0);
    if (GetBeatFlag())
        EXPECT_GE(SDL_GetTicks() - before, track.Times().front())
            << "the flag counts from the first beat again";

    const auto openFiles = [] // each track holds its file open
    { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    const std::ptrdiff_t files = openFiles();
    for (int i = 0; i < 20; ++i)
        PlayMusic("data/sfx/music.wav");
    EXPECT_EQ(openFiles(), files);
    ShutdownAudio();
    EXPECT_LT(openFiles(), files);
    EXPECT_EQ(std::make_tuple(IsAudioRunning(), Mix_QuerySpec(nullptr, nullptr, nullptr),
                              SDL_WasInit(SDL_INIT_AUDIO)),
              std::make_tuple(false, 0, 0u));
}

TEST_F(Audio, WithoutADeviceEveryCallReportsItAndTheGamePlaysOnSilently)
{
    WriteSquareWav("data/sfx/a.wav", 1, 2205, 9000);
    // Classic SDL 1.2 fails in the mixer's open; sdl12-compat already in starting the subsystem.
    const auto isNoDeviceMessage = [](const std::string& out)
    {
        const std::string error = SDL_GetError() + std::string("\n");
        return out == "Ei onnannu " + error ||
               out == "Vaara: ei kyetty 44100 Hz 16-bit audioon " + error;
    };
    for (const char* driver : {"no-such-driver", "disk"})
    {
        setenv("SDL_AUDIODRIVER", driver, 1);
        setenv("SDL_DISKAUDIOFILE", "/nonexistent-folder/out.raw", 1);
        SetSoundOutput(nullptr); // the throttle forgets the previous case's sound
        EXPECT_TRUE(isNoDeviceMessage(Printed([] { EXPECT_FALSE(StartAudio()); }))) << driver;
        EXPECT_TRUE(MixerFile::List().empty()) << "nothing is preloaded without a device";
        EXPECT_TRUE(isNoDeviceMessage(Printed([] { PlayMusic("data/sfx/a.wav"); }))) << driver;
        EXPECT_EQ(Printed([] { PlaySound("data/sfx/a.wav"); }),
                  "Error! Couldn't load: data/sfx/a.wav\n");
        EXPECT_TRUE(MixerFile::List().empty()) << "the failed file is gone";
        ShutdownAudio();
    }
}

TEST_F(Audio, StartUpPreloadsTheListedWavsUnderLowerCasedKeys)
{
    WriteSquareWav("data/sfx/fire_07.wav", 1, 2205, 9000);
    WriteSquareWav("data/sfx/Boom.wav", 2, 2205, 9000); // mixed case
    WriteSquareWav("data/sfx/LOUD.WAV", 1, 2205, 9000); // the pattern is case-sensitive
    std::ofstream("data/sfx/broken.wav") << "RIFF....WAVEjunk";
    std::filesystem::create_directories("data/sfx/old.wav"); // a folder is no sound

    EXPECT_EQ(Printed([] { StartAudio(); }), "dummy\nError! Couldn't load: data/sfx/broken.wav\n");
    EXPECT_EQ(Mix_AllocateChannels(-1), 16) << "sounds that can sound at once";
    // Boom.wav loads although its key is lower-case: it is opened by its listed name.
    std::map<std::string, bool> loaded; // key -> whether its chunk loaded
    for (const MixerFile* f : MixerFile::List())
        loaded[f->Name()] = f->Chunk() != nullptr;
    EXPECT_EQ(loaded, (std::map<std::string, bool>{{"data/sfx/boom.wav", true},
                                                   {"data/sfx/broken.wav", false},
                                                   {"data/sfx/fire_07.wav", true}}));
    // The failed entry goes quietly at its first play; every later play retries and reports.
    CRecordingOutput output;
    SetSoundOutput(&output);
    const auto broken = [] { PlayUnthrottled("data/sfx/broken.wav"); };
    EXPECT_EQ(Printed(broken), "");
    EXPECT_EQ(Printed(broken), "Error! Couldn't load: data/sfx/broken.wav\n");
    PlayUnthrottled("data/sfx/boom.wav");
    EXPECT_EQ(output.m_Played.size(), 1u) << "only the sound that loaded played";
}

TEST_F(Audio, ThrottleDropsOnlyBackToBackRepeatsWithinAHundredMilliseconds)
{
    WriteSquareWav("a", 1, 2205, 9000);
    WriteSquareWav("b", 1, 2205, 9000);
    ASSERT_TRUE(StartAudio());
    // What happens, the requests (ms, sound), how many play.
    const std::tuple<const char*, std::vector<std::pair<uint32_t, const char*>>, size_t> cases[] = {
        {"same within the window", {{1000, "a"}, {1099, "a"}}, 1},
        {"same at the window's end", {{1000, "a"}, {1100, "a"}}, 2},
        {"another name in between", {{1000, "a"}, {1010, "b"}, {1020, "a"}}, 3},
        {"a dropped repeat does not extend the window", {{1000, "a"}, {1060, "a"}, {1100, "a"}}, 2},
        {"across the clock wrap", {{0xFFFFFFC0u, "a"}, {0x10u, "a"}, {0x30u, "a"}}, 2}};
    for (const auto& [what, requests, plays] : cases)
    {
        CRecordingOutput output;
        SetSoundOutput(&output);
        for (const auto& [time, name] : requests)
        {
            output.m_Now = time;
            PlaySound(name);
        }
        EXPECT_EQ(output.m_Played.size(), plays) << what;
    }
}

TEST(BeatTrack, StepsAtMostOnceAQueryAndOnlyStrictlyPastTheNextBeat)
{
    // A table, the queries (ms since the music started), the cursor after each (odd: the flag).
    const std::tuple<std::vector<uint32_t>, std::vector<uint32_t>, std::vector<int>> cases[] = {
        {{100, 200, 300}, {100, 101, 101, 150, 201, 5000, 5000, 5000}, {0, 1, 1, 1, 2, 3, 3, 3}},
        {{10, 20, 30, 40}, {99, 99, 99, 99, 99}, {1, 2, 3, 4, 4}}, // a late start catches up
        {{10}, {0, 11, 12}, {0, 1, 1}}, // odd length: the flag stays up past the end
        {{}, {0, UINT32_MAX}, {0, 0}},
        // The comparison is unsigned: the largest times still count.
        {{0, UINT32_MAX - 1}, {0, 1, UINT32_MAX - 1, UINT32_MAX}, {0, 1, 1, 2}}};
    for (const auto& [times, queries, cursors] : cases)
    {
        CBeatTrack track(times);
        for (std::size_t i = 0; i < queries.size(); ++i)
        {
            const bool flag = track.Query(queries[i]);
            EXPECT_EQ(track.Cursor(), cursors[i]) << "query " << i << " of " << times.size();
            EXPECT_EQ(flag, cursors[i] % 2 == 1);
        }
    }
}
