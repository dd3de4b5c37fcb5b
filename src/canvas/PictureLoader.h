#pragma once
// The game's own PNG and JPEG loader, for builds without SDL_image (canvas/win/SDL_image.h
// puts SDL_image's calls on it): the surfaces SDL_image 1.2 gives, to the bit.

#include <SDL.h>

namespace tarn
{
/// Pixels a picture may have on a side: four times the largest the game ships (1024 x 768),
/// and small enough that a 32-bit surface (64 MiB) and its row pitch fit SDL 1.2's sizes.
constexpr int kMaxPictureSide = 4096;

/// True if the stream starts with the PNG signature; the stream is put back where it was.
bool IsPngPicture(SDL_RWops* source);
/// A PNG or JPEG picture from the stream as SDL_image 1.2 decodes it, or null with
/// SDL_GetError saying why (the stream is then put back where it was). Closes the stream
/// if `closeSource`, in either case. A picture with a side of 0 or above kMaxPictureSide is
/// refused from its header; `name` (null: "picture") heads that message.
SDL_Surface* LoadPicture(SDL_RWops* source, bool closeSource, const char* name = nullptr);
} // namespace tarn
