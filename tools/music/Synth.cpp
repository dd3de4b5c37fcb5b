#include "music/Synth.h"

#include <algorithm>
#include <cmath>

namespace tools::synth
{
float MidiToHz(float pitch)
{
    return 440.0f * std::pow(2.0f, (pitch - 69.0f) / 12.0f);
}

void CFilter::Set(float cutoffHz, float resonance)
{
    cutoffHz = std::clamp(cutoffHz, 20.0f, kRate * 0.45f);
    m_G = std::tan(kPi * cutoffHz / kRate);
    m_K = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.95f);
}

void CFilter::Process(float x)
{
    const float a1 = 1.0f / (1.0f + m_G * (m_G + m_K));
    const float v3 = x - m_S2;
    const float v1 = a1 * m_S1 + m_G * a1 * v3;
    const float v2 = m_S2 + m_G * v1;
    m_S1 = 2.0f * v1 - m_S1;
    m_S2 = 2.0f * v2 - m_S2;
    low = v2;
    band = v1;
    high = x - m_K * v1 - v2;
}

namespace
{
/// Softens the jump of a saw or pulse across one sample, which removes most aliasing.
float PolyBlep(float t, float dt)
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt)
    {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

/// Attack-decay-sustain-release level at `t` seconds into a note held `held` seconds.
float Adsr(float t, float held, float attack, float decay, float sustain, float release)
{
    auto levelAt = [&](float u)
    {
        if (u < attack)
            return u / attack;
        return sustain + (1.0f - sustain) * std::exp(-(u - attack) / decay);
    };
    if (t < held)
        return levelAt(t);
    return levelAt(held) * std::exp(-(t - held) / release);
}

/// Equal-power pan: -1 left ... 1 right.
void Pan(float pan, float& l, float& r)
{
    const float a = (pan + 1.0f) * 0.25f * kPi;
    l = std::cos(a) * 1.41421356f;
    r = std::sin(a) * 1.41421356f;
}
} // namespace

float COscillator::Advance(float hz)
{
    const float dt = hz / kRate;
    m_Phase += dt;
    if (m_Phase >= 1.0f)
        m_Phase -= std::floor(m_Phase);
    return dt;
}

float COscillator::Sine(float hz)
{
    const float v = std::sin(2.0f * kPi * m_Phase);
    Advance(hz);
    return v;
}

float COscillator::Saw(float hz)
{
    const float dt = hz / kRate;
    const float v = 2.0f * m_Phase - 1.0f - PolyBlep(m_Phase, dt);
    Advance(hz);
    return v;
}

float COscillator::Pulse(float hz, float width)
{
    const float dt = hz / kRate;
    float v = m_Phase < width ? 1.0f : -1.0f;
    v += PolyBlep(m_Phase, dt);
    float shifted = m_Phase - width;
    if (shifted < 0.0f)
        shifted += 1.0f;
    v -= PolyBlep(shifted, dt);
    Advance(hz);
    // Centred on zero: a pulse that is not square has an average of 2 * width - 1.
    return v - (2.0f * width - 1.0f);
}

void Kick(SStereo& out, int64_t at, float velocity)
{
    COscillator body;
    CNoise click(99);
    CFilter clickFilter;
    clickFilter.Set(3000.0f, 0.0f);
    const int frames = int(0.5f * kRate);
    for (int i = 0; i < frames; ++i)
    {
        const float t = float(i) / kRate;
        // The pitch falls fast from 160 Hz to 48 Hz: the thump.
        const float hz = 48.0f + 112.0f * std::exp(-t * 30.0f);
        float v = body.Sine(hz) * std::exp(-t * 6.5f);
        clickFilter.Process(click.Next());
        v += clickFilter.high * 0.5f * std::exp(-t * 400.0f);
        v = std::tanh(1.6f * v) * velocity;
        out.Add(at + i, v, v);
    }
}

void Snare(SStereo& out, int64_t at, float velocity, uint32_t seed)
{
    COscillator tone1, tone2;
    CNoise noise(seed);
    CFilter band;
    band.Set(2400.0f, 0.2f);
    const int frames = int(0.32f * kRate);
    for (int i = 0; i < frames; ++i)
    {
        const float t = float(i) / kRate;
        const float body = (tone1.Sine(185.0f) + 0.5f * tone2.Sine(330.0f)) * std::exp(-t * 28.0f);
        band.Process(noise.Next());
        const float rattle = (band.band * 1.4f + band.high * 0.5f) * std::exp(-t * 13.0f);
        const float v = (0.55f * body + 0.75f * rattle) * velocity;
        out.Add(at + i, v * 0.95f, v);
    }
}

void Tom(SStereo& out, int64_t at, float velocity, float hz)
{
    COscillator body;
    const int frames = int(0.4f * kRate);
    for (int i = 0; i < frames; ++i)
    {
        const float t = float(i) / kRate;
        const float v = std::tanh(1.3f * body.Sine(hz * (1.0f + 0.5f * std::exp(-t * 20.0f)))) *
                        std::exp(-t * 8.0f) * velocity;
        out.Add(at + i, v * 0.8f, v);
    }
}

void Hat(SStereo& out, int64_t at, float velocity, bool open, uint32_t seed)
{
    // Six detuned pulses make the metallic ring; noise adds the hiss.
    static const float kPartials[6] = {205.3f, 304.4f, 369.6f, 522.7f, 540.0f, 800.0f};
    COscillator partials[6];
    CNoise noise(seed);
    CFilter high;
    high.Set(7500.0f, 0.1f);
    const float decay = open ? 9.0f : 55.0f;
    const int frames = int((open ? 0.35f : 0.08f) * kRate);
    for (int i = 0; i < frames; ++i)
    {
        const float t = float(i) / kRate;
        float metal = 0.0f;
        for (int p = 0; p < 6; ++p)
            metal += partials[p].Pulse(kPartials[p] * 4.0f, 0.5f);
        high.Process(metal * 0.12f + noise.Next() * 0.6f);
        const float v = high.high * std::exp(-t * decay) * velocity;
        out.Add(at + i, v * 0.8f, v);
    }
}

void Crash(SStereo& out, int64_t at, float velocity, uint32_t seed)
{
    CNoise left(seed), right(seed * 7u + 3u);
    CFilter fl, fr;
    fl.Set(5200.0f, 0.15f);
    fr.Set(5600.0f, 0.15f);
    const int frames = int(2.2f * kRate);
    for (int i = 0; i < frames; ++i)
    {
        const float t = float(i) / kRate;
        const float env = std::exp(-t * 2.4f) * (1.0f - std::exp(-t * 800.0f)) * velocity;
        fl.Process(left.Next());
        fr.Process(right.Next());
        out.Add(at + i, fl.high * env, fr.high * env);
    }
}

void Bass(SStereo& out, int64_t at, int64_t length, float pitch, float velocity)
{
    COscillator saw, sub;
    CFilter filter;
    const float hz = MidiToHz(pitch);
    const float held = float(length) / kRate;
    const int frames = int(length + int64_t(0.08f * kRate));
    for (int i = 0; i < frames; ++i)
    {
        const float t = float(i) / kRate;
        // A pluck: the filter opens at the start of each note and closes again.
        filter.Set(160.0f + 1500.0f * velocity * std::exp(-t * 14.0f), 0.35f);
        filter.Process(saw.Saw(hz));
        const float v = (filter.low + 0.6f * sub.Sine(hz * 0.5f)) *
                        Adsr(t, held, 0.003f, 0.15f, 0.7f, 0.02f) * velocity;
        out.Add(at + i, v, v);
    }
}

void Lead(SStereo& out, int64_t at, int64_t length, float pitch, float velocity)
{
    COscillator a(0.0f), b(0.37f), c(0.61f), vibrato;
    CFilter filter;
    const float held = float(length) / kRate;
    const int frames = int(length + int64_t(0.3f * kRate));
    for (int i = 0; i < frames; ++i)
    {
        const float t = float(i) / kRate;
        // Vibrato fades in on longer notes.
        const float depth = 0.22f * std::clamp((t - 0.18f) * 3.0f, 0.0f, 1.0f);
        const float p = pitch + depth * vibrato.Sine(5.6f);
        const float osc = a.Saw(MidiToHz(p - 0.07f)) + b.Saw(MidiToHz(p + 0.07f)) +
                          0.6f * c.Pulse(MidiToHz(p - 12.0f), 0.3f);
        const float env = Adsr(t, held, 0.006f, 0.25f, 0.7f, 0.09f);
        filter.Set(900.0f + 3200.0f * env, 0.25f);
        filter.Process(osc);
        const float v = filter.low * env * velocity;
        out.Add(at + i, v, v);
    }
}

void Pad(SStereo& out, int64_t at, int64_t length, float pitch, float velocity, uint32_t seed)
{
    CNoise phases(seed);
    COscillator voices[3] = {COscillator(phases.Next() * 0.5f + 0.5f),
                             COscillator(phases.Next() * 0.5f + 0.5f),
                             COscillator(phases.Next() * 0.5f + 0.5f)};
    CFilter fl, fr;
    const float held = float(length) / kRate;
    const int frames = int(length + int64_t(0.7f * kRate));
    for (int i = 0; i < frames; ++i)
    {
        const float t = float(i) / kRate;
        const float l = voices[0].Saw(MidiToHz(pitch - 0.12f));
        const float m = voices[1].Saw(MidiToHz(pitch));
        const float r = voices[2].Saw(MidiToHz(pitch + 0.12f));
        const float cutoff = 1100.0f + 500.0f * std::sin(t * 1.3f);
        fl.Set(cutoff, 0.1f);
        fr.Set(cutoff, 0.1f);
        fl.Process(l + 0.5f * m);
        fr.Process(r + 0.5f * m);
        const float env = Adsr(t, held, 0.35f, 1.0f, 1.0f, 0.35f) * velocity;
        out.Add(at + i, fl.low * env, fr.low * env);
    }
}

void Arp(SStereo& out, int64_t at, int64_t length, float pitch, float velocity, float pan)
{
    COscillator osc;
    CFilter filter;
    const float hz = MidiToHz(pitch);
    const float held = float(length) / kRate;
    float pl, pr;
    Pan(pan, pl, pr);
    const int frames = int(length + int64_t(0.12f * kRate));
    for (int i = 0; i < frames; ++i)
    {
        const float t = float(i) / kRate;
        filter.Set(1200.0f + 3500.0f * std::exp(-t * 25.0f), 0.3f);
        filter.Process(osc.Pulse(hz, 0.25f));
        const float v = filter.low * Adsr(t, held, 0.002f, 0.06f, 0.3f, 0.05f) * velocity;
        out.Add(at + i, v * pl, v * pr);
    }
}

void PingPongDelay(SStereo& bus, int delayFrames, float feedback, float wet, float dry)
{
    std::vector<float> lineL(size_t(delayFrames), 0.0f), lineR(size_t(delayFrames), 0.0f);
    CFilter dampL, dampR;
    dampL.Set(3500.0f, 0.0f);
    dampR.Set(3500.0f, 0.0f);
    size_t pos = 0;
    for (size_t i = 0; i < bus.Frames(); ++i)
    {
        const float dl = lineL[pos];
        const float dr = lineR[pos];
        // The echoes cross sides: the left input comes back on the right, and so on.
        dampL.Process(bus.left[i] + bus.right[i] * 0.5f + dr * feedback);
        dampR.Process(dl * feedback);
        lineL[pos] = dampL.low;
        lineR[pos] = dampR.low;
        bus.left[i] = bus.left[i] * dry + dl * wet;
        bus.right[i] = bus.right[i] * dry + dr * wet;
        pos = (pos + 1) % size_t(delayFrames);
    }
}

void Reverb(SStereo& bus, float roomSize, float wet, float dry)
{
    // A small Schroeder reverb: four damped combs in parallel, two all-passes in series,
    // with slightly different lengths for each side.
    struct SComb
    {
        std::vector<float> line;
        size_t pos = 0;
        float store = 0.0f;
    };
    static const int kCombs[4] = {1116, 1188, 1277, 1356};
    static const int kAllPasses[2] = {556, 441};
    for (int side = 0; side < 2; ++side)
    {
        std::vector<float>& samples = side == 0 ? bus.left : bus.right;
        const int spread = side * 23;
        SComb combs[4], allPasses[2];
        for (int c = 0; c < 4; ++c)
            combs[c].line.assign(size_t(kCombs[c] + spread), 0.0f);
        for (int a = 0; a < 2; ++a)
            allPasses[a].line.assign(size_t(kAllPasses[a] + spread), 0.0f);
        for (float& sample : samples)
        {
            const float input = sample * 0.03f;
            float sum = 0.0f;
            for (SComb& c : combs)
            {
                const float out = c.line[c.pos];
                c.store = out * 0.6f + c.store * 0.4f;
                c.line[c.pos] = input + c.store * roomSize;
                c.pos = (c.pos + 1) % c.line.size();
                sum += out;
            }
            for (SComb& a : allPasses)
            {
                const float delayed = a.line[a.pos];
                a.line[a.pos] = sum + delayed * 0.5f;
                a.pos = (a.pos + 1) % a.line.size();
                sum = delayed - sum;
            }
            sample = sample * dry + sum * wet;
        }
    }
}
} // namespace tools::synth
