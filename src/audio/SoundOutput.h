#pragma once

#include <cstdint>

struct Mix_Chunk;

/// What the sound library reads and drives outside itself: the millisecond clock of its
/// throttle and the mixer call that plays a loaded sound. The game's own (the library's
/// default) reads SDL_GetTicks and plays once on the mixer's first free channel.
class ISoundOutput
{
public:
    virtual ~ISoundOutput() = default;
    /// Milliseconds; may wrap.
    virtual uint32_t Ticks() = 0;
    /// Plays a loaded sound once; `chunk` is never null.
    virtual void Play(Mix_Chunk* chunk) = 0;
};
