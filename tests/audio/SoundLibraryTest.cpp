#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "audio/AudioFixture.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace
{
constexpr int kFrames = 2205; // 50 ms

/// Key -> whether its chunk loaded, for every registered sound.
std::map<std::string, bool> Registered()
{
    std::map<std::string, bool> keys;
    if (MixerFile::HasRegistry())
        for (const MixerFile* f : MixerFile::List())
            keys[f->Name()] = f->Chunk() != nullptr;
    return keys;
}

class SoundLibrary : public CAudioFixture
{
};
} // namespace

TEST_F(SoundLibrary, StartUpPreloadsTheListedWavsUnderLowerCasedKeys)
{
    WriteSquareWav("data/sfx/fire_07.wav", 1, kFrames, 9000);
    WriteSquareWav("data/sfx/Boom.wav", 2, kFrames, 9000); // mixed case
    WriteSquareWav("data/sfx/LOUD.WAV", 1, kFrames, 9000); // the pattern is case-sensitive
    WriteBytes("data/sfx/broken.wav", "not a sound at all");
    WriteBytes("data/sfx/notes.txt", "x");
    std::filesystem::create_directories("data/sfx/old");

    const std::string out = StartAudioCaptured();
    EXPECT_TRUE(IsAudioRunning());
    // One line for the driver, one for the file that failed; nothing else.
    EXPECT_EQ(out.find("dummy\n"), 0u) << out;
    EXPECT_NE(out.find("Error! Couldn't load: data/sfx/broken.wav\n"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;

    // Boom.wav loads although its key is lower-case: it is opened by its listed name.
    EXPECT_EQ(Registered(), (std::map<std::string, bool>{{"data/sfx/boom.wav", true},
                                                         {"data/sfx/broken.wav", false},
                                                         {"data/sfx/fire_07.wav", true}}));
    MixerFile* const preloaded = FindOrLoad("data/sfx/boom.wav");
    EXPECT_EQ(FindOrLoad("data/sfx/boom.wav"), preloaded);

    // A mixed-case request misses the lower-cased key and loads an entry of its own.
    const int before = tarn::test::SoundsPlayed();
    PlayUnthrottled("data/sfx/Boom.wav");
    EXPECT_EQ(tarn::test::SoundsPlayed(), before + 1);
    EXPECT_EQ(Registered().count("data/sfx/Boom.wav"), 1u);
    EXPECT_NE(FindOrLoad("data/sfx/Boom.wav"), preloaded);
}

TEST_F(SoundLibrary, AFailedLoadStaysUntilItsFirstPlayThenEveryPlayRetriesAndReports)
{
    WriteBytes("data/sfx/broken.wav", "RIFF....WAVEjunk");
    StartAudioCaptured();
    ASSERT_EQ(Registered().count("data/sfx/broken.wav"), 1u);
    const int before = tarn::test::SoundsPlayed();

    struct Step
    {
        const char* name;
        const char* printed;
    } steps[] = {
        {"data/sfx/broken.wav", ""}, // the preloaded entry goes quietly
        {"data/sfx/broken.wav", "Error! Couldn't load: data/sfx/broken.wav\n"},
        {"data/sfx/broken.wav", "Error! Couldn't load: data/sfx/broken.wav\n"},
        {"data/sfx/missing.wav", "Error! Couldn't load: data/sfx/missing.wav\n"},
    };
    for (const Step& step : steps)
    {
        CaptureStdout();
        PlayUnthrottled(step.name);
        EXPECT_EQ(GetCapturedStdout(), step.printed) << step.name;
        EXPECT_TRUE(Registered().empty()) << step.name;
    }
    EXPECT_EQ(tarn::test::SoundsPlayed(), before);
}

TEST_F(SoundLibrary, ASoundNeverListedIsLoadedOnItsFirstRequestAndPlaysAtOnce)
{
    WriteSquareWav("extra.wav", 1, kFrames, 9000); // outside the sound folder
    StartAudioCaptured();
    EXPECT_TRUE(Registered().empty());
    const int before = tarn::test::SoundsPlayed();
    PlaySound("extra.wav");
    EXPECT_EQ(tarn::test::SoundsPlayed(), before + 1);
    EXPECT_EQ(Registered(), (std::map<std::string, bool>{{"extra.wav", true}}));
}

TEST_F(SoundLibrary, TheLastDestroyedFileFreesTheRegistryAndTheNextLookupMakesANewOne)
{
    WriteSquareWav("data/sfx/a.wav", 1, kFrames, 9000);
    WriteSquareWav("data/sfx/b.wav", 1, kFrames, 9000);
    StartAudioCaptured();
    ASSERT_EQ(MixerFile::List().size(), 2u);
    delete MixerFile::List().front();
    EXPECT_TRUE(MixerFile::HasRegistry());
    delete MixerFile::List().front();
    EXPECT_FALSE(MixerFile::HasRegistry());

    MixerFile* const again = FindOrLoad("data/sfx/a.wav");
    ASSERT_TRUE(MixerFile::HasRegistry());
    EXPECT_EQ(MixerFile::List().size(), 1u);
    EXPECT_NE(again->Chunk(), nullptr);
}

TEST_F(SoundLibrary, ThrottleDropsOnlyBackToBackRepeatsWithinAHundredMilliseconds)
{
    WriteSquareWav("data/sfx/a.wav", 1, kFrames, 9000);
    WriteSquareWav("data/sfx/b.wav", 1, kFrames, 9000);
    StartAudioCaptured();
    const std::string a = "data/sfx/a.wav", b = "data/sfx/b.wav";
    struct Request
    {
        uint32_t time;
        std::string name;
    };
    struct Case
    {
        const char* what;
        std::vector<Request> requests;
        int plays;
    } cases[] = {
        {"first request ever", {{0, a}}, 1},
        {"same within the window", {{1000, a}, {1099, a}}, 1},
        {"same at the window's end", {{1000, a}, {1100, a}}, 2},
        {"another name in between", {{1000, a}, {1010, b}, {1020, a}}, 3},
        {"two explosions and a shot in one frame", {{1000, a}, {1000, a}, {1000, b}}, 2},
        {"a dropped repeat does not extend the window", {{1000, a}, {1060, a}, {1100, a}}, 2},
        {"within the window across the clock wrap", {{0xFFFFFFC0u, a}, {0x10u, a}}, 1},
        {"past the window across the clock wrap", {{0xFFFFFFC0u, a}, {0x30u, a}}, 2},
    };
    for (const Case& c : cases)
    {
        uint32_t now = 0;
        tarn::test::SetSoundClock([&now] { return now; });
        const int before = tarn::test::SoundsPlayed();
        for (const Request& r : c.requests)
        {
            now = r.time;
            PlaySound(r.name);
        }
        EXPECT_EQ(tarn::test::SoundsPlayed() - before, c.plays) << c.what;
    }
}
