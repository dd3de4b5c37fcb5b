#pragma once

#include <cstdint>

// All randomness of the game. Integers come from the C library's rand(), floats from a
// Park-Miller minimal standard generator of our own; both are seeded from the wall clock
// at start-up and once more at the first RandomInt call, so the game's runs are not
// reproducible. Programs that want a repeatable run (tests, benchmarks) call SeedRandom.

namespace tarn
{
/// a + rand() % (b - a + 1): both ends included. Requires b >= a.
int RandomInt(int a, int b);
/// One step of the Park-Miller generator: a double in (0, 1].
double RandomUnit();
/// a + (b - a) * u with u = RandomUnit() rounded to float; can return b itself.
float RandomFloat(float a, float b);

/// The clock seed as a well-defined 32-bit value: the low 32 bits of the seconds since
/// the epoch (wraps cleanly after 2038 instead of overflowing a signed int).
uint32_t ClockSeed();

/// Restarts both generators from the given seeds instead of the clock: srand(intSeed), and
/// the float generator's state := floatState (folded into its range at the next step like
/// a clock seed). It first performs the second clock seeding the first RandomInt call
/// would do, so that cannot undo it later. The game never calls it.
void SeedRandom(uint32_t intSeed, double floatState);
} // namespace tarn
