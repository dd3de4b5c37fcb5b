#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "audio/BeatTrack.h"

TEST(BeatTrack, QueriedEveryFrameTheFlagFlipsAtEachBeatAtMostOneFrameLate)
{
    CBeatTrack track;
    const std::vector<uint32_t>& times = track.Times();
    const uint32_t end = times.back() + 1000;
    for (uint32_t t = 0; t <= end; t += 16)
    {
        const bool flag = track.Query(t);
        // Beats strictly before t have all been passed, none ahead of it.
        const auto passed = std::lower_bound(times.begin(), times.end(), t) - times.begin();
        ASSERT_EQ(track.Cursor(), passed) << "t = " << t;
        ASSERT_EQ(flag, passed % 2 == 1) << "t = " << t;
    }
}

TEST(BeatTrack, QueriesOnAGivenTable)
{
    struct Case
    {
        std::vector<uint32_t> times;
        std::vector<uint32_t> queries;
        std::vector<int> cursors; // after each query; the flag is its parity
    } cases[] = {
        // Strictly past the beat, one step per query however late, then no further.
        {{100, 200, 300}, {100, 101, 101, 150, 201, 5000, 5000, 5000}, {0, 1, 1, 1, 2, 3, 3, 3}},
        {{10, 20, 30, 40}, {99, 99, 99, 99, 99}, {1, 2, 3, 4, 4}}, // a late start catches up
        // Odd table length: past the end the flag stays true; even: false.
        {{10}, {0, 11, 12}, {0, 1, 1}},
        {{}, {0, UINT32_MAX}, {0, 0}},
        // The comparison is unsigned: the largest times still count.
        {{0, UINT32_MAX - 1}, {0, 1, UINT32_MAX - 1, UINT32_MAX}, {0, 1, 1, 2}},
    };
    for (const Case& c : cases)
    {
        CBeatTrack track(c.times);
        for (std::size_t i = 0; i < c.queries.size(); ++i)
        {
            const bool flag = track.Query(c.queries[i]);
            EXPECT_EQ(track.Cursor(), c.cursors[i])
                << "query " << i << " of a table of " << c.times.size();
            EXPECT_EQ(flag, c.cursors[i] % 2 == 1);
        }
    }
}
