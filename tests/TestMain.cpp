#include <gtest/gtest.h>

#include <cstdlib>

#include "util/Random.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // No sound card or window needed (a test may choose its own); GL tests need an X display.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!KORVANE_TEST_GL)
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    // Every test starts from the same random state; tests that care seed again themselves.
    tarn::SeedRandom(12345u, 1.0);
    return RUN_ALL_TESTS();
}
