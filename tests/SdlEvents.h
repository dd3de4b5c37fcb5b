#pragma once

// Real SDL events for tests of code that polls the queue.

#include <SDL.h>
#include <gtest/gtest.h>

inline void PushKey(Uint8 type, SDLKey key)
{
    SDL_Event event = {};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

inline void PushButton(Uint8 type, Uint8 button)
{
    SDL_Event event = {};
    event.type = type;
    event.button.type = type;
    event.button.button = button;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

inline void PushQuit()
{
    SDL_Event event = {};
    event.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}
