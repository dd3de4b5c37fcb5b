#pragma once

#include "util/Rect.h"

/// Size of the virtual screen every quad is drawn in: origin top-left, y downwards. The
/// game's window is opened at exactly this size, and the note wall spans it.
constexpr int kVirtualScreenWidth = 1024;
constexpr int kVirtualScreenHeight = 768;

/// Opens the window (the game's is 1024 x 768), or the full screen at the desktop's
/// resolution, as an OpenGL surface with the 1024 x 768 projection in the centred 4:3
/// viewport. On any failure (SDL_Init, the video query, the mode) prints why, shuts SDL
/// down and answers false.
bool InitVideo(int width, int height, bool fullscreen, const char* caption);
/// Switches between the window and the full screen (hiding the mouse cursor there), then
/// uploads every cached picture again. A mode SDL refuses leaves the one the game had; false
/// only when neither can be set again: SDL is then shut down and the game must end.
bool SetFullScreen(bool fullscreen);
bool IsFullScreen();
/// True once a failed toggle left the game without any video mode.
bool IsScreenLost();
/// Clears the colour buffer to opaque black and the depth buffer.
void ClearScreen();
/// Presents the frame.
void SwapScreen();

/// True when `driver` (SDL's name for the video driver in use) is one that shows nothing
/// ("offscreen", "dummy") and `requested` (SDL_VIDEODRIVER, a comma-separated list, may be
/// null) does not name it: SDL fell back to it on its own. Pure, for tests.
bool IsInvisibleVideoDriver(const char* driver, const char* requested);

/// The viewport for a window of the given size: the whole of a 4:3 window, otherwise the
/// largest 4:3 area that fits, centred. Pure, for tests.
CRect ComputeViewport(int width, int height);
