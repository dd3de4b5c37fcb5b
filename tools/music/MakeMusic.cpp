// Plays the score through our synthesizer, encodes the track as Ogg Vorbis and writes the
// beat table the game builds in. Arguments: the .ogg to write, the .inc to write.

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "music/Score.h"
#include "music/Synth.h"

using namespace tarn::music;
using namespace tools::synth;

namespace
{
/// Seconds of a number of steps, as frames.
int64_t StepFrames(int steps)
{
    return int64_t(steps) * kStepSamples;
}

SStereo Render(const CScore& score)
{
    const size_t frames = size_t(score.LengthSamples());
    SStereo drums(frames), bass(frames), lead(frames), pad(frames), arp(frames);
    SStereo reverbSend(frames), delaySend(frames);
    uint32_t seed = 1;
    for (const SDrumHit& hit : score.Drums())
    {
        const int64_t at = StepToSample(hit.step);
        ++seed;
        switch (hit.drum)
        {
        case EDrum::Kick:
            Kick(drums, at, hit.velocity * 0.95f);
            break;
        case EDrum::Snare:
            Snare(drums, at, hit.velocity * 0.6f, seed);
            Snare(reverbSend, at, hit.velocity * 0.35f, seed);
            break;
        case EDrum::Tom:
            // Toms fall in pitch through the bar, as a drummer runs down the kit.
            Tom(drums, at, hit.velocity * 0.6f, 170.0f - 5.0f * float(hit.step % kStepsPerBar));
            break;
        case EDrum::ClosedHat:
            Hat(drums, at, hit.velocity * 0.16f, false, seed);
            break;
        case EDrum::OpenHat:
            Hat(drums, at, hit.velocity * 0.13f, true, seed);
            break;
        case EDrum::Crash:
            Crash(drums, at, hit.velocity * 0.22f, seed);
            break;
        }
    }
    for (const SNote& note : score.Notes())
    {
        const int64_t at = StepToSample(note.step);
        const float pitch = float(note.pitch);
        ++seed;
        switch (note.voice)
        {
        case EVoice::Bass:
            Bass(bass, at, StepFrames(note.length) * 8 / 10, pitch, note.velocity * 0.32f);
            break;
        case EVoice::Lead:
            Lead(lead, at, StepFrames(note.length) * 9 / 10, pitch, note.velocity * 0.2f);
            break;
        case EVoice::Pad:
            Pad(pad, at, StepFrames(note.length), pitch, note.velocity * 0.11f, seed);
            break;
        case EVoice::Arp:
            Arp(arp, at, StepFrames(note.length) / 2, pitch, note.velocity * 0.1f,
                note.step % 2 ? 0.6f : -0.6f);
            break;
        }
    }
    // Sends: echoes of the lead and arpeggio a dotted eighth apart, and a room around
    // snare, lead and pads.
    for (size_t i = 0; i < frames; ++i)
    {
        delaySend.left[i] = lead.left[i] * 0.6f + arp.left[i];
        delaySend.right[i] = lead.right[i] * 0.6f + arp.right[i];
        reverbSend.left[i] += lead.left[i] * 0.5f + pad.left[i] * 0.6f;
        reverbSend.right[i] += lead.right[i] * 0.5f + pad.right[i] * 0.6f;
    }
    PingPongDelay(delaySend, int(StepFrames(3)), 0.42f, 0.35f, 0.0f);
    Reverb(reverbSend, 0.84f, 1.0f, 0.0f);
    SStereo mix(frames);
    for (size_t i = 0; i < frames; ++i)
    {
        mix.left[i] = drums.left[i] + bass.left[i] + lead.left[i] + pad.left[i] + arp.left[i] +
                      delaySend.left[i] + reverbSend.left[i];
        mix.right[i] = drums.right[i] + bass.right[i] + lead.right[i] + pad.right[i] +
                       arp.right[i] + delaySend.right[i] + reverbSend.right[i];
    }
    // Strip any DC offset (decaying sines leave some) with a gentle 20 Hz high-pass.
    const float pole = std::exp(-2.0f * kPi * 20.0f / kRate);
    float lastInL = 0, lastInR = 0, lastOutL = 0, lastOutR = 0;
    for (size_t i = 0; i < frames; ++i)
    {
        const float l = mix.left[i], r = mix.right[i];
        lastOutL = l - lastInL + pole * lastOutL;
        lastOutR = r - lastInR + pole * lastOutR;
        lastInL = l;
        lastInR = r;
        mix.left[i] = lastOutL;
        mix.right[i] = lastOutR;
    }
    return mix;
}

/// Scales the mix so its highest peak sits at `peak`, leaving room for the small
/// overshoot that lossy coding adds.
void Normalise(SStereo& mix, float peak)
{
    float highest = 0.0f;
    for (size_t i = 0; i < mix.Frames(); ++i)
        highest = std::max({highest, std::fabs(mix.left[i]), std::fabs(mix.right[i])});
    const float gain = highest > 0.0f ? peak / highest : 1.0f;
    for (size_t i = 0; i < mix.Frames(); ++i)
    {
        mix.left[i] *= gain;
        mix.right[i] *= gain;
    }
    std::printf("mix peak %.3f, gain %.3f\n", highest, gain);
}

bool WriteOgg(const SStereo& mix, const std::string& path)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, kSampleRate, 0.3f) != 0)
        return false;
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "Ondrafel");
    vorbis_comment_add_tag(&comment, "ARTIST", "Korvane");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    // A fixed serial number: the file must come out the same on every run.
    ogg_stream_init(&stream, 0x4B6F7276);

    std::vector<unsigned char> bytes;
    auto writePage = [&bytes](const ogg_page& page)
    {
        bytes.insert(bytes.end(), page.header, page.header + page.header_len);
        bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage(page);

    auto drain = [&]
    {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet))
            {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    writePage(page);
            }
        }
    };
    const size_t chunk = 4096;
    for (size_t at = 0; at < mix.Frames(); at += chunk)
    {
        const size_t n = std::min(chunk, mix.Frames() - at);
        float** buffer = vorbis_analysis_buffer(&dsp, int(n));
        std::copy_n(mix.left.begin() + long(at), n, buffer[0]);
        std::copy_n(mix.right.begin() + long(at), n, buffer[1]);
        vorbis_analysis_wrote(&dsp, int(n));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage(page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);

    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

bool WriteBeatTimes(const CScore& score, const std::string& path)
{
    const std::vector<uint32_t> times = score.BeatTimes();
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return false;
    std::fprintf(file,
                 "// Beat times of data/sfx/Ondrafel.ogg in milliseconds from the track's start:\n"
                 "// the kick, snare and tom strokes of the score in tools/music/Score.cpp.\n"
                 "// Written by tools/music/MakeMusic.cpp (make assets); do not edit.\n");
    for (size_t i = 0; i < times.size(); ++i)
        std::fprintf(file, "%u%s", times[i],
                     i + 1 == times.size() ? "\n" : (i % 10 == 9 ? ",\n" : ", "));
    return std::fclose(file) == 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: %s <music.ogg> <BeatTimes.inc>\n", argv[0]);
        return 2;
    }
    const CScore score;
    SStereo mix = Render(score);
    Normalise(mix, 0.84f);
    if (!WriteOgg(mix, argv[1]))
    {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    if (!WriteBeatTimes(score, argv[2]))
    {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %.1f s, %zu beats\n", argv[1], double(score.LengthSamples()) / kSampleRate,
                score.BeatTimes().size());
    return 0;
}
