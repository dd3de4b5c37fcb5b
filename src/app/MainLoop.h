#pragma once

#include <SDL.h>
#include <cstdint>

#include "actors/PlayerMotion.h"

class CGameplay;
class CPad;

/// A frame starts only when at least this many milliseconds passed since the last one.
constexpr uint32_t kFrameIntervalMs = 16;
/// Game time advanced by every frame, seconds, whatever time really passed.
constexpr float kTimeStep = 0.016f;

/// Whether a frame is due at `now` after one started at `lastFrame` (SDL_GetTicks values;
/// unsigned arithmetic, so the clock's wrap-around after 49 days is harmless).
bool IsFrameDue(uint32_t now, uint32_t lastFrame);
/// The logical button of a key (arrows and Space), or kButtonNone for any other key.
EButton ButtonForKey(SDLKey key);
/// Hands every pending event to the gameplay in arrival order: keys, and the pad's changes
/// as the same logical buttons; Alt+Enter and F11 toggle the full screen. Answers false once
/// Escape went down, the window was closed or lost; the remaining events are still handled.
bool DispatchEvents(CGameplay& gameplay, CPad& pad);

/// The whole program: the command line, window, pad, audio, music, title screen, then the
/// game loop until Escape or the window is closed. Returns the process exit status.
int RunKorvane(int argc, const char* const* argv);
