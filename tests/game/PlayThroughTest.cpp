#include <gtest/gtest.h>

#include <GL/gl.h>
#include <vector>

#include "Support.h"
#include "game/Autopilot.h"
#include "render/Video.h"
#include "util/Random.h"

namespace
{
/// The whole virtual screen drawn into a window a quarter of its size: the game is the same,
/// and Mesa's software driver fills a sixteenth of the pixels.
constexpr int kScale = 4;

/// The first digit of the score (from x 881, y 15 of the virtual screen, 29 x 32) as of the
/// last frame. Mesa under Xvfb reads the front buffer as black but keeps the back buffer after
/// the swap, so the frame is read there.
std::vector<unsigned char> FirstScoreDigit()
{
    const int w = 29 / kScale, h = 32 / kScale;
    std::vector<unsigned char> pixels(w * h * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(881 / kScale, 768 / kScale - 15 / kScale - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    return pixels;
}
} // namespace

// The frame as the main loop runs it, with a script at the keys: it clears a level and the
// score on the wall changes, then it stops dodging and is hit; after the death picture a key
// ends the gameplay.
TEST(PlayThrough, ClearsALevelThenDies)
{
    ASSERT_TRUE(InitVideo(1024 / kScale, 768 / kScale, false, "Korvane"));
    tarn::test::SeedRandom(2024u, 7.0);
    CGameplay gameplay;
    CGameplayImpl* game = gameplay.Impl();
    autopilot::CAutopilot pilot;
    gameplay.Update(kDt);
    const std::vector<unsigned char> scoreZero = FirstScoreDigit();
    for (int frames = 0; game->LevelCount() < 1; ++frames)
    {
        pilot.Steer(gameplay);
        gameplay.Update(kDt);
        ASSERT_FALSE(game->PlayerHit()) << "hit while dodging, at frame " << frames;
        ASSERT_LT(frames, 3000);
    }
    gameplay.Update(kDt); // the frame that raised the count still showed 0
    EXPECT_NE(FirstScoreDigit(), scoreZero) << "the score shown on the wall did not change";
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
