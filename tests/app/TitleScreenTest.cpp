#include <gtest/gtest.h>

#include <SDL.h>

#include "Support.h"
#include <cstdlib>

#include "app/TitleScreen.h"
#include "render/Video.h"

namespace
{
Uint32 g_Now = 0;
Uint32 TestClock()
{
    return g_Now;
}

// The title draws with GL, so these tests open the real window (under Xvfb) and feed it
// real SDL events; the clock is the test's own.
class TitleScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display (make test runs under Xvfb)";
        ASSERT_TRUE(InitVideo(1024, 768, false, "Korvane"));
        SDL_Event drain;
        while (SDL_PollEvent(&drain))
        {
        }
        g_Now = 100000;
    }
    void TearDown() override { SDL_Quit(); }
};
} // namespace

TEST(TitleScreenKeys, OnlyTheListedKeysAndTheLeftButtonDismiss)
{
    const SDLKey dismissing[] = {SDLK_RETURN, SDLK_ESCAPE, SDLK_SPACE,  SDLK_a,     SDLK_d,
                                 SDLK_s,      SDLK_w,      SDLK_UP,     SDLK_DOWN,  SDLK_RIGHT,
                                 SDLK_LEFT,   SDLK_RSHIFT, SDLK_LSHIFT, SDLK_RCTRL, SDLK_LCTRL};
    SDL_Event down = {}, up = {};
    down.type = SDL_KEYDOWN;
    up.type = SDL_KEYUP;
    for (SDLKey key : dismissing)
    {
        down.key.keysym.sym = up.key.keysym.sym = key;
        EXPECT_TRUE(IsDismissingEvent(down)) << key;
        EXPECT_FALSE(IsDismissingEvent(up)) << key;
    }
    for (SDLKey key : {SDLK_x, SDLK_F1, SDLK_TAB, SDLK_q, SDLK_RALT})
    {
        down.key.keysym.sym = key;
        EXPECT_FALSE(IsDismissingEvent(down)) << key;
    }
    SDL_Event click = {};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    EXPECT_TRUE(IsDismissingEvent(click));
    click.button.button = SDL_BUTTON_RIGHT;
    EXPECT_FALSE(IsDismissingEvent(click));
    click.type = SDL_MOUSEBUTTONUP;
    click.button.button = SDL_BUTTON_LEFT;
    EXPECT_FALSE(IsDismissingEvent(click));
}

TEST_F(TitleScreen, TimesOutOnlyStrictlyAfterFiveSeconds)
{
    CTitleScreen title(TestClock);
    g_Now += 5000;
    EXPECT_TRUE(title.HandleEvents());
    EXPECT_FALSE(title.Done());
    g_Now += 1;
    EXPECT_TRUE(title.HandleEvents());
    EXPECT_TRUE(title.Done());
    EXPECT_EQ(title.Picture(), nullptr);
}

// Which events dismiss is pinned above; here they come through the real queue.
TEST_F(TitleScreen, IgnoresOtherEventsUntilADismissingOne)
{
    CTitleScreen title(TestClock);
    PushEvent(SDL_KEYDOWN, SDLK_x);
    PushEvent(SDL_MOUSEBUTTONDOWN, SDLK_UNKNOWN, SDL_BUTTON_RIGHT);
    PushEvent(SDL_KEYUP, SDLK_SPACE);
    EXPECT_TRUE(title.HandleEvents());
    EXPECT_FALSE(title.Done());
    PushEvent(SDL_KEYDOWN, SDLK_ESCAPE); // Escape only leaves the title
    EXPECT_TRUE(title.HandleEvents());
    EXPECT_TRUE(title.Done());
}

TEST_F(TitleScreen, ClosingTheWindowWinsEvenAfterADismissingKeyInTheSameBatch)
{
    PushEvent(SDL_KEYDOWN, SDLK_SPACE);
    PushEvent(SDL_QUIT);
    PushEvent(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_FALSE(ShowTitleScreen(TestClock));
    // The rest of the batch stays unread.
    SDL_Event left;
    ASSERT_EQ(SDL_PollEvent(&left), 1);
    EXPECT_EQ(left.type, SDL_KEYDOWN);
}

TEST_F(TitleScreen, ShowReturnsTrueOnceDismissed)
{
    PushEvent(SDL_KEYDOWN, SDLK_w);
    EXPECT_TRUE(ShowTitleScreen(TestClock));
}
