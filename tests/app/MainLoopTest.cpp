#include <gtest/gtest.h>

#include <SDL.h>

#include "Support.h"

#include "actors/Player.h"
#include "app/MainLoop.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"

TEST(MainLoop, AFrameIsDueSixteenMillisecondsAfterTheLastOneEvenAcrossTheClockWrap)
{
    EXPECT_FALSE(IsFrameDue(1000u, 985u));
    EXPECT_TRUE(IsFrameDue(1001u, 985u));
    EXPECT_FALSE(IsFrameDue(1000u, 1000u));
    // The first frame: last frame time starts at 0, the clock is far past it.
    EXPECT_TRUE(IsFrameDue(350u, 0u));
    // SDL_GetTicks wraps after 49.7 days; unsigned subtraction keeps the rule.
    EXPECT_FALSE(IsFrameDue(5u, 0xFFFFFFF8u));
    EXPECT_TRUE(IsFrameDue(8u, 0xFFFFFFF8u));
}

TEST(MainLoop, OnlyArrowsAndSpaceAreButtons)
{
    EXPECT_EQ(ButtonForKey(SDLK_UP), kButtonUp);
    EXPECT_EQ(ButtonForKey(SDLK_DOWN), kButtonDown);
    EXPECT_EQ(ButtonForKey(SDLK_LEFT), kButtonLeft);
    EXPECT_EQ(ButtonForKey(SDLK_RIGHT), kButtonRight);
    EXPECT_EQ(ButtonForKey(SDLK_SPACE), kButtonFire);
    for (SDLKey other : {SDLK_ESCAPE, SDLK_RETURN, SDLK_a, SDLK_w, SDLK_LSHIFT, SDLK_F1})
        EXPECT_EQ(ButtonForKey(other), -1);
}

namespace
{
class EventQueue : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(64, 64, 32, SDL_SWSURFACE), nullptr) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }
};
} // namespace

TEST_F(EventQueue, EscapeEndsTheLoopButTheRestOfTheBatchIsStillHandled)
{
    for (bool keyAfterEscape : {true, false})
    {
        CGameplay gameplay;
        gameplay.Impl()->SetPlayerHitForTest(1.5f);
        PushEvent(SDL_KEYDOWN, SDLK_ESCAPE);
        PushEvent(SDL_KEYUP, SDLK_ESCAPE);
        if (keyAfterEscape)
            PushEvent(SDL_KEYDOWN, SDLK_SPACE);
        EXPECT_FALSE(DispatchEvents(gameplay));
        EXPECT_EQ(gameplay.IsOver(), keyAfterEscape) << "Escape itself never ends the gameplay";
        SDL_Event left;
        EXPECT_EQ(SDL_PollEvent(&left), 0);
    }
}

TEST_F(EventQueue, WindowCloseEndsTheLoopAndOtherKeysAreIgnored)
{
    CGameplay gameplay;
    gameplay.Impl()->SetPlayerHitForTest(2.0f);
    PushEvent(SDL_KEYDOWN, SDLK_a);
    PushEvent(SDL_KEYUP, SDLK_SPACE);
    EXPECT_TRUE(DispatchEvents(gameplay));
    EXPECT_FALSE(gameplay.IsOver()); // neither a key-up nor an unmapped key ends it
    PushEvent(SDL_QUIT);
    EXPECT_FALSE(DispatchEvents(gameplay));
}
