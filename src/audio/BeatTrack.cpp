#include "audio/BeatTrack.h"

#include <cassert>
#include <cstddef>
#include <iterator>
#include <utility>

namespace
{
/// Milliseconds from the start of "data/sfx/Ondrafel.ogg"; generated from the score.
constexpr uint32_t kBeatTimes[] = {
#include "audio/BeatTimes.inc"
};

/// Whether every time is later than the one before it; for the table and for a vector.
template <typename Times> constexpr bool IsStrictlyIncreasing(const Times& times)
{
    for (std::size_t i = 1; i < std::size(times); ++i)
        if (times[i] <= times[i - 1])
            return false;
    return true;
}
// A regenerated table that breaks the order would make the flag skip beats silently.
static_assert(IsStrictlyIncreasing(kBeatTimes), "BeatTimes.inc must be strictly increasing");

// The table is read-only data: build the track before main, like any other constant.
const CBeatTrack& s_BuiltBeforeMain = GetBeatTrack();
} // namespace

CBeatTrack::CBeatTrack() : m_Times(std::size(kBeatTimes), 0u)
{
    for (std::size_t i = 0; i < std::size(kBeatTimes); ++i)
        m_Times[i] = kBeatTimes[i];
}

CBeatTrack::CBeatTrack(std::vector<uint32_t> times) : m_Times(std::move(times))
{
    assert(IsStrictlyIncreasing(m_Times) && "beat times must be strictly increasing");
}

bool CBeatTrack::Query(uint32_t t)
{
    // At most one step per query: after a pause the flag flips every query until it has
    // caught up with the music, which the level shows as a brief flicker.
    if (m_Cursor >= 0 && static_cast<std::size_t>(m_Cursor) < m_Times.size() &&
        t > m_Times[m_Cursor])
        ++m_Cursor;
    return (m_Cursor & 1) != 0;
}

CBeatTrack& GetBeatTrack()
{
    static CBeatTrack track;
    return track;
}
