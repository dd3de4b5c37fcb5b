#include "Support.h"
#include "game/Autopilot.h"
#include "util/Random.h"
#include "wall/WallLayout.h"

constexpr int kWindowWidth = kVirtualScreenWidth / 4, kWindowHeight = kVirtualScreenHeight / 4;

// The first score digit of the last frame (29 x 32 from its start, here a quarter), from the
// back buffer: Mesa's software driver under Xvfb reads the front one as black after the swap.
static std::vector<unsigned char> FirstScoreDigit()
{
    std::vector<unsigned char> pixels(7 * 8 * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(int(kScoreNumberX) / 4, kWindowHeight - int(kScoreNumberY) / 4 - 8, 7, 8, GL_RGBA,
                 GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// A script at the keys clears a level (the score on the wall changes), stops dodging, is hit.
TEST(PlayThrough, ClearsALevelThenDies)
{
    ASSERT_TRUE(InitVideo(kWindowWidth, kWindowHeight, false, "Korvane"));
    tarn::SeedRandom(2024u, 7.0);
    CGameplayImpl* game = nullptr;
    const std::unique_ptr<CGameplay> gameplay = autopilot::MakeGameplay(game);
    autopilot::CAutopilot pilot;
    gameplay->Update(kDt);
    const std::vector<unsigned char> scoreZero = FirstScoreDigit();
    for (int n = 0; n < 20; ++n) // over the twitching, flickering, renewed notes it stays put
        gameplay->Update(kDt);
    ASSERT_EQ(FirstScoreDigit(), scoreZero) << "the score's digit is not steady";
    for (int frames = 0; game->LevelCount() < 1; ++frames)
    {
        pilot.Steer(*gameplay, *game);
        gameplay->Update(kDt);
        ASSERT_FALSE(game->PlayerHit()) << "hit while dodging, at frame " << frames;
        ASSERT_LT(frames, 3000);
    }
    gameplay->Update(kDt); // the frame that raised the count still showed the old score
    EXPECT_NE(FirstScoreDigit(), scoreZero) << "the score shown on the wall did not change";
    pilot.m_Dodge = false;
    for (int frames = 0; !game->PlayerHit(); ++frames)
    {
        pilot.Steer(*gameplay, *game);
        gameplay->Update(kDt);
        ASSERT_LT(frames, 3000);
    }
    while (game->DeathTime() <= 1.0f)
        gameplay->Update(kDt);
    gameplay->KeyDown(kButtonFire);
    EXPECT_TRUE(gameplay->IsOver());
}
