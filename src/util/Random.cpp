#include "util/Random.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

namespace
{
constexpr int32_t kMultiplier = 16807;
constexpr int32_t kModulus = 2147483647; // 2^31 - 1
constexpr int32_t kQuotient = 127773;    // kModulus / kMultiplier
constexpr int32_t kRemainder = 2836;     // kModulus % kMultiplier
constexpr double kScale = 4.656612875e-10;

// Holds an integer value; a double because that is what RandomUnit hands back scaled.
double g_FloatState = 0.0;

void SeedFromClock()
{
    std::srand(tarn::ClockSeed());
    g_FloatState = static_cast<double>(tarn::ClockSeed());
}

// One object seeds during static initialisation, a second at the first RandomInt call.
struct CClockSeeder
{
    CClockSeeder() { SeedFromClock(); }
};
const CClockSeeder g_StartupSeeder;

void EnsureSecondSeeding()
{
    static const CClockSeeder s_FirstUseSeeder;
    (void)s_FirstUseSeeder;
}

// The state as a signed 32-bit integer in the generator's range 1 .. 2^31 - 2. Its own
// steps never leave that range, but a clock seed can: 0 and 2^31 - 1 (the last second of
// January 19, 2038) are fixed points that would return the same number for ever, and
// later seconds no longer fit 31 bits. Those are folded into the range instead.
int32_t StateAsInt(double state)
{
    if (state >= 1.0 && state < static_cast<double>(kModulus))
        return static_cast<int32_t>(state);
    double folded = std::fmod(state, static_cast<double>(kModulus));
    if (folded < 0.0)
        folded += kModulus;
    if (folded < 1.0)
        folded = 1.0;
    return static_cast<int32_t>(folded);
}
} // namespace

namespace tarn
{
uint32_t ClockSeed()
{
    const std::time_t now = std::time(nullptr);
    return static_cast<uint32_t>(static_cast<uint64_t>(now) & 0xFFFFFFFFu);
}

int RandomInt(int a, int b)
{
    EnsureSecondSeeding();
    // Widen before the arithmetic: b - a + 1 overflows int for the full range.
    const int64_t span = static_cast<int64_t>(b) - a + 1;
    return static_cast<int>(a + std::rand() % span);
}

double RandomUnit()
{
    int32_t s = StateAsInt(g_FloatState);
    s = kMultiplier * (s % kQuotient) - kRemainder * (s / kQuotient);
    if (s <= 0)
        s += kModulus;
    g_FloatState = static_cast<double>(s);
    return s * kScale;
}

float RandomFloat(float a, float b)
{
    const float u = static_cast<float>(RandomUnit());
    return a + (b - a) * u;
}

void SeedRandom(uint32_t intSeed, double floatState)
{
    EnsureSecondSeeding();
    std::srand(intSeed);
    g_FloatState = floatState;
}
} // namespace tarn
