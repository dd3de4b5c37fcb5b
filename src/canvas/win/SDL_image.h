#pragma once
// Stands in for SDL_image's header where SDL_image is absent (the Windows build puts this
// folder on the include path): the three calls the game makes, on the game's own loader.

#include "canvas/PictureLoader.h"

inline SDL_Surface* IMG_Load_RW(SDL_RWops* source, int freesrc)
{
    return tarn::LoadPicture(source, freesrc != 0);
}
inline SDL_Surface* IMG_Load(const char* file)
{
    return tarn::LoadPicture(SDL_RWFromFile(file, "rb"), true, file);
}
inline int IMG_isPNG(SDL_RWops* source)
{
    return tarn::IsPngPicture(source) ? 1 : 0;
}
