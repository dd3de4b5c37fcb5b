#pragma once

#include "util/Rect.h"

/// Size of the virtual screen every quad is drawn in: origin top-left, y downwards. The
/// game's window is opened at exactly this size, and the note wall spans it.
constexpr int kVirtualScreenWidth = 1024;
constexpr int kVirtualScreenHeight = 768;

/// Opens the window as an OpenGL surface and fixes the 1024 x 768 projection.
/// A failing SDL_Init or video query prints its message and ends the process with a
/// non-zero status; a video mode that cannot be set prints its message, shuts SDL down
/// and answers false.
bool InitVideo(int width, int height, bool fullscreen, const char* caption);
/// Clears the colour buffer to opaque black and the depth buffer.
void ClearScreen();
/// Presents the frame.
void SwapScreen();

/// True when `driver` (SDL's name for the video driver in use) is one that shows nothing
/// ("offscreen", "dummy") and `requested` (SDL_VIDEODRIVER, a comma-separated list, may be
/// null) does not name it: SDL fell back to it on its own. Pure, for tests.
bool IsInvisibleVideoDriver(const char* driver, const char* requested);

/// The viewport for a window of the given size: the whole of a 4:3 window, otherwise the
/// largest centred 4:3 area (offsets may be negative). Pure, for tests.
CRect ComputeViewport(int width, int height);
