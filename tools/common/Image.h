#pragma once

#include <string>
#include <vector>

namespace tools
{
/// A straight (not premultiplied) RGBA colour, channels nominally 0 ... 1.
struct SColor
{
    float r = 0, g = 0, b = 0, a = 0;
};

/// Colour from a packed 0xRRGGBB constant, opaque.
SColor FromRgb(unsigned rgb, float alpha = 1.0f);

/// A float RGBA picture for the generators, drawn in software and written as an 8-bit
/// PNG (with alpha) or JPEG (without).
class CImage
{
public:
    CImage(int width, int height, SColor fill = SColor());

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    SColor Get(int x, int y) const;
    void Set(int x, int y, SColor c);
    /// Lays `c` over the pixel with coverage `cover` (0 ... 1), straight-alpha "over".
    void Blend(int x, int y, SColor c, float cover = 1.0f);
    /// Bilinear sample at picture coordinates (pixel centres at +0.5), premultiplied
    /// while interpolating so transparent texels do not darken edges; outside is clear.
    SColor Sample(float x, float y) const;

    /// Draws `source` scaled into the quad at (x, y) of size (w, h), turned by `angle`
    /// radians about the quad's centre and multiplied by `tint`, as the game draws a
    /// textured quad. Used for mock-ups and the title picture.
    void DrawQuad(const CImage& source, float x, float y, float w, float h, float angle,
                  SColor tint);
    /// Separable box blur of every channel, `passes` times (three passes look Gaussian).
    void Blur(int radius, int passes);

    bool WritePng(const std::string& path) const;
    bool WriteJpg(const std::string& path, int quality) const;

private:
    std::vector<unsigned char> Bytes(int channels) const;

    int m_Width;
    int m_Height;
    std::vector<SColor> m_Pixels;
};
} // namespace tools
