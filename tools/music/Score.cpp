#include "music/Score.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <string>

namespace tarn::music
{
namespace
{
/// One bar of drums, a line per drum in EDrum order, one character per sixteenth:
/// 'X' accent, 'x' normal, 'o' soft, '.' nothing.
struct SDrumPattern
{
    const char* name;
    const char* lines[6];
};

// clang-format off
const SDrumPattern kPatterns[] = {
    // Four on the floor with the hats only: the intro's pulse.
    {"pulse", {"x...x...x...x...", "................", "................",
               "o.o.o.o.o.o.o.o.", "................", "................"}},
    // The main groove: kick on every beat, snare on two and four, open hat off the beat.
    {"groove", {"X...x...X...x...", "....X.......X...", "................",
                "x.o.x.o.x.o.x.o.", "..o...o...o...o.", "................"}},
    {"groove-crash", {"X...x...X...x...", "....X.......X...", "................",
                      "..o.x.o.x.o.x.o.", "..o...o...o...o.", "X..............."}},
    // Fill: the second half runs in half beats over the toms.
    {"fill", {"X...x...X.......", "....X.......x.X.", "..........x.x...",
              "x.o.x.o.x.......", "................", "................"}},
    // Drive: snare on every off-beat between the kicks, half beats all bar long.
    {"drive", {"X...x...X...x...", "..x...x...x...X.", "................",
               "xoxoxoxoxoxoxoxo", "................", "................"}},
    {"drive-crash", {"X...x...X...x...", "..x...x...x...X.", "................",
                     "..xoxoxoxoxoxoxo", "................", "X..............."}},
    // Breakdown: one soft kick a bar under the pads.
    {"sparse", {"x...............", "................", "................",
                "................", "........o.......", "................"}},
    // Build-up: snare on the beats, then in half beats.
    {"build", {"x...............", "x...x...x...x...", "................",
               "................", "................", "................"}},
    {"build-run", {"x...............", "x.x.x.x.x.x.x.x.", "................",
                   "................", "................", "................"}},
    {"half", {"x.......x.......", "................", "................",
              "o...o...o...o...", "................", "................"}},
    {"end", {"X...............", "................", "................",
             "................", "................", "X..............."}},
    {"silent", {"................", "................", "................",
                "................", "................", "................"}},
};
// clang-format on

const SDrumPattern& Pattern(const char* name)
{
    for (const SDrumPattern& p : kPatterns)
        if (std::strcmp(p.name, name) == 0)
            return p;
    assert(false && "unknown drum pattern name");
    return kPatterns[0];
}

/// Chords in A minor: bass root and three pad notes (MIDI).
struct SChord
{
    int root;
    int tones[3];
};
enum EChord
{
    Am,
    F,
    C,
    G,
    Dm,
    E,
};
const SChord kChords[] = {
    {45, {57, 60, 64}}, // A minor
    {41, {57, 60, 65}}, // F
    {48, {55, 60, 64}}, // C
    {43, {55, 59, 62}}, // G
    {50, {57, 62, 65}}, // D minor
    {40, {56, 59, 64}}, // E
};

/// MIDI pitch of a name such as "C5", "G#4" or "Bb3".
int Pitch(const std::string& name)
{
    static const int kSemitones[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    assert(!name.empty() && name[0] >= 'A' && name[0] <= 'G' && "pitch names start A...G");
    int semitone = kSemitones[name[0] - 'A'];
    size_t i = 1;
    if (i < name.size() && name[i] == '#')
        ++semitone, ++i;
    else if (i < name.size() && name[i] == 'b')
        --semitone, ++i;
    const int octave = std::stoi(name.substr(i));
    return 12 * (octave + 1) + semitone;
}

// One bar of lead per string: "pitch/steps" or "r/steps" for a rest, 16 steps a bar.
// clang-format off
const char* const kMelodyA[8] = {
    "A4/2 C5/2 E5/4 D5/2 C5/2 E5/4",
    "F5/4 E5/2 C5/2 A4/6 r/2",
    "G4/2 C5/2 E5/4 G5/4 E5/2 D5/2",
    "D5/6 B4/2 G4/4 r/4",
    "A4/2 C5/2 E5/4 A5/4 G5/2 E5/2",
    "F5/2 E5/2 F5/2 A5/2 C6/4 A5/4",
    "G5/4 E5/2 C5/2 E5/2 G5/2 E5/2 C5/2",
    "D5/4 B4/4 G4/2 A4/2 B4/4",
};
const char* const kMelodyB[8] = {
    "D5/4 F5/4 A5/6 G5/2",
    "E5/4 C5/4 A4/8",
    "F5/2 G5/2 A5/4 C6/4 A5/4",
    "G#5/6 E5/2 B4/4 G#4/4",
    "D5/2 E5/2 F5/4 A5/2 D6/6",
    "C6/4 B5/2 A5/2 E5/8",
    "F5/4 A5/4 C6/4 F6/4",
    "E6/8 D6/2 C6/2 B5/4",
};
const char* const kMelodyBreak[8] = {
    "A5/16", "G5/8 E5/8", "C6/12 B5/4", "A5/16",
    "F5/16", "G5/8 B5/8", "A5/16", "r/16",
};
// clang-format on
const EChord kProgressionA[8] = {Am, F, C, G, Am, F, C, G};
const EChord kProgressionB[8] = {Dm, Am, F, E, Dm, Am, F, E};
const EChord kProgressionBreak[8] = {F, G, Am, Am, F, G, E, E};
} // namespace

int64_t StepToSample(int step)
{
    return kLeadInSamples + int64_t(step) * kStepSamples;
}

uint32_t StepToMilliseconds(int step)
{
    return uint32_t((StepToSample(step) * 1000 + kSampleRate / 2) / kSampleRate);
}

bool IsFlipDrum(EDrum drum)
{
    return drum == EDrum::Kick || drum == EDrum::Snare || drum == EDrum::Tom;
}

void CScore::AddBar(int bar, const char* drumPattern, int chord, const char* lead, bool pad,
                    bool arp, float intensity)
{
    const int first = bar * kStepsPerBar;
    const SDrumPattern& pattern = Pattern(drumPattern);
    for (int step = 0; step < kStepsPerBar; ++step)
        for (int drum = 0; drum < 6; ++drum)
        {
            const char c = pattern.lines[drum][step];
            if (c == '.')
                continue;
            const float velocity = c == 'X' ? 1.0f : c == 'x' ? 0.8f : 0.5f;
            m_Drums.push_back({first + step, EDrum(drum), velocity});
        }
    const SChord& ch = kChords[chord];
    // Bass: driving eighths on the root with an octave jump, only where the drums drive.
    if (intensity > 0.0f)
    {
        static const int kBassOffsets[8] = {0, 0, 12, 0, 0, 12, 0, 7};
        for (int i = 0; i < 8; ++i)
            m_Notes.push_back({first + 2 * i, 2, ch.root + kBassOffsets[i],
                               (i % 2 == 0 ? 0.9f : 0.7f) * intensity, EVoice::Bass});
    }
    else
        m_Notes.push_back({first, kStepsPerBar, ch.root, 0.6f, EVoice::Bass});
    if (pad)
        for (int tone : ch.tones)
            m_Notes.push_back({first, kStepsPerBar, tone, 0.5f, EVoice::Pad});
    if (arp)
    {
        // Up and down the chord in sixteenths, an octave above the pad.
        static const int kOrder[8] = {0, 1, 2, 1, 0, 1, 2, 1};
        for (int i = 0; i < kStepsPerBar; ++i)
            m_Notes.push_back({first + i, 1, ch.tones[kOrder[i % 8]] + 12 + (i >= 8 ? 12 : 0),
                               i % 4 == 0 ? 0.7f : 0.45f, EVoice::Arp});
    }
    if (lead)
    {
        const std::string text(lead);
        size_t at = 0;
        int step = first;
        while (at < text.size())
        {
            const size_t end = std::min(text.find(' ', at), text.size());
            const std::string token = text.substr(at, end - at);
            at = end + 1;
            const size_t slash = token.find('/');
            const int length = std::stoi(token.substr(slash + 1));
            if (token[0] != 'r')
                m_Notes.push_back(
                    {step, length, Pitch(token.substr(0, slash)), 0.8f, EVoice::Lead});
            step += length;
        }
        assert(step == first + kStepsPerBar && "a lead bar must fill 16 steps");
    }
}

CScore::CScore()
{
    int bar = 0;
    auto section = [&](const char* name, int bars) { m_Sections.push_back({name, bar, bars}); };

    // Intro, 8 bars: pads and a pulse, the bass joins, a fill leads in.
    section("intro", 8);
    for (int i = 0; i < 8; ++i, ++bar)
        AddBar(bar, i == 7 ? "fill" : "pulse", kProgressionA[i], nullptr, true, false,
               i < 4 ? 0.0f : 0.7f);

    // A, 16 bars: the main tune twice over the groove.
    section("A", 16);
    for (int i = 0; i < 16; ++i, ++bar)
        AddBar(bar,
               i == 0                ? "groove-crash"
               : (i == 7 || i == 15) ? "fill"
                                     : "groove",
               kProgressionA[i % 8], kMelodyA[i % 8], i >= 8, false, 1.0f);

    // B, 16 bars: the second tune; its second half drives in half beats under an arpeggio.
    section("B", 16);
    for (int i = 0; i < 16; ++i, ++bar)
    {
        const bool drive = (i >= 4 && i < 8) || i >= 12;
        const char* drums = i == 0 || i == 8 ? "groove-crash"
                            : i == 12        ? "drive-crash"
                            : drive          ? "drive"
                                             : "groove";
        AddBar(bar, drums, kProgressionB[i % 8], kMelodyB[i % 8], true, drive, 1.0f);
    }

    // Breakdown, 8 bars: pads, arpeggio and long lead notes; the snare builds up at the end.
    section("breakdown", 8);
    for (int i = 0; i < 8; ++i, ++bar)
        AddBar(bar,
               i == 6   ? "build"
               : i == 7 ? "build-run"
                        : "sparse",
               kProgressionBreak[i], kMelodyBreak[i], true, i >= 2, 0.0f);

    // A again, 16 bars, with pads all through.
    section("A2", 16);
    for (int i = 0; i < 16; ++i, ++bar)
        AddBar(bar,
               i == 0 || i == 8      ? "groove-crash"
               : (i == 7 || i == 15) ? "fill"
                                     : "groove",
               kProgressionA[i % 8], kMelodyA[i % 8], true, i >= 8, 1.0f);

    // B again, 8 bars of drive.
    section("B2", 8);
    for (int i = 0; i < 8; ++i, ++bar)
        AddBar(bar, i == 0 ? "drive-crash" : "drive", kProgressionB[i], kMelodyB[i], true, true,
               1.0f);

    // Outro, 8 bars: the groove thins out to a last stroke.
    section("outro", 8);
    for (int i = 0; i < 8; ++i, ++bar)
        AddBar(bar,
               i == 0  ? "groove-crash"
               : i < 4 ? "groove"
               : i < 7 ? "half"
                       : "end",
               i == 7 ? Am : kProgressionA[i], i < 4 ? kMelodyA[i] : nullptr, true, false,
               i < 6 ? 0.8f : 0.0f);
    m_Bars = bar;

    auto byStep = [](const auto& a, const auto& b) { return a.step < b.step; };
    std::stable_sort(m_Drums.begin(), m_Drums.end(), byStep);
    std::stable_sort(m_Notes.begin(), m_Notes.end(), byStep);
}

int64_t CScore::LengthSamples() const
{
    return StepToSample(m_Bars * kStepsPerBar) + kTailSamples;
}

std::vector<uint32_t> CScore::BeatTimes() const
{
    std::vector<uint32_t> times;
    int lastStep = -1;
    for (const SDrumHit& hit : m_Drums)
    {
        // Strokes on the same step make one beat.
        if (!IsFlipDrum(hit.drum) || hit.step == lastStep)
            continue;
        lastStep = hit.step;
        times.push_back(StepToMilliseconds(hit.step));
    }
    return times;
}
} // namespace tarn::music
