#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstdio>
#include <memory>
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
// score on the wall changes, then it stops dodging, is hit, the death picture comes, a key
// after it ends the gameplay and a new one starts from the first level.
TEST(PlayThrough, ClearsALevelThenDiesAndStartsAgain)
{
    ASSERT_TRUE(InitVideo(1024 / kScale, 768 / kScale, false, "Korvane"));
    tarn::test::SeedRandom(2024u, 7.0);
    auto gameplay = std::make_unique<CGameplay>();
    CGameplayImpl* game = gameplay->Impl();
    autopilot::CAutopilot pilot;
    gameplay->Update(kDt);
    const std::vector<unsigned char> scoreZero = FirstScoreDigit();
    // Over the wall's twitching, flickering and renewed notes the digit stays as it is.
    for (int n = 0; n < 20; ++n)
        gameplay->Update(kDt);
    ASSERT_EQ(FirstScoreDigit(), scoreZero) << "the score's digit is not steady";

    int frames = 0;
    for (; game->LevelCount() < 1 && frames < 3000; ++frames)
    {
        pilot.Steer(*gameplay);
        gameplay->Update(kDt);
        ASSERT_FALSE(game->PlayerHit()) << "hit while dodging, at frame " << frames;
    }
    ASSERT_EQ(game->LevelCount(), 1) << "after " << frames << " frames";
    std::printf("a level cleared in %d frames\n", frames);
    gameplay->Update(kDt); // the frame that raised the count still showed 0
    EXPECT_NE(FirstScoreDigit(), scoreZero) << "the score shown on the wall did not change";

    pilot.m_Dodge = false;
    for (frames = 0; !game->PlayerHit() && frames < 3000; ++frames)
    {
        pilot.Steer(*gameplay);
        gameplay->Update(kDt);
    }
    ASSERT_TRUE(game->PlayerHit()) << "never hit in " << frames << " frames";
    std::printf("hit %d frames after it stopped dodging\n", frames);
    EXPECT_EQ(game->Player().Sprite(), nullptr);
    while (game->DeathTime() <= 1.0f)
        gameplay->Update(kDt);
    EXPECT_EQ(game->DeathOverlayAlpha(), 1.0f);
    gameplay->KeyDown(kButtonFire);
    ASSERT_TRUE(gameplay->IsOver());

    // What the main loop does with a gameplay that is over.
    gameplay.reset();
    gameplay = std::make_unique<CGameplay>();
    game = gameplay->Impl();
    EXPECT_EQ(game->LevelCount(), 0);
    pilot.m_Dodge = true;
    for (int n = 0; n < 3; ++n)
    {
        pilot.Steer(*gameplay);
        gameplay->Update(kDt);
    }
    EXPECT_FALSE(game->Bullets().empty()) << "the new player fires";
}
