#pragma once

#include <cstdint>
#include <vector>

/// Turns the music's playing time into a flag that flips on the music's beats: a table of
/// beat times (milliseconds from the track's start, strictly increasing) and a cursor.
class CBeatTrack
{
public:
    /// The music's own table (audio/BeatTimes.inc).
    CBeatTrack();
    /// Any other table; `times` must be strictly increasing (asserted).
    explicit CBeatTrack(std::vector<uint32_t> times);
    /// Cursor back to the first beat (at every music start).
    void Reset() { m_Cursor = 0; }
    /// Steps the cursor by at most one entry when `t` (ms since the music started) is
    /// strictly past the next beat time; answers whether the cursor is odd.
    bool Query(uint32_t t);

    int Cursor() const { return m_Cursor; }
    const std::vector<uint32_t>& Times() const { return m_Times; }

private:
    int m_Cursor = 0;
    std::vector<uint32_t> m_Times;
};

/// The program-wide beat track.
CBeatTrack& GetBeatTrack();
