#pragma once

#include <cstdint>

namespace tools
{
/// Small deterministic generator (xorshift64*) for the data generators: the same seed
/// gives the same pictures and sounds on every machine and every run.
class CRandom
{
public:
    explicit CRandom(uint64_t seed) : m_State(seed ? seed : 0x9E3779B97F4A7C15ull) {}

    uint64_t Next()
    {
        m_State ^= m_State >> 12;
        m_State ^= m_State << 25;
        m_State ^= m_State >> 27;
        return m_State * 0x2545F4914F6CDD1Dull;
    }
    /// Uniform in [0, 1).
    double Unit() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
    /// Uniform in [a, b).
    double Range(double a, double b) { return a + (b - a) * Unit(); }
    /// Uniform integer in [a, b], both ends included.
    int Int(int a, int b) { return a + int(Next() % uint64_t(b - a + 1)); }

private:
    uint64_t m_State;
};

/// Smooth value noise in [0, 1] over the plane, repeating every `period` cells on both
/// axes, so a texture made from it tiles.
class CValueNoise
{
public:
    CValueNoise(uint64_t seed, int period);
    double At(double x, double y) const;

private:
    int m_Period;
    double m_Grid[64 * 64];
};
} // namespace tools
