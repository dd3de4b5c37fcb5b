#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "audio/BeatTrack.h"
#include "data/OggInfo.h"
#include "music/Score.h"

namespace
{
using namespace tarn::music;

// The table the game runs with.
const std::vector<uint32_t>& kBuiltIn = GetBeatTrack().Times();

const char* const kMusic = "data/sfx/Ondrafel.ogg";

TEST(BeatTable, IsWhatTheScoreYields)
{
    const CScore score;
    EXPECT_EQ(kBuiltIn, score.BeatTimes())
        << "src/audio/BeatTimes.inc is stale: run `make assets` after changing the score";
}

TEST(BeatTable, IsStrictlyIncreasingAndWithinTheTrack)
{
    const SOggInfo ogg = ReadOggInfo(kMusic);
    ASSERT_TRUE(ogg.valid);
    ASSERT_GT(ogg.sampleRate, 0u);
    const double trackMs = double(ogg.samples) * 1000.0 / ogg.sampleRate;
    ASSERT_FALSE(kBuiltIn.empty());
    EXPECT_LT(double(kBuiltIn.back()), trackMs);
    for (size_t i = 1; i < kBuiltIn.size(); ++i)
        ASSERT_LT(kBuiltIn[i - 1], kBuiltIn[i]) << "at entry " << i;
}

TEST(BeatTable, CommittedTrackIsTheScoreRendered)
{
    // The decoded length pins the committed file to the current score: a change of bars
    // or tempo without `make assets` shows here.
    const SOggInfo ogg = ReadOggInfo(kMusic);
    ASSERT_TRUE(ogg.valid);
    EXPECT_EQ(ogg.samples, CScore().LengthSamples());
    EXPECT_EQ(ogg.sampleRate, uint32_t(kSampleRate));
    EXPECT_EQ(ogg.channels, 2);
    const double seconds = double(ogg.samples) / ogg.sampleRate;
    EXPECT_GE(seconds, 120.0);
    EXPECT_LE(seconds, 240.0);
}

TEST(BeatTable, BeatsFollowTheTempoWithRunsOfHalfBeats)
{
    // Gaps of one beat (461.5 ms at 130 BPM) and of half a beat, rounding to whole
    // milliseconds making either one off by one; the creature must flip visibly, so no
    // gap may be shorter than half a beat.
    int beats = 0, halves = 0, run = 0, longestRun = 0;
    for (size_t i = 1; i < kBuiltIn.size(); ++i)
    {
        const uint32_t gap = kBuiltIn[i] - kBuiltIn[i - 1];
        EXPECT_GE(gap, 230u) << "at entry " << i;
        beats += gap == 461 || gap == 462;
        const bool half = gap == 230 || gap == 231;
        halves += half;
        run = half ? run + 1 : 0;
        longestRun = std::max(longestRun, run);
    }
    EXPECT_GT(beats, int(kBuiltIn.size()) / 3);
    EXPECT_GT(halves, 0);
    EXPECT_GE(longestRun, 16);
}

TEST(Score, StepTimesRoundToTheNearestMillisecond)
{
    struct SCase
    {
        int step;
        uint32_t ms;
    };
    // 5088 samples a step at 44.1 kHz: 115.374... ms; the lead-in is 100 ms.
    const SCase cases[] = {{0, 100}, {1, 215}, {2, 331}, {4, 561}, {16, 1946}, {1280, 147779}};
    for (const SCase& c : cases)
        EXPECT_EQ(StepToMilliseconds(c.step), c.ms) << "step " << c.step;
}

TEST(Score, HasSectionsBassLeadAndDrums)
{
    const CScore score;
    ASSERT_GE(score.Sections().size(), 2u);
    int bar = 0;
    for (const SSection& s : score.Sections())
    {
        EXPECT_EQ(s.firstBar, bar) << s.name;
        bar += s.bars;
    }
    EXPECT_EQ(bar, score.Bars());
    for (EVoice voice : {EVoice::Bass, EVoice::Lead, EVoice::Pad, EVoice::Arp})
        EXPECT_TRUE(std::any_of(score.Notes().begin(), score.Notes().end(),
                                [voice](const SNote& n) { return n.voice == voice; }));
    // Every note and stroke lies inside the bars; the tail only lets them ring out.
    const int steps = score.Bars() * kStepsPerBar;
    for (const SNote& n : score.Notes())
        ASSERT_LE(n.step + n.length, steps);
    for (const SDrumHit& d : score.Drums())
        ASSERT_LT(d.step, steps);
}
} // namespace
