#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "util/Rect.h"

struct SDL_Surface;

/// Owner of one SDL pixel surface holding 4-byte pixels in the canvas packing (see
/// CColor). A null surface acts as an empty 0 x 0 picture whose pixels read as 0.
/// Pixels are read and written directly, without locking: these are software surfaces.
class CSurface
{
public:
    /// Takes ownership of `surface` (may be null). The caller guarantees 4-byte pixels;
    /// CreateSurface and LoadSurface do.
    explicit CSurface(SDL_Surface* surface = nullptr);
    ~CSurface();
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;

    int Width() const;
    int Height() const;
    /// Row length in bytes; 0 for a null surface.
    int Pitch() const;
    SDL_Surface* Sdl() const { return m_Surface; }

    /// 0 <= x < width and 0 <= y < height; false for a null surface.
    bool Contains(int x, int y) const;
    /// The packed pixel at (x, y); 0 outside the surface.
    uint32_t GetPixel(int x, int y) const;
    /// Writes the packed pixel; does nothing outside the surface.
    void SetPixel(int x, int y, uint32_t value);
    /// The pixels of row y, for loops that have clipped their range already: pixel x of the
    /// row is what GetPixel(x, y) reads. Asserts 0 <= y < height.
    uint32_t* Row(int y);
    const uint32_t* Row(int y) const;

private:
    SDL_Surface* m_Surface;
};

/// Whether the pixel of `surface` placed with its top-left at `origin` under `point` has
/// any bit of `mask` set. False outside the surface.
bool TestPixel(CPoint point, CPoint origin, const CSurface& surface, uint32_t mask);

/// A new surface of the given size, every pixel 0 (black, alpha 0), 4 bytes per pixel in
/// the canvas packing whatever the desktop's depth.
std::unique_ptr<CSurface> CreateSurface(int width, int height);
/// The picture in the file, converted to the canvas packing (paletted, grey and RGB files
/// included). A file that cannot be read gives an empty surface and is reported, once per
/// file (LogPictureLoadFailure).
std::unique_ptr<CSurface> LoadSurface(const std::string& fileName);
/// Converts any SDL surface to a new one in the canvas packing; null gives null. Pixels
/// of a colour key become 0. The source is left alone.
SDL_Surface* ConvertToCanvasFormat(SDL_Surface* source);
