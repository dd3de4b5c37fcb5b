#include <gtest/gtest.h>

#include "Support.h"
#include "game/Autopilot.h"
#include "render/Video.h"
#include "util/Random.h"

// The main loop's frame in a window a quarter of the virtual screen's size, a script at the
// keys: it clears a level, stops dodging, is hit, and a key after the death picture ends it.
TEST(PlayThrough, ClearsALevelThenDies)
{
    ASSERT_TRUE(InitVideo(1024 / 4, 768 / 4, false, "Korvane"));
    tarn::test::SeedRandom(2024u, 7.0);
    CGameplay gameplay;
    CGameplayImpl* game = gameplay.Impl();
    autopilot::CAutopilot pilot;
    for (int frames = 0; game->LevelCount() < 1; ++frames)
    {
        pilot.Steer(gameplay);
        gameplay.Update(kDt);
        ASSERT_FALSE(game->PlayerHit()) << "hit while dodging, at frame " << frames;
        ASSERT_LT(frames, 3000);
    }
    pilot.m_Dodge = false;
    for (int frames = 0; !game->PlayerHit(); ++frames)
    {
        pilot.Steer(gameplay);
        gameplay.Update(kDt);
        ASSERT_LT(frames, 3000);
    }
    while (game->DeathTime() <= 1.0f)
        gameplay.Update(kDt);
    gameplay.KeyDown(kButtonFire);
    EXPECT_TRUE(gameplay.IsOver());
}
