#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <vector>

#include "Support.h"
#include "game/Autopilot.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"
#include "game/Level.h"
#include "render/Video.h"
#include "util/Random.h"

namespace
{
/// Enough game time for anything the script waits for (a minute and a half).
constexpr int kFrameBudget = 5600;

bool FileExists(const char* name)
{
    struct stat info;
    return stat(name, &info) == 0;
}

/// The play-through draws the whole virtual screen into a window a quarter of its size:
/// the game is the same, and Mesa's software driver fills a sixteenth of the pixels.
constexpr int kWindowWidth = 1024 / 4;
constexpr int kWindowHeight = 768 / 4;

/// The first digit of the score, as of the last frame (the score shows from x 881, y 15 of
/// the virtual screen, digits 29 x 32). Mesa's software driver under Xvfb reads the front
/// buffer as black but keeps the back buffer after the swap, so the frame is read there.
std::vector<unsigned char> ReadFirstScoreDigit()
{
    constexpr int kX = 881 / 4, kY = 15 / 4, kW = 29 / 4, kH = 32 / 4;
    std::vector<unsigned char> pixels(kW * kH * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(kX, kWindowHeight - kY - kH, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
} // namespace

// The game as the main loop runs it, steered by a script instead of a keyboard: it clears
// levels, the score on the wall goes up, then the script stops dodging, is hit, waits for the
// death picture and presses a key, and a new gameplay starts from the first level.
TEST(PlayThrough, ClearsThreeLevelsThenDiesAndStartsAgain)
{
    if (!FileExists("data/gfx/it_guy.png"))
        GTEST_SKIP() << "data/gfx/it_guy.png is missing (game data not generated yet): "
                        "without the player's picture no level shot can hit it";
    ASSERT_TRUE(InitVideo(kWindowWidth, kWindowHeight, false, "Korvane"));
    tarn::test::SeedRandom(2024u, 7.0);

    auto gameplay = std::make_unique<CGameplay>();
    CGameplayImpl* game = gameplay->Impl();
    autopilot::CAutopilot pilot;

    gameplay->Update(kDt);
    const std::vector<unsigned char> scoreZero = ReadFirstScoreDigit();
    for (int n = 0; n < 20; ++n)
        gameplay->Update(kDt);
    // Over the wall's twitching, flickering and renewed notes the digit stays as it is.
    const bool digitsShown = FileExists("data/gfx/num_00.png");
    if (digitsShown)
    {
        ASSERT_EQ(ReadFirstScoreDigit(), scoreZero) << "the score's digit is not steady";
    }
    int frames = 0;
    int lastCount = 0;
    while (game->LevelCount() < 3 && frames < kFrameBudget)
    {
        pilot.Steer(*gameplay);
        gameplay->Update(kDt);
        ++frames;
        ASSERT_FALSE(game->PlayerHit())
            << "hit while dodging, at frame " << frames << ", level " << game->LevelCount();
        ASSERT_GE(game->LevelCount(), lastCount);
        lastCount = game->LevelCount();
    }
    ASSERT_EQ(game->LevelCount(), 3) << "after " << frames << " frames";
    std::printf("three levels cleared in %d frames\n", frames);
    // Missing digit pictures draw nothing; then there is no score to see. The frame that
    // raised the count to 3 still showed 2; this one shows 3.
    gameplay->Update(kDt);
    if (digitsShown)
    {
        EXPECT_NE(ReadFirstScoreDigit(), scoreZero) << "the score shown on the wall did not change";
    }
    else
        std::printf("no digit pictures: the score on the wall is not checked\n");

    pilot.m_Dodge = false;
    frames = 0;
    while (!game->PlayerHit() && frames < kFrameBudget)
    {
        pilot.Steer(*gameplay);
        gameplay->Update(kDt);
        ++frames;
    }
    ASSERT_TRUE(game->PlayerHit()) << "never hit in " << frames << " frames";
    std::printf("hit %d frames after it stopped dodging\n", frames);
    EXPECT_EQ(game->Player().Sprite(), nullptr);

    // Keys during the first second after the hit do not end the gameplay.
    gameplay->KeyDown(kButtonLeft);
    gameplay->KeyUp(kButtonLeft);
    EXPECT_FALSE(gameplay->IsOver());
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
    EXPECT_FALSE(game->PlayerHit());
    EXPECT_TRUE(game->Bullets().empty());
    ASSERT_NE(game->Player().Sprite(), nullptr);
    pilot.m_Dodge = true;
    bool fired = false;
    for (int n = 0; n < 200; ++n)
    {
        pilot.Steer(*gameplay);
        gameplay->Update(kDt);
        fired = fired || !game->Bullets().empty();
    }
    EXPECT_TRUE(fired) << "the new player fires";
    EXPECT_EQ(game->LevelCount(), 0);
}
