#include <gtest/gtest.h>

#include <SDL_mixer.h>
#include <cstdlib>
#include <dirent.h>
#include <string>

#include "audio/AudioFixture.h"
#include "audio/BeatTrack.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace
{
constexpr int kSecond = 44100; // frames

int OpenFileCount()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd"))
    {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count;
}

class Music : public CAudioFixture
{
};

/// The "disk" driver writes the mixed output to a file, faster than real time.
class DiskOutput : public CAudioFixture
{
protected:
    void SetUp() override
    {
        CAudioFixture::SetUp();
        m_Output = m_Dir / "output.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", m_Output.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1); // ms between buffers
    }
    void TearDown() override
    {
        CAudioFixture::TearDown();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }

    /// Waits until nothing plays any more (at most 10 s), closes the mixer so that the file
    /// is complete, and checks it holds one square wave from WriteSquareWav on two channels.
    void ExpectSquareWaveOnce(int frames, int16_t level)
    {
        for (int i = 0; i < 10000 && (Mix_PlayingMusic() || Mix_Playing(-1)); ++i)
            SDL_Delay(1);
        SDL_Delay(20); // a few more buffers after the end
        ShutdownAudio();
        const std::vector<int16_t> samples = ReadSamples(m_Output);
        EXPECT_EQ(PeakOf(samples), level);
        int negative = 0;
        for (int i = 0; i < frames; ++i)
            negative += (i / 50) % 2;
        EXPECT_EQ(std::count(samples.begin(), samples.end(), int16_t(-level)), 2 * negative);
    }

    std::string m_Output;
};

/// SDL 1.2 starts its audio subsystem even without any driver, so the open is what fails.
struct SNoDevice
{
    const char* what;
    const char* driver;
    const char* diskFile;
} const kNoDevice[] = {
    {"no driver at all", "no-such-driver", nullptr},
    {"the device cannot open", "disk", "/nonexistent-folder/out.raw"},
};
// The audio subsystem itself may fail to start (sdl12-compat, for a driver it does not
// know), or only the mixer's device (the classic library starts the subsystem anyway).
bool IsNoDeviceMessage(const std::string& out)
{
    const std::string error = SDL_GetError() + std::string("\n");
    return out == "Ei onnannu " + error ||
           out == "Vaara: ei kyetty 44100 Hz 16-bit audioon " + error;
}

} // namespace

TEST_F(Music, StartingTheMusicResetsTheBeatTrackAndAFailedStartKeepsIt)
{
    WriteSquareWav("data/sfx/music.wav", 2, kSecond, 5000);
    StartAudioCaptured();
    CBeatTrack& track = GetBeatTrack();
    for (int i = 0; i < 3; ++i)
        track.Query(UINT32_MAX);
    ASSERT_EQ(track.Cursor(), 3);

    CaptureStdout();
    PlayMusic("data/sfx/music.wav");
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(track.Cursor(), 0);
    // A moment after the start: the flag counts from the first beat again.
    const bool flag = GetBeatFlag();
    EXPECT_LE(track.Cursor(), 1);
    EXPECT_EQ(flag, track.Cursor() == 1);

    track.Query(UINT32_MAX);
    CaptureStdout();
    PlayMusic("data/sfx/none.ogg");
    const std::string out = GetCapturedStdout();
    EXPECT_EQ(out.rfind("Error! Mix_LoadMUS( data/sfx/none.ogg) : ", 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_EQ(track.Cursor(), 1);
    EXPECT_EQ(Mix_PlayingMusic(), 1); // the running track goes on
}

TEST_F(Music, PlayMusicOpensTheDeviceItselfWhenNothingHasYet)
{
    WriteSquareWav("data/sfx/music.wav", 2, kSecond, 5000);
    ASSERT_FALSE(IsAudioRunning());
    CaptureStdout();
    PlayMusic("data/sfx/music.wav");
    EXPECT_EQ(GetCapturedStdout(), "dummy\n");
    EXPECT_TRUE(IsAudioRunning());
    EXPECT_EQ(Mix_PlayingMusic(), 1);
}

TEST_F(Music, RestartingTheTrackFreesThePreviousOneAndShutdownFreesTheLast)
{
    // An unfreed music object keeps its file open.
    WriteSquareWav("data/sfx/music.wav", 2, kSecond, 5000);
    StartAudioCaptured();
    const int baseline = OpenFileCount();
    for (int i = 0; i < 20; ++i)
        PlayMusic("data/sfx/music.wav");
    EXPECT_EQ(OpenFileCount(), baseline + 1);
    ShutdownAudio();
    EXPECT_FALSE(IsAudioRunning());
    EXPECT_LE(OpenFileCount(), baseline);
}

TEST_F(Music, WithoutADeviceStartUpReportsAndEveryLaterCallRetriesSilently)
{
    WriteSquareWav("data/sfx/a.wav", 1, 2205, 9000);
    WriteSquareWav("data/sfx/music.wav", 2, kSecond, 5000);
    for (const SNoDevice& c : kNoDevice)
    {
        setenv("SDL_AUDIODRIVER", c.driver, 1);
        if (c.diskFile)
            setenv("SDL_DISKAUDIOFILE", c.diskFile, 1);
        tarn::test::SetSoundClock({}); // the throttle forgets the previous case's sound

        CaptureStdout();
        EXPECT_FALSE(StartAudio()) << c.what;
        std::string out = GetCapturedStdout();
        EXPECT_TRUE(IsNoDeviceMessage(out)) << c.what << ": " << out;
        EXPECT_FALSE(IsAudioRunning());
        EXPECT_FALSE(MixerFile::HasRegistry()) << "nothing is preloaded without a device";

        // The shell's start and per-frame retry: the same message each time, no music.
        for (int frame = 0; frame < 2; ++frame)
        {
            CaptureStdout();
            PlayMusic("data/sfx/music.wav");
            out = GetCapturedStdout();
            EXPECT_TRUE(IsNoDeviceMessage(out)) << c.what << ": " << out;
            EXPECT_EQ(Mix_PlayingMusic(), 0);
        }
        // Sounds fail to load, report it, and leave nothing behind.
        CaptureStdout();
        PlaySound("data/sfx/a.wav");
        EXPECT_EQ(GetCapturedStdout(), "Error! Couldn't load: data/sfx/a.wav\n") << c.what;
        EXPECT_FALSE(MixerFile::HasRegistry() && !MixerFile::List().empty());
        GetBeatFlag(); // still answers
        ShutdownAudio();
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

// Full volume into a silent mix: the square wave comes out as it went in, once, and a mono
// sound on both channels.
TEST_F(DiskOutput, TheMusicReachesTheOutputOnce)
{
    WriteSquareWav("data/sfx/music.wav", 2, kSecond / 4, 6000);
    ASSERT_TRUE(StartAudio());
    PlayMusic("data/sfx/music.wav");
    ExpectSquareWaveOnce(kSecond / 4, 6000);
}

TEST_F(DiskOutput, APlayedSoundReachesTheOutputOnce)
{
    WriteSquareWav("data/sfx/fire_07.wav", 1, kSecond / 10, 7000);
    ASSERT_TRUE(StartAudio());
    PlaySound("data/sfx/fire_07.wav");
    ExpectSquareWaveOnce(kSecond / 10, 7000);
}
