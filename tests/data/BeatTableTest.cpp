#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/BeatTrack.h"
#include "data/OggInfo.h"
#include "music/Score.h"

namespace
{
const std::vector<uint32_t>& kBuiltIn = GetBeatTrack().Times();

TEST(BeatTable, IsWhatTheScoreYields)
{
    EXPECT_EQ(kBuiltIn, tarn::music::CScore().BeatTimes())
        << "src/audio/BeatTimes.inc is stale: run `make assets` after changing the score";
}

TEST(BeatTable, RisesByAtLeastHalfABeatWithinTheCommittedTrack)
{
    // The decoded length pins the committed file to the current score: a change of bars or
    // tempo without `make assets` shows here.
    const SOggInfo ogg = ReadOggInfo("data/sfx/Ondrafel.ogg");
    ASSERT_TRUE(ogg.valid);
    EXPECT_EQ(ogg.samples, tarn::music::CScore().LengthSamples());
    EXPECT_EQ(ogg.sampleRate, uint32_t(tarn::music::kSampleRate));
    ASSERT_FALSE(kBuiltIn.empty());
    EXPECT_LT(double(kBuiltIn.back()), double(ogg.samples) * 1000.0 / ogg.sampleRate);
    // Half a beat at 130 BPM is 230.8 ms: the creature must flip visibly.
    for (size_t i = 1; i < kBuiltIn.size(); ++i)
        ASSERT_GE(kBuiltIn[i] - kBuiltIn[i - 1], 230u) << "at entry " << i;
}
} // namespace
