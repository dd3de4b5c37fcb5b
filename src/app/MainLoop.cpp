#include "app/MainLoop.h"

#include <SDL_mixer.h>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "actors/Player.h"
#include "app/CommandLine.h"
#include "app/Gamepad.h"
#include "app/TitleScreen.h"
#include "audio/Audio.h"
#include "audio/SoundLibrary.h"
#include "game/Gameplay.h"
#include "render/Video.h"
#include "util/Log.h"

namespace
{
const char* const kCaption = "Korvane";
const char* const kMusicFile = "data/sfx/Ondrafel.ogg";
} // namespace

bool IsFrameDue(uint32_t now, uint32_t lastFrame)
{
    return now - lastFrame >= kFrameIntervalMs;
}

EButton ButtonForKey(SDLKey key)
{
    switch (key)
    {
    case SDLK_UP:
        return kButtonUp;
    case SDLK_DOWN:
        return kButtonDown;
    case SDLK_LEFT:
        return kButtonLeft;
    case SDLK_RIGHT:
        return kButtonRight;
    case SDLK_SPACE:
        return kButtonFire;
    default:
        return kButtonNone;
    }
}

bool DispatchEvents(CGameplay& gameplay, CPad& pad)
{
    bool running = true;
    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        const CButtonSet before = pad.Held();
        if (pad.Apply(event))
        {
            const CButtonSet after = pad.Held();
            for (int b = 0; b < kButtonCount; ++b)
            {
                const EButton button = static_cast<EButton>(b);
                if (after[b] && !before[b])
                    gameplay.KeyDown(button);
                else if (before[b] && !after[b])
                    gameplay.KeyUp(button);
            }
            continue;
        }
        if (IsFullScreenToggle(event))
        {
            if (!SetFullScreen(!IsFullScreen()))
                running = false; // neither mode could be had again: SDL is down
            continue;
        }
        switch (event.type)
        {
        case SDL_KEYDOWN:
        {
            if (event.key.keysym.sym == SDLK_ESCAPE)
            {
                running = false;
                break;
            }
            const EButton button = ButtonForKey(event.key.keysym.sym);
            if (button != kButtonNone)
                gameplay.KeyDown(button);
            break;
        }
        case SDL_KEYUP:
        {
            const EButton button = ButtonForKey(event.key.keysym.sym);
            if (button != kButtonNone)
                gameplay.KeyUp(button);
            break;
        }
        case SDL_QUIT:
            running = false;
            break;
        default:
            break;
        }
    }
    return running;
}

namespace
{
/// The first joystick, if any: opened for good (SDL_Quit closes it). One that goes away
/// later just stops sending events, on both SDL 1.2s.
void OpenGamepad()
{
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0 || SDL_NumJoysticks() < 1)
        return;
    if (SDL_JoystickOpen(0))
    {
        SDL_JoystickEventState(SDL_ENABLE);
        tarn::Log(tarn::ELogStream::Output, std::string("Gamepad: ") + SDL_JoystickName(0));
    }
}
} // namespace

int RunKorvane(int argc, const char* const* argv)
{
    const CCommandLine line = ParseCommandLine(argc, argv);
    switch (line.m_Command)
    {
    case ECommand::Help:
        std::fputs(UsageText().c_str(), stdout);
        return EXIT_SUCCESS;
    case ECommand::Version:
        std::puts(VersionText().c_str());
        return EXIT_SUCCESS;
    case ECommand::Error:
        std::fprintf(stderr, "korvane: %s\n%s", line.m_Error.c_str(), UsageText().c_str());
        return kUsageStatus;
    case ECommand::Play:
        break;
    }

    if (!InitVideo(kVirtualScreenWidth, kVirtualScreenHeight, line.m_FullScreen, kCaption))
        return EXIT_FAILURE; // InitVideo said why; nothing can be shown without a window.
    // Every return below shuts SDL down itself. No atexit(SDL_Quit): when the X server goes
    // away, Xlib ends the process with exit(1), and SDL 2 (under sdl12-compat) then waits for
    // ever in its window teardown for an answer from the server that is gone.

    OpenGamepad();
    // Without a sound device the game goes on silent; the music check below keeps retrying.
    StartAudio();
    PlayMusic(kMusicFile);
    if (!ShowTitleScreen())
    {
        ShutdownAudio(); // the window was closed on the title, or lost
        SDL_Quit();
        return IsScreenLost() ? EXIT_FAILURE : EXIT_SUCCESS;
    }

    auto gameplay = std::make_unique<CGameplay>();
    CPad pad;
    bool running = true;
    uint32_t lastFrameTime = 0;
    while (running)
    {
        if (!IsFrameDue(SDL_GetTicks(), lastFrameTime))
        {
            SDL_Delay(1);
            continue;
        }
        lastFrameTime = SDL_GetTicks();

        // The music plays once per start: loop it by starting it again when it has ended.
        if (Mix_PlayingMusic() == 0)
            PlayMusic(kMusicFile);

        running = DispatchEvents(*gameplay, pad);
        gameplay->Update(kTimeStep);
        if (gameplay->IsOver())
        {
            gameplay.reset();
            gameplay = std::make_unique<CGameplay>();
        }
    }

    // The gameplay goes before SDL does: its surfaces and sprites are SDL's memory.
    gameplay.reset();
    ShutdownAudio();
    SDL_Quit();
    return IsScreenLost() ? EXIT_FAILURE : EXIT_SUCCESS;
}
