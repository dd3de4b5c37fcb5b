#pragma once

/// The game's canvas, in canvas pixels: the world is composed at this size and the note
/// wall shows one note per pixel. The picture generators in tools/ read it too.
inline constexpr int kCanvasWidth = 32;
inline constexpr int kCanvasHeight = 24;
