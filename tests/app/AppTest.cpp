#include "Support.h"
#include "actors/Player.h"
#include "app/Gamepad.h"
#include "app/MainLoop.h"
#include "app/TitleScreen.h"
#include "canvas/Sprite.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"

static Uint32 g_Now = 0; // the title's clock, milliseconds
static const CTitleScreen::Clock kClock = [] { return g_Now; };
/// Real SDL events through the queue; the title's GL calls go nowhere without a GL window.
using EventQueue = CVideoTest;

TEST(MainLoop, AFrameIsDueSixteenMillisecondsAfterTheLastOneEvenAcrossTheClockWrap)
{
    EXPECT_TRUE(!IsFrameDue(1000u, 985u) && IsFrameDue(1001u, 985u));
    // SDL_GetTicks wraps after 49.7 days; unsigned subtraction keeps the rule.
    EXPECT_TRUE(!IsFrameDue(5u, 0xFFFFFFF8u) && IsFrameDue(8u, 0xFFFFFFF8u));
}

TEST_F(EventQueue, TheArrowsAndSpaceAreHeldFromKeyDownToKeyUp)
{
    auto made = std::make_unique<CGameplayImpl>();
    const CPlayer& player = made->Player();
    CGameplay gameplay(std::move(made));
    CPad pad;
    // In button order, from kButtonUp to kButtonFire.
    const SDLKey keys[kButtonCount] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE};
    for (const EButton button : {kButtonUp, kButtonDown, kButtonLeft, kButtonRight, kButtonFire})
    {
        PushEvent(SDL_KEYDOWN, keys[button]);
        EXPECT_TRUE(DispatchEvents(gameplay, pad));
        EXPECT_TRUE(player.IsHeld(button)) << button;
        PushEvent(SDL_KEYUP, keys[button]);
        EXPECT_TRUE(DispatchEvents(gameplay, pad));
        EXPECT_FALSE(player.IsHeld(button)) << button;
    }
}

TEST_F(EventQueue, EscapeOrCloseEndTheGameLoopButTheRestOfTheBatchIsStillHandled)
{
    auto made = std::make_unique<CGameplayImpl>();
    CGameplayImpl& game = *made;
    CGameplay gameplay(std::move(made));
    CPad pad;
    // A level shot at the player's 4 x 8 picture (x 2 ... 5, y 7 ... 14) hits it in the next
    // frame; more than a second later a button ends the gameplay.
    game.Player().Sprite()->SetImage(FilledSurface(4, 8, 0xFF00FF00u));
    game.Update(kDt);
    game.FireLevelBullet(CVector2(1.0f, 11.0f), CBullet::kShooterLevelGun, 15.0f);
    for (int n = 0; n < 100 && game.DeathTime() <= 1.0f; ++n)
        game.Update(kDt);
    ASSERT_GT(game.DeathTime(), 1.0f);
    for (SDLKey other : {SDLK_ESCAPE, SDLK_RETURN, SDLK_a, SDLK_w, SDLK_LSHIFT, SDLK_F1})
        PushEvent(SDL_KEYDOWN, other);
    PushEvent(SDL_KEYUP, SDLK_SPACE);
    EXPECT_FALSE(DispatchEvents(gameplay, pad));
    EXPECT_FALSE(gameplay.IsOver()) << "neither Escape, a key-up nor another key is a button";

    PushEvent(SDL_KEYDOWN, SDLK_ESCAPE);
    PushEvent(SDL_KEYDOWN, SDLK_SPACE);
    EXPECT_FALSE(DispatchEvents(gameplay, pad));
    EXPECT_TRUE(gameplay.IsOver());
    PushEvent(SDL_QUIT);
    EXPECT_FALSE(DispatchEvents(gameplay, pad));
}

TEST_F(EventQueue, TheTitleLeavesOnAListedKeyOrALeftClickElseStrictlyAfterFiveSeconds)
{
    for (SDLKey key :
         {SDLK_RETURN, SDLK_ESCAPE, SDLK_SPACE, SDLK_a, SDLK_d, SDLK_s, SDLK_w, SDLK_UP, SDLK_DOWN,
          SDLK_RIGHT, SDLK_LEFT, SDLK_RSHIFT, SDLK_LSHIFT, SDLK_RCTRL, SDLK_LCTRL})
    {
        CTitleScreen title(kClock);
        PushEvent(SDL_KEYDOWN, key);
        EXPECT_TRUE(title.HandleEvents() && title.Done()) << key;
    }
    CTitleScreen clicked(kClock);
    PushEvent(SDL_MOUSEBUTTONDOWN, SDLK_UNKNOWN, SDL_BUTTON_LEFT);
    EXPECT_TRUE(clicked.HandleEvents() && clicked.Done());

    CTitleScreen title(kClock);
    for (SDLKey key : {SDLK_x, SDLK_F1, SDLK_TAB, SDLK_q, SDLK_RALT})
        PushEvent(SDL_KEYDOWN, key);
    PushEvent(SDL_KEYUP, SDLK_SPACE);
    PushEvent(SDL_MOUSEBUTTONDOWN, SDLK_UNKNOWN, SDL_BUTTON_RIGHT);
    PushEvent(SDL_MOUSEBUTTONUP, SDLK_UNKNOWN, SDL_BUTTON_LEFT);
    g_Now += 5000;
    EXPECT_TRUE(title.HandleEvents());
    EXPECT_FALSE(title.Done());
    g_Now += 1;
    EXPECT_TRUE(title.HandleEvents() && title.Done());
}

TEST_F(EventQueue, ClosingTheWindowOnTheTitleWinsOverADismissingKeyAndLeavesTheRestUnread)
{
    PushEvent(SDL_KEYDOWN, SDLK_SPACE);
    PushEvent(SDL_QUIT);
    PushEvent(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_FALSE(ShowTitleScreen(kClock));
    SDL_Event left;
    EXPECT_TRUE(SDL_PollEvent(&left) && left.type == SDL_KEYDOWN);
}
