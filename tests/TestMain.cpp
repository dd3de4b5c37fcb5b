#include <gtest/gtest.h>

#include <cstdlib>

#include "util/Random.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // No sound card is needed; a test may still choose the "disk" driver itself.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // Tests without GL run on SDL's window-less driver; GL tests need an X display.
    if (!KORVANE_TEST_GL)
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    // Every test starts from the same random state; tests that care seed again themselves.
    tarn::SeedRandom(12345u, 1.0);
    return RUN_ALL_TESTS();
}
