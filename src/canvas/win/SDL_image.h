#pragma once
// Stands in for SDL_image's header where SDL_image is absent (the Windows build puts this
// folder on the include path): the three calls the game makes, on the game's own loader
// (canvas/PictureLoader.cpp), which gives the surfaces SDL_image gives.

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

inline SDL_Surface* IMG_Load_RW(SDL_RWops* source, int freesrc)
{
    return tarn::LoadPicture(source, freesrc != 0);
}
inline SDL_Surface* IMG_Load(const char* file)
{
    return tarn::LoadPicture(SDL_RWFromFile(file, "rb"), true);
}
inline int IMG_isPNG(SDL_RWops* source)
{
    return tarn::IsPngPicture(source) ? 1 : 0;
}
