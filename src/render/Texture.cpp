#include "render/Texture.h"

#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <map>

#include "util/Log.h"

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace
{
// Masks that put a pixel's bytes in memory as R, G, B, A: what GL_RGBA with
// GL_UNSIGNED_BYTE reads.
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
constexpr Uint32 kUploadRedMask = 0x000000FFu;
constexpr Uint32 kUploadGreenMask = 0x0000FF00u;
constexpr Uint32 kUploadBlueMask = 0x00FF0000u;
constexpr Uint32 kUploadAlphaMask = 0xFF000000u;
#else
constexpr Uint32 kUploadRedMask = 0xFF000000u;
constexpr Uint32 kUploadGreenMask = 0x00FF0000u;
constexpr Uint32 kUploadBlueMask = 0x0000FF00u;
constexpr Uint32 kUploadAlphaMask = 0x000000FFu;
#endif

// File name -> texture; a null texture records a picture that failed once and is never
// retried. With each texture stays the image that was uploaded (power-of-two, edges bled),
// so that a mode change, which may take the GL context with it, can upload it again without
// the file. Nothing is ever freed. The map itself is never destroyed either, so the records
// stay reachable to the very end (a leak checker run at exit would otherwise report every
// picture).
struct CCachedPicture
{
    CTexture* m_Texture = nullptr;
    SDL_Surface* m_Image = nullptr;
};
std::map<std::string, CCachedPicture>& PictureCache()
{
    static auto* s_Cache = new std::map<std::string, CCachedPicture>;
    return *s_Cache;
}

Uint32 Channel(Uint32 pixel, Uint32 mask, Uint8 shift)
{
    return (pixel & mask) >> shift;
}
} // namespace

int NextPowerOfTwo(int n)
{
    // Smear the highest set bit of n - 1 into every lower bit, then step over it.
    unsigned int v = static_cast<unsigned int>(n) - 1u;
    v |= v >> 16;
    v |= v >> 8;
    v |= v >> 4;
    v |= v >> 2;
    v |= v >> 1;
    return static_cast<int>(v + 1u);
}

CTextureLayout ComputeTextureLayout(int width, int height)
{
    CTextureLayout layout;
    layout.m_Width = NextPowerOfTwo(width);
    layout.m_Height = NextPowerOfTwo(height);
    layout.m_UMax = static_cast<float>(width) / static_cast<float>(layout.m_Width);
    layout.m_VMax = static_cast<float>(height) / static_cast<float>(layout.m_Height);
    return layout;
}

void BleedEdges(SDL_Surface* image, const SDL_Rect& pictureRect)
{
    if (!image || image->w < 2 || image->h < 2)
        return;
    if (SDL_LockSurface(image) < 0)
        return;

    const SDL_PixelFormat& f = *image->format;
    Uint32* pixels = static_cast<Uint32*>(image->pixels);
    const int stride = image->pitch / 4;
    const int imageWidth = image->w;
    const int imageHeight = image->h;

    // Colour pass: only transparent pixels change and they stay transparent, so reading
    // and writing the same image is safe whatever the visiting order.
    for (int y = 0; y < imageHeight; ++y)
    {
        for (int x = 0; x < imageWidth; ++x)
        {
            Uint32& candidate = pixels[y * stride + x];
            if (candidate & f.Amask)
                continue;
            const int x0 = x > 0 ? x - 1 : 0;
            const int x1 = x < imageWidth - 1 ? x + 1 : imageWidth - 1;
            const int y0 = y > 0 ? y - 1 : 0;
            const int y1 = y < imageHeight - 1 ? y + 1 : imageHeight - 1;
            Uint32 sumR = 0, sumG = 0, sumB = 0, count = 0;
            for (int ny = y0; ny <= y1; ++ny)
            {
                for (int nx = x0; nx <= x1; ++nx)
                {
                    const Uint32 p = pixels[ny * stride + nx];
                    if (!(p & f.Amask))
                        continue;
                    sumR += Channel(p, f.Rmask, f.Rshift);
                    sumG += Channel(p, f.Gmask, f.Gshift);
                    sumB += Channel(p, f.Bmask, f.Bshift);
                    ++count;
                }
            }
            if (count > 0)
                candidate = ((sumR / count) << f.Rshift) | ((sumG / count) << f.Gshift) |
                            ((sumB / count) << f.Bshift);
        }
    }

    // Border copy pass: sampling at uMax, vMax under linear filtering then meets a copy of
    // the picture's edge instead of the transparent margin. An empty rectangle (a blit that
    // wrote nothing) has no edge to copy; the rectangle is clipped to the image.
    const int w = pictureRect.w < imageWidth ? pictureRect.w : imageWidth;
    const int h = pictureRect.h < imageHeight ? pictureRect.h : imageHeight;
    if (w >= 1 && h >= 1)
    {
        if (w < imageWidth)
            for (int y = 0; y < h; ++y)
                pixels[y * stride + w] = pixels[y * stride + w - 1];
        if (h < imageHeight)
            for (int x = 0; x < w; ++x)
                pixels[h * stride + x] = pixels[(h - 1) * stride + x];
        if (w < imageWidth && h < imageHeight)
            pixels[h * stride + w] = pixels[(h - 1) * stride + w - 1];
    }

    SDL_UnlockSurface(image);
}

namespace
{
/// The power-of-two image of `surface` as GL_RGBA bytes, edges bled; writes uMin, vMin,
/// uMax, vMax. Null when it cannot be made.
SDL_Surface* MakeUploadImage(SDL_Surface* surface, float textureCoordinates[4])
{
    const CTextureLayout layout = ComputeTextureLayout(surface->w, surface->h);
    textureCoordinates[0] = 0.0f;
    textureCoordinates[1] = 0.0f;
    textureCoordinates[2] = layout.m_UMax;
    textureCoordinates[3] = layout.m_VMax;

    // Zero-filled: transparent black. With a GL window SDL makes a software surface
    // anyway, and its pixels are read directly for the upload.
    SDL_Surface* image =
        SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, layout.m_Width, layout.m_Height, 32,
                             kUploadRedMask, kUploadGreenMask, kUploadBlueMask, kUploadAlphaMask);
    if (!image)
        return nullptr;

    // With per-surface alpha on, the blit would blend the picture over the transparent
    // image instead of copying its own alpha channel.
    const Uint32 savedFlags = surface->flags & (SDL_SRCALPHA | SDL_RLEACCELOK);
#ifdef __EMSCRIPTEN__
    // The browser's SDL keeps per-surface alpha out of the format struct (it has no such
    // field), and pictures it loads carry their alpha in the pixels, never SDL_SRCALPHA.
    const Uint8 savedAlpha = SDL_ALPHA_OPAQUE;
#else
    const Uint8 savedAlpha = surface->format->alpha;
#endif
    if (savedFlags & SDL_SRCALPHA)
        SDL_SetAlpha(surface, 0, 0);

    SDL_Rect source = {0, 0, static_cast<Uint16>(surface->w), static_cast<Uint16>(surface->h)};
    SDL_Rect written = {0, 0, 0, 0};
    SDL_BlitSurface(surface, &source, image, &written);
    BleedEdges(image, written);

    if (savedFlags & SDL_SRCALPHA)
        SDL_SetAlpha(surface, savedFlags, savedAlpha);
    return image;
}

/// Uploads `image` under `textureName`, which need not exist in this GL context: binding a
/// name makes it, so a texture keeps its name over a context change.
void Upload(unsigned int textureName, SDL_Surface* image)
{
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image->w, image->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image->pixels);
}

/// The texture of the file; its uploaded image in `image` when asked for, else freed.
CTexture* LoadTexture(const std::string& fileName, SDL_Surface** image)
{
    SDL_Surface* surface = IMG_Load(fileName.c_str());
    if (!surface)
        return nullptr;
    float coordinates[4];
    SDL_Surface* uploaded = MakeUploadImage(surface, coordinates);
    CTexture* texture = nullptr;
    if (uploaded)
    {
        texture = new CTexture;
        glGenTextures(1, &texture->m_Name);
        Upload(texture->m_Name, uploaded);
        texture->m_Width = surface->w;
        texture->m_Height = surface->h;
        texture->m_UMin = coordinates[0];
        texture->m_VMin = coordinates[1];
        texture->m_UMax = coordinates[2];
        texture->m_VMax = coordinates[3];
    }
    SDL_FreeSurface(surface);
    if (image)
        *image = uploaded;
    else
        SDL_FreeSurface(uploaded);
    return texture;
}
} // namespace

bool MakeTexture(SDL_Surface* surface, unsigned int& textureName, float textureCoordinates[4])
{
    SDL_Surface* image = MakeUploadImage(surface, textureCoordinates);
    if (!image)
        return false;
    glGenTextures(1, &textureName);
    Upload(textureName, image);
    SDL_FreeSurface(image);
    return true;
}

CTexture* LoadTexture(const std::string& fileName)
{
    return LoadTexture(fileName, nullptr);
}

CTexture* GetTexture(const std::string& fileName)
{
    std::map<std::string, CCachedPicture>& cache = PictureCache();
    const auto found = cache.find(fileName);
    if (found != cache.end())
        return found->second.m_Texture;
    CCachedPicture picture;
    picture.m_Texture = LoadTexture(fileName, &picture.m_Image);
    if (!picture.m_Texture)
        tarn::LogPictureLoadFailure(fileName);
    cache.emplace(fileName, picture);
    return picture.m_Texture;
}

int ReloadTextures()
{
    int count = 0;
    for (const auto& [name, picture] : PictureCache())
    {
        if (!picture.m_Texture)
            continue;
        Upload(picture.m_Texture->m_Name, picture.m_Image);
        ++count;
    }
    return count;
}
