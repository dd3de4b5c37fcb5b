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

/// A level shot just left of the player's 4 x 8 picture hits it in the next frame; then more
/// than a second passes, after which a button ends the gameplay.
static bool HitOverASecondAgo(CGameplayImpl& game)
{
    game.Player().Sprite()->SetImage(FilledSurface(4, 8, 0xFF00FF00u));
    game.Update(kDt);
    const CVector2 at = game.Player().Position();
    game.FireLevelBullet(CVector2(at.x - 2.5f, at.y), CBullet::kShooterLevelGun, 15.0f);
    for (int n = 0; n < 100 && game.DeathTime() <= 1.0f; ++n)
        game.Update(kDt);
    return game.DeathTime() > 1.0f;
}

TEST(MainLoop, AFrameIsDueSixteenMillisecondsAfterTheLastOneEvenAcrossTheClockWrap)
{
    // SDL_GetTicks wraps after 49.7 days; unsigned subtraction keeps the rule.
    EXPECT_EQ((std::vector<bool>{IsFrameDue(1000u, 985u), IsFrameDue(1001u, 985u),
                                 IsFrameDue(5u, 0xFFFFFFF8u), IsFrameDue(8u, 0xFFFFFFF8u)}),
              (std::vector<bool>{false, true, false, true}));
}

TEST_F(EventQueue, KeysAreHeldFromDownToUpAndEscapeOrCloseEndTheLoopAfterTheWholeBatch)
{
    auto made = std::make_unique<CGameplayImpl>();
    CGameplayImpl& game = *made;
    const CPlayer& player = made->Player();
    CGameplay gameplay(std::move(made));
    CPad pad;
    const SDLKey keys[kButtonCount] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE};
    for (const EButton button : {kButtonUp, kButtonDown, kButtonLeft, kButtonRight, kButtonFire})
    {
        PushEvent(SDL_KEYDOWN, keys[button]);
        EXPECT_TRUE(DispatchEvents(gameplay, pad)) << button;
        EXPECT_TRUE(player.IsHeld(button)) << button;
        PushEvent(SDL_KEYUP, keys[button]);
        EXPECT_TRUE(DispatchEvents(gameplay, pad)) << button;
        EXPECT_FALSE(player.IsHeld(button)) << button;
    }
    ASSERT_TRUE(HitOverASecondAgo(game));
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

TEST_F(EventQueue, TheTitleLeavesOnAListedKeyOrALeftClickElseStrictlyAfterFiveSecondsOrOnClose)
{
    for (SDLKey key :
         {SDLK_RETURN, SDLK_ESCAPE, SDLK_SPACE, SDLK_a, SDLK_d, SDLK_s, SDLK_w, SDLK_UP, SDLK_DOWN,
          SDLK_RIGHT, SDLK_LEFT, SDLK_RSHIFT, SDLK_LSHIFT, SDLK_RCTRL, SDLK_LCTRL})
    {
        CTitleScreen title(kClock);
        PushEvent(SDL_KEYDOWN, key);
        EXPECT_TRUE(title.HandleEvents()) << key;
        EXPECT_TRUE(title.Done()) << key;
    }
    CTitleScreen clicked(kClock);
    PushEvent(SDL_MOUSEBUTTONDOWN, SDLK_UNKNOWN, SDL_BUTTON_LEFT);
    EXPECT_TRUE(clicked.HandleEvents());
    EXPECT_TRUE(clicked.Done());

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
    EXPECT_TRUE(title.HandleEvents());
    EXPECT_TRUE(title.Done());

    // Closing the window wins over a dismissing key and leaves the rest unread.
    PushEvent(SDL_KEYDOWN, SDLK_SPACE);
    PushEvent(SDL_QUIT);
    PushEvent(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_FALSE(ShowTitleScreen(kClock));
    SDL_Event left;
    ASSERT_EQ(SDL_PollEvent(&left), 1);
    EXPECT_EQ(left.type, SDL_KEYDOWN);
}

namespace
{
/// The logical buttons named by letters: Up Down Left Right Fire.
CButtonSet Held(const char* names)
{
    CButtonSet set;
    for (const char* c = names; *c; ++c)
        set.set(static_cast<size_t>(std::string("UDLRF").find(*c)));
    return set;
}

/// A joystick event of the first pad as SDL queues it: a hat's, an axis's or a button's.
SDL_Event Joy(decltype(SDL_Event::type) type, Uint8 index, int value = 0)
{
    SDL_Event e = {};
    e.type = type;
    if (type == SDL_JOYHATMOTION)
        e.jhat.hat = index, e.jhat.value = static_cast<Uint8>(value);
    else if (type == SDL_JOYAXISMOTION)
        e.jaxis.axis = index, e.jaxis.value = static_cast<Sint16>(value);
    else
        e.jbutton.button = index, e.jbutton.state = type == SDL_JOYBUTTONDOWN;
    return e;
}

void PushJoy(decltype(SDL_Event::type) type, Uint8 index, int value = 0)
{
    SDL_Event event = Joy(type, index, value);
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}
} // namespace

TEST(Gamepad, HatStickAndFaceButtonsGiveTheArrowsAndFire)
{
    const std::pair<Uint8, const char*> hats[] = {
        {SDL_HAT_CENTERED, ""},  {SDL_HAT_UP, "U"},        {SDL_HAT_DOWN, "D"},
        {SDL_HAT_LEFT, "L"},     {SDL_HAT_RIGHT, "R"},     {SDL_HAT_LEFTUP, "LU"},
        {SDL_HAT_RIGHTUP, "RU"}, {SDL_HAT_LEFTDOWN, "LD"}, {SDL_HAT_RIGHTDOWN, "RD"}};
    for (const auto& [hat, held] : hats)
        EXPECT_EQ(HatButtons(hat), Held(held)) << int(hat);
    // The dead zone is closed: 8000 off the centre is the centre. Axes past the first
    // stick's two (a second stick, triggers) steer nothing.
    const std::tuple<Uint8, int, const char*> axes[] = {
        {0, -32768, "L"}, {0, -8001, "L"}, {0, -8000, ""}, {0, 8000, ""},  {0, 8001, "R"},
        {0, 32767, "R"},  {1, -8001, "U"}, {1, 8000, ""},  {1, 8001, "D"}, {2, 32767, ""}};
    for (const auto& [axis, value, held] : axes)
        EXPECT_EQ(AxisButtons(axis, static_cast<Sint16>(value)), Held(held)) << value;

    // Held on two controls, a button stays held until both let go; buttons past the four
    // face buttons (shoulders, Start) do not fire; a second hat steers nothing.
    CPad pad;
    const std::pair<SDL_Event, const char*> steps[] = {
        {Joy(SDL_JOYBUTTONDOWN, 0), "F"},        {Joy(SDL_JOYBUTTONDOWN, 3), "F"},
        {Joy(SDL_JOYBUTTONUP, 0), "F"},          {Joy(SDL_JOYBUTTONUP, 3), ""},
        {Joy(SDL_JOYBUTTONDOWN, 4), ""},         {Joy(SDL_JOYHATMOTION, 0, SDL_HAT_RIGHT), "R"},
        {Joy(SDL_JOYAXISMOTION, 0, 20000), "R"}, {Joy(SDL_JOYHATMOTION, 1, SDL_HAT_UP), "R"},
        {Joy(SDL_JOYHATMOTION, 0, 0), "R"},      {Joy(SDL_JOYAXISMOTION, 1, -20000), "RU"},
        {Joy(SDL_JOYAXISMOTION, 0, 100), "U"}};
    for (const auto& step : steps)
    {
        const auto index = &step - steps;
        EXPECT_TRUE(pad.Apply(step.first)) << "step " << index;
        EXPECT_EQ(pad.Held(), Held(step.second)) << "step " << index;
    }
}

TEST_F(EventQueue, ThePadMovesFiresLeavesTheTitleAndRestartsLikeTheKeys)
{
    CTitleScreen title(kClock);
    PushJoy(SDL_JOYHATMOTION, 0, SDL_HAT_UP);
    PushJoy(SDL_JOYAXISMOTION, 0, 32767);
    PushJoy(SDL_JOYBUTTONUP, 2);
    EXPECT_TRUE(title.HandleEvents()) << "only a button press leaves the title";
    EXPECT_FALSE(title.Done()) << "only a button press leaves the title";
    PushJoy(SDL_JOYBUTTONDOWN, 9);
    EXPECT_TRUE(title.HandleEvents());
    EXPECT_TRUE(title.Done());

    auto made = std::make_unique<CGameplayImpl>();
    CGameplayImpl& game = *made;
    const CPlayer& player = made->Player();
    CGameplay gameplay(std::move(made));
    CPad pad;
    const CVector2 start = player.Position();
    PushJoy(SDL_JOYHATMOTION, 0, SDL_HAT_RIGHTDOWN);
    PushJoy(SDL_JOYBUTTONDOWN, 1);
    EXPECT_TRUE(DispatchEvents(gameplay, pad));
    const auto held = [&player]
    {
        return std::make_tuple(player.IsHeld(kButtonFire), player.IsHeld(kButtonRight),
                               player.IsHeld(kButtonDown), player.IsHeld(kButtonUp));
    }; // fire, right, down, up
    EXPECT_EQ(held(), std::make_tuple(true, true, true, false))
        << "a button pressed lets go of none held";
    for (int n = 0; n < 20; ++n)
        gameplay.Update(kDt);
    EXPECT_GT(player.Position().x, start.x);
    EXPECT_GT(player.Position().y, start.y);
    PushJoy(SDL_JOYHATMOTION, 0, SDL_HAT_CENTERED);
    PushJoy(SDL_JOYBUTTONUP, 1);
    EXPECT_TRUE(DispatchEvents(gameplay, pad));
    EXPECT_EQ(held(), std::make_tuple(false, false, false, false));

    ASSERT_TRUE(HitOverASecondAgo(game)) << "then the stick starts the next game, as an arrow does";
    PushJoy(SDL_JOYAXISMOTION, 1, -30000);
    EXPECT_TRUE(DispatchEvents(gameplay, pad));
    EXPECT_TRUE(gameplay.IsOver());
}
