// The game's own PNG and JPEG loader on arbitrary bytes, against SDL_image. A refusal leaves
// a reason and the stream where it was; a picture is within the size limit and, where
// SDL_image takes the same bytes, has its format and pixels. (SDL_image walks a JPEG's
// markers first and refuses some damaged ones that the decoder would finish with grey rows.)

#include <SDL.h>
#include <SDL_image.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "canvas/PictureLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
    SDL_ClearError();
    SDL_Surface* ours = tarn::LoadPicture(stream, false, "fuzz");
    if (ours ? ours->w > tarn::kMaxPictureSide || ours->h > tarn::kMaxPictureSide
             : SDL_RWtell(stream) != 0 || !*SDL_GetError())
        std::abort();
    SDL_Surface* theirs = ours ? IMG_Load_RW(stream, 0) : nullptr;
    if (theirs)
    {
        const SDL_PixelFormat *f = ours->format, *g = theirs->format;
        const Uint32 keyed = ours->flags & SDL_SRCCOLORKEY;
        bool same = ours->w == theirs->w && ours->h == theirs->h &&
                    f->BitsPerPixel == g->BitsPerPixel && f->Rmask == g->Rmask &&
                    f->Gmask == g->Gmask && f->Bmask == g->Bmask && f->Amask == g->Amask &&
                    keyed == (theirs->flags & SDL_SRCCOLORKEY) &&
                    (!keyed || f->colorkey == g->colorkey);
        for (int y = 0; same && y < ours->h; ++y)
            same = std::memcmp(static_cast<Uint8*>(ours->pixels) + y * ours->pitch,
                               static_cast<Uint8*>(theirs->pixels) + y * theirs->pitch,
                               static_cast<size_t>(ours->w) * f->BytesPerPixel) == 0;
        if (!same)
            std::abort();
    }
    SDL_FreeSurface(theirs);
    SDL_FreeSurface(ours);
    SDL_RWclose(stream);
    return 0;
}
