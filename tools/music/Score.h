#pragma once

#include <cstdint>
#include <vector>

/// The composition of the game's music track: tempo, sections, drum hits and notes, as
/// plain data. The music generator plays it; the beat table built into the game is
/// derived from it (BeatTimes), and a test checks the two agree. No audio code here.
namespace tarn::music
{
constexpr int kSampleRate = 44100;
/// One sixteenth note in samples: a beat of 20352 samples is 461.5 ms, 130.0 BPM.
constexpr int kStepSamples = 5088;
constexpr int kStepsPerBeat = 4;
constexpr int kStepsPerBar = 16;
/// Silence before the first stroke, so no decoder start can cut into it, in samples.
constexpr int kLeadInSamples = kSampleRate / 10;
/// Silence after the last bar in which the last notes ring out, in samples.
constexpr int kTailSamples = 3 * kSampleRate;

enum class EDrum
{
    Kick,
    Snare,
    Tom,
    ClosedHat,
    OpenHat,
    Crash,
};

/// One drum stroke at a sixteenth-note step from the track's start.
struct SDrumHit
{
    int step;
    EDrum drum;
    float velocity; ///< 0 ... 1
};

enum class EVoice
{
    Bass,
    Lead,
    Pad,
    Arp,
};

/// One note: MIDI pitch (69 = A 440 Hz), start and length in sixteenth-note steps.
struct SNote
{
    int step;
    int length;
    int pitch;
    float velocity; ///< 0 ... 1
    EVoice voice;
};

/// A named stretch of the track, for listening notes and tests.
struct SSection
{
    const char* name;
    int firstBar;
    int bars;
};

class CScore
{
public:
    /// Builds the whole track; the same every time.
    CScore();

    const std::vector<SSection>& Sections() const { return m_Sections; }
    /// Every drum stroke, ordered by step.
    const std::vector<SDrumHit>& Drums() const { return m_Drums; }
    /// Every note of bass, lead, pad and arpeggio, ordered by step.
    const std::vector<SNote>& Notes() const { return m_Notes; }
    int Bars() const { return m_Bars; }
    /// Length of the rendered track in samples: all bars plus the tail.
    int64_t LengthSamples() const;

    /// The beats the creature flips on: the start, in whole milliseconds from the track's
    /// start, of every step that has a kick, snare or tom stroke. Strictly increasing.
    std::vector<uint32_t> BeatTimes() const;

private:
    void AddBar(int bar, const char* drumPattern, int chord, const char* lead, bool pad, bool arp,
                float intensity);

    std::vector<SSection> m_Sections;
    std::vector<SDrumHit> m_Drums;
    std::vector<SNote> m_Notes;
    int m_Bars = 0;
};

/// First sample of a step, lead-in included.
int64_t StepToSample(int step);
/// Start of a step in milliseconds, rounded to the nearest.
uint32_t StepToMilliseconds(int step);
/// Whether strokes of this drum are beats the creature flips on.
bool IsFlipDrum(EDrum drum);
} // namespace tarn::music
