#include "canvas/Surface.h"

#include <SDL.h>
#include <SDL_image.h>
#include <cassert>

#include "canvas/Color.h"
#include "util/Log.h"

static_assert(sizeof(uint32_t) == 4, "canvas pixels are 4 bytes");

CSurface::CSurface(SDL_Surface* surface) : m_Surface(surface) {}

CSurface::~CSurface()
{
    if (m_Surface)
        SDL_FreeSurface(m_Surface);
}

int CSurface::Width() const
{
    return m_Surface ? m_Surface->w : 0;
}

int CSurface::Height() const
{
    return m_Surface ? m_Surface->h : 0;
}

int CSurface::Pitch() const
{
    return m_Surface ? m_Surface->pitch : 0;
}

bool CSurface::Contains(int x, int y) const
{
    return m_Surface && x >= 0 && y >= 0 && x < m_Surface->w && y < m_Surface->h;
}

uint32_t CSurface::GetPixel(int x, int y) const
{
    if (!Contains(x, y))
        return 0;
    const uint32_t* pixels = static_cast<const uint32_t*>(m_Surface->pixels);
    return pixels[(y * m_Surface->pitch) / 4 + x];
}

void CSurface::SetPixel(int x, int y, uint32_t value)
{
    if (!Contains(x, y))
        return;
    uint32_t* pixels = static_cast<uint32_t*>(m_Surface->pixels);
    pixels[(y * m_Surface->pitch) / 4 + x] = value;
}

uint32_t* CSurface::Row(int y)
{
    assert(m_Surface && y >= 0 && y < m_Surface->h && "Row() needs a row inside the surface");
    return static_cast<uint32_t*>(m_Surface->pixels) + (y * m_Surface->pitch) / 4;
}

const uint32_t* CSurface::Row(int y) const
{
    return const_cast<CSurface*>(this)->Row(y);
}

bool TestPixel(CPoint point, CPoint origin, const CSurface& surface, uint32_t mask)
{
    if (point.x < origin.x || point.y < origin.y || point.x >= origin.x + surface.Width() ||
        point.y >= origin.y + surface.Height())
        return false;
    return (mask & surface.GetPixel(point.x - origin.x, point.y - origin.y)) != 0;
}

namespace
{
SDL_Surface* CreateCanvasFormatSurface(int width, int height)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, CColor::kRedMask,
                                CColor::kGreenMask, CColor::kBlueMask, CColor::kAlphaMask);
}

// SDL_image 1.2 decodes a grey PNG with a transparent grey level (a tRNS chunk) into two
// bytes per pixel, grey then alpha, but asks for the masks of 4-byte RGB pixels, which no
// 2-byte format has. The classic library keeps those masks, sdl12-compat swaps in RGB 565:
// either way the masks lie, so such a picture is known by its decoder and pixel size alone
// (its other PNGs come out as 1, 3 or 4 bytes per pixel).
bool IsGreyAlphaPng(const SDL_Surface* s, bool png)
{
    return png && s->format->BytesPerPixel == 2;
}

// Alpha 0 gives pixel 0, as a colour key does elsewhere: the hit tests count any non-zero
// pixel as solid.
SDL_Surface* ConvertGreyAlpha(const SDL_Surface* source)
{
    SDL_Surface* converted = CreateCanvasFormatSurface(source->w, source->h);
    if (!converted)
        return nullptr;
    for (int y = 0; y < source->h; ++y)
    {
        const Uint8* from = static_cast<const Uint8*>(source->pixels) + y * source->pitch;
        Uint32* to = reinterpret_cast<Uint32*>(static_cast<Uint8*>(converted->pixels) +
                                               y * converted->pitch);
        for (int x = 0; x < source->w; ++x)
        {
            const Uint32 grey = from[2 * x];
            const Uint32 alpha = from[2 * x + 1];
            to[x] = alpha == 0 ? 0u : grey | grey << 8 | grey << 16 | alpha << 24;
        }
    }
    return converted;
}
} // namespace

SDL_Surface* ConvertToCanvasFormat(SDL_Surface* source)
{
    if (!source)
        return nullptr;
    SDL_Surface* model = CreateCanvasFormatSurface(1, 1);
    if (!model)
        return nullptr;
    // SDL_ConvertSurface copies the picture's own alpha channel, and turns a colour key
    // into transparent pixels, because the target format has an alpha mask.
    SDL_Surface* converted = SDL_ConvertSurface(source, model->format, SDL_SWSURFACE);
    SDL_FreeSurface(model);
    // The classic library skips keyed pixels (they stay 0); SDL 2 writes them with their
    // colour and alpha 0. Pixel 0 either way: the hit tests count any non-zero pixel.
    if (converted && (source->flags & SDL_SRCCOLORKEY))
        for (int y = 0; y < converted->h; ++y)
        {
            Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(converted->pixels) +
                                                    y * converted->pitch);
            for (int x = 0; x < converted->w; ++x)
                if ((row[x] & CColor::kAlphaMask) == 0)
                    row[x] = 0;
        }
    return converted;
}

std::unique_ptr<CSurface> CreateSurface(int width, int height)
{
    // The pixel code reads 4-byte words in a fixed packing, so the canvas is made in that
    // format directly rather than in the desktop's (which may be 16-bit).
    SDL_Surface* surface = CreateCanvasFormatSurface(width, height);
    if (surface)
    {
        SDL_Rect all = {0, 0, static_cast<Uint16>(width), static_cast<Uint16>(height)};
        SDL_FillRect(surface, &all, 0);
    }
    return std::make_unique<CSurface>(surface);
}

std::unique_ptr<CSurface> LoadSurface(const std::string& fileName)
{
    SDL_RWops* file = SDL_RWFromFile(fileName.c_str(), "rb");
    const bool png = file && IMG_isPNG(file); // looks at the signature and rewinds
    SDL_Surface* loaded = file ? IMG_Load_RW(file, 1) : nullptr;
    SDL_Surface* converted = loaded && IsGreyAlphaPng(loaded, png) ? ConvertGreyAlpha(loaded)
                                                                   : ConvertToCanvasFormat(loaded);
    if (loaded)
        SDL_FreeSurface(loaded);
    if (!converted)
        tarn::LogPictureLoadFailure(fileName);
    return std::make_unique<CSurface>(converted);
}
