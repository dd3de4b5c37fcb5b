// The game's own PNG and JPEG loader on arbitrary bytes, against SDL_image. A refusal leaves
// a reason and the stream where it was; a picture is within the size limit and, where
// SDL_image takes the same bytes, has its format and pixels. (SDL_image walks a JPEG's
// markers before it decodes, and so refuses some damaged ones that both decoders would
// finish with grey rows: left so, the game shows the part that is there.)

#include <SDL.h>
#include <SDL_image.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "canvas/PictureLoader.h"

namespace
{
bool SameRows(const SDL_Surface* a, const SDL_Surface* b)
{
    const SDL_PixelFormat *f = a->format, *g = b->format;
    if (a->w != b->w || a->h != b->h || f->BitsPerPixel != g->BitsPerPixel ||
        f->Rmask != g->Rmask || f->Gmask != g->Gmask || f->Bmask != g->Bmask ||
        f->Amask != g->Amask || (a->flags & SDL_SRCCOLORKEY) != (b->flags & SDL_SRCCOLORKEY))
        return false;
    for (int y = 0; y < a->h; ++y)
        if (std::memcmp(static_cast<const Uint8*>(a->pixels) + y * a->pitch,
                        static_cast<const Uint8*>(b->pixels) + y * b->pitch,
                        static_cast<size_t>(a->w) * f->BytesPerPixel) != 0)
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
    SDL_ClearError();
    SDL_Surface* ours = tarn::LoadPicture(stream, false, "fuzz");
    if (!ours)
    {
        if (SDL_RWtell(stream) != 0 || !*SDL_GetError())
            std::abort();
        SDL_RWclose(stream);
        return 0;
    }
    if (ours->w > tarn::kMaxPictureSide || ours->h > tarn::kMaxPictureSide)
        std::abort();
    SDL_RWseek(stream, 0, RW_SEEK_SET);
    SDL_Surface* theirs = IMG_Load_RW(stream, 1);
    if (theirs && !SameRows(ours, theirs))
        std::abort();
    SDL_FreeSurface(theirs); // null-safe
    SDL_FreeSurface(ours);
    return 0;
}
