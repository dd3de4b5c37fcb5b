#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

/// The building blocks of our sound: oscillators, a filter, noise, and the instruments of
/// the music track, all rendering into float buffers at 44.1 kHz. Deterministic: noise
/// comes from fixed seeds.
namespace tools::synth
{
constexpr float kRate = 44100.0f;
constexpr float kPi = 3.14159265358979f;

/// Two channels of float samples, nominally -1 ... 1.
struct SStereo
{
    explicit SStereo(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t Frames() const { return left.size(); }
    /// Adds one frame; outside the buffer it is dropped.
    void Add(int64_t frame, float l, float r)
    {
        if (frame < 0 || frame >= int64_t(left.size()))
            return;
        left[size_t(frame)] += l;
        right[size_t(frame)] += r;
    }
    std::vector<float> left, right;
};

float MidiToHz(float pitch);

/// White noise in -1 ... 1 from a fixed seed.
class CNoise
{
public:
    explicit CNoise(uint32_t seed) : m_State(seed ? seed : 1u) {}
    float Next()
    {
        m_State ^= m_State << 13;
        m_State ^= m_State >> 17;
        m_State ^= m_State << 5;
        return float(m_State) / 2147483648.0f - 1.0f;
    }

private:
    uint32_t m_State;
};

/// State-variable filter (trapezoidal, stays stable when swept fast). After Process, the
/// low-, band- and high-pass outputs are all available.
class CFilter
{
public:
    /// `resonance` 0 (none) ... 0.95 (ringing).
    void Set(float cutoffHz, float resonance);
    void Process(float x);
    float low = 0, band = 0, high = 0;

private:
    float m_G = 0.1f, m_K = 1.4f, m_S1 = 0, m_S2 = 0;
};

/// Phase-accumulating oscillator with band-limited (polyBLEP) saw and pulse.
class COscillator
{
public:
    explicit COscillator(float phase = 0.0f) : m_Phase(phase) {}
    float Sine(float hz);
    float Saw(float hz);
    /// Pulse of the given duty cycle (0.5 = square).
    float Pulse(float hz, float width);

private:
    float Advance(float hz);
    float m_Phase;
};

/// Drum voices: each adds one stroke starting at frame `at`.
void Kick(SStereo& out, int64_t at, float velocity);
void Snare(SStereo& out, int64_t at, float velocity, uint32_t seed);
void Tom(SStereo& out, int64_t at, float velocity, float hz);
void Hat(SStereo& out, int64_t at, float velocity, bool open, uint32_t seed);
void Crash(SStereo& out, int64_t at, float velocity, uint32_t seed);

/// Pitched voices: a note from frame `at` held for `length` frames, then released.
void Bass(SStereo& out, int64_t at, int64_t length, float pitch, float velocity);
void Lead(SStereo& out, int64_t at, int64_t length, float pitch, float velocity);
void Pad(SStereo& out, int64_t at, int64_t length, float pitch, float velocity, uint32_t seed);
void Arp(SStereo& out, int64_t at, int64_t length, float pitch, float velocity, float pan);

/// Effects that work on a whole bus in place: out = dry * in + wet * effect. A send bus
/// uses dry = 0.
void PingPongDelay(SStereo& bus, int delayFrames, float feedback, float wet, float dry);
void Reverb(SStereo& bus, float roomSize, float wet, float dry);
} // namespace tools::synth
