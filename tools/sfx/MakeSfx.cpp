// Synthesizes the game's sound effects into the folder given as the argument: 44.1 kHz
// 16-bit mono WAV files, each normalised to a peak of -1 dBFS.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "music/Synth.h"

using namespace tools::synth;

namespace
{
using Sound = std::vector<float>;

Sound Silence(float seconds)
{
    return Sound(size_t(seconds * kRate), 0.0f);
}

/// The player's shot: a bright pulse whose pitch drops fast, with a click at the start.
Sound PlayerShot()
{
    Sound s = Silence(0.17f);
    COscillator osc;
    CNoise noise(7);
    CFilter filter;
    for (size_t i = 0; i < s.size(); ++i)
    {
        const float t = float(i) / kRate;
        const float hz = 240.0f + 1500.0f * std::exp(-t * 28.0f);
        filter.Set(5000.0f * std::exp(-t * 10.0f) + 600.0f, 0.4f);
        filter.Process(osc.Pulse(hz, 0.35f) + noise.Next() * 0.6f * std::exp(-t * 300.0f));
        s[i] = filter.low * std::exp(-t * 18.0f) * std::min(1.0f, t * 2000.0f);
    }
    return s;
}

/// The first creature shot: a falling, wobbling saw, lower and slower than the player's.
Sound CreatureShotA()
{
    Sound s = Silence(0.3f);
    COscillator osc, wobble;
    CFilter filter;
    filter.Set(2200.0f, 0.5f);
    for (size_t i = 0; i < s.size(); ++i)
    {
        const float t = float(i) / kRate;
        const float hz =
            (110.0f + 700.0f * std::exp(-t * 9.0f)) * (1.0f + 0.06f * wobble.Sine(32.0f));
        filter.Process(osc.Saw(hz));
        s[i] = filter.low * std::exp(-t * 9.0f) * std::min(1.0f, t * 1000.0f);
    }
    return s;
}

/// The second creature shot: a ring-modulated buzz, a metallic chirp.
Sound CreatureShotB()
{
    Sound s = Silence(0.22f);
    COscillator carrier, modulator;
    CFilter filter;
    filter.Set(3000.0f, 0.3f);
    for (size_t i = 0; i < s.size(); ++i)
    {
        const float t = float(i) / kRate;
        const float ring = carrier.Pulse(180.0f + 260.0f * t, 0.5f) *
                           modulator.Sine(1300.0f * std::exp(-t * 6.0f) + 200.0f);
        filter.Process(ring);
        s[i] = filter.low * std::exp(-t * 12.0f) * std::min(1.0f, t * 1500.0f);
    }
    return s;
}

/// An explosion: a noise burst whose filter closes, a low thump and a crackle of sparks.
Sound Explosion()
{
    Sound s = Silence(0.95f);
    CNoise noise(31), sparks(32);
    COscillator thump;
    CFilter rumble, crackle;
    crackle.Set(3500.0f, 0.2f);
    float spark = 0.0f;
    for (size_t i = 0; i < s.size(); ++i)
    {
        const float t = float(i) / kRate;
        rumble.Set(180.0f + 4000.0f * std::exp(-t * 7.0f), 0.1f);
        rumble.Process(noise.Next());
        const float body = rumble.low * std::exp(-t * 4.0f) * std::min(1.0f, t * 500.0f);
        const float low = thump.Sine(38.0f + 60.0f * std::exp(-t * 12.0f)) * std::exp(-t * 7.0f);
        // Sparse sparks, fewer as the blast dies down.
        if (sparks.Next() > 1.0f - 0.004f * std::exp(-t * 5.0f))
            spark = sparks.Next();
        spark *= 0.992f;
        crackle.Process(spark);
        s[i] = std::tanh(1.8f * (body * 1.2f + low * 0.9f + crackle.band * 0.8f));
    }
    return s;
}

bool WriteWav(Sound s, const std::string& path)
{
    float peak = 0.0f;
    for (float v : s)
        peak = std::max(peak, std::fabs(v));
    // -1 dBFS: loud and punchy, never clipped.
    const float gain = peak > 0.0f ? 0.891f / peak : 1.0f;
    std::vector<int16_t> pcm(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        pcm[i] = int16_t(std::lround(std::clamp(s[i] * gain, -1.0f, 1.0f) * 32767.0f));
    // The end fades to exact silence so nothing clicks when the sound stops.
    const size_t fade = std::min(pcm.size(), size_t(kRate * 0.01f));
    for (size_t i = 0; i < fade; ++i)
        pcm[pcm.size() - 1 - i] = int16_t(pcm[pcm.size() - 1 - i] * float(i) / float(fade));

    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    auto u32 = [file](uint32_t v)
    {
        const unsigned char b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16),
                                    uint8_t(v >> 24)};
        std::fwrite(b, 1, 4, file);
    };
    auto u16 = [file](uint16_t v)
    {
        const unsigned char b[2] = {uint8_t(v), uint8_t(v >> 8)};
        std::fwrite(b, 1, 2, file);
    };
    const uint32_t dataBytes = uint32_t(pcm.size() * 2);
    std::fwrite("RIFF", 1, 4, file);
    u32(36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, file);
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(44100);
    u32(44100 * 2);
    u16(2);
    u16(16);
    std::fwrite("data", 1, 4, file);
    u32(dataBytes);
    for (int16_t v : pcm)
        u16(uint16_t(v));
    return std::fclose(file) == 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s <data/sfx folder>\n", argv[0]);
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    bool ok = WriteWav(PlayerShot(), dir + "fire_07.wav");
    ok = WriteWav(CreatureShotA(), dir + "fire_03.wav") && ok;
    ok = WriteWav(CreatureShotB(), dir + "fire_04.wav") && ok;
    ok = WriteWav(Explosion(), dir + "explosion_sound.wav") && ok;
    if (!ok)
        std::fprintf(stderr, "cannot write the sounds into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
