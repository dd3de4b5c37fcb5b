#pragma once
// The game's own PNG and JPEG loader, for builds without SDL_image (canvas/win/SDL_image.h
// puts SDL_image's calls on it): the surfaces SDL_image 1.2 gives, to the bit.

#include <SDL.h>

namespace tarn
{
/// True if the stream starts with the PNG signature; the stream is put back where it was.
bool IsPngPicture(SDL_RWops* source);
/// A PNG or JPEG picture from the stream as SDL_image 1.2 decodes it, or null with
/// SDL_GetError saying why (the stream is then put back where it was). Closes the stream
/// if `closeSource`, in either case.
SDL_Surface* LoadPicture(SDL_RWops* source, bool closeSource);
} // namespace tarn
