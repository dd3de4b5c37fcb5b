#include "common/Image.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace tools
{
SColor FromRgb(unsigned rgb, float alpha)
{
    return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, alpha};
}

CImage::CImage(int width, int height, SColor fill)
    : m_Width(width), m_Height(height), m_Pixels(size_t(width) * size_t(height), fill)
{
    assert(width > 0 && height > 0);
}

SColor CImage::Get(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_Width || y >= m_Height)
        return SColor();
    return m_Pixels[size_t(y) * m_Width + x];
}

void CImage::Set(int x, int y, SColor c)
{
    if (x < 0 || y < 0 || x >= m_Width || y >= m_Height)
        return;
    m_Pixels[size_t(y) * m_Width + x] = c;
}

void CImage::Blend(int x, int y, SColor c, float cover)
{
    if (x < 0 || y < 0 || x >= m_Width || y >= m_Height)
        return;
    SColor& d = m_Pixels[size_t(y) * m_Width + x];
    const float sa = std::clamp(c.a * cover, 0.0f, 1.0f);
    const float oa = sa + d.a * (1.0f - sa);
    if (oa <= 0.0f)
    {
        d = SColor();
        return;
    }
    // Straight-alpha "over": weight the colours by their share of the result's alpha.
    d.r = (c.r * sa + d.r * d.a * (1.0f - sa)) / oa;
    d.g = (c.g * sa + d.g * d.a * (1.0f - sa)) / oa;
    d.b = (c.b * sa + d.b * d.a * (1.0f - sa)) / oa;
    d.a = oa;
}

SColor CImage::Sample(float x, float y) const
{
    const float fx = x - 0.5f;
    const float fy = y - 0.5f;
    const int x0 = int(std::floor(fx));
    const int y0 = int(std::floor(fy));
    const float tx = fx - float(x0);
    const float ty = fy - float(y0);
    float r = 0, g = 0, b = 0, a = 0;
    const float weights[4] = {(1 - tx) * (1 - ty), tx * (1 - ty), (1 - tx) * ty, tx * ty};
    for (int i = 0; i < 4; ++i)
    {
        // Clamp to the edge, as the game's textures do.
        const int sx = std::clamp(x0 + (i & 1), 0, m_Width - 1);
        const int sy = std::clamp(y0 + (i >> 1), 0, m_Height - 1);
        const SColor c = m_Pixels[size_t(sy) * m_Width + sx];
        r += c.r * c.a * weights[i];
        g += c.g * c.a * weights[i];
        b += c.b * c.a * weights[i];
        a += c.a * weights[i];
    }
    if (a <= 0.0f)
        return SColor();
    return {r / a, g / a, b / a, a};
}

void CImage::DrawQuad(const CImage& source, float x, float y, float w, float h, float angle,
                      SColor tint)
{
    const float cx = x + w * 0.5f;
    const float cy = y + h * 0.5f;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float reach = 0.5f * (std::fabs(w * c) + std::fabs(h * s)) + 2.0f;
    const float reachY = 0.5f * (std::fabs(w * s) + std::fabs(h * c)) + 2.0f;
    const int xa = std::max(0, int(std::floor(cx - reach)));
    const int xb = std::min(m_Width - 1, int(std::ceil(cx + reach)));
    const int ya = std::max(0, int(std::floor(cy - reachY)));
    const int yb = std::min(m_Height - 1, int(std::ceil(cy + reachY)));
    for (int py = ya; py <= yb; ++py)
        for (int px = xa; px <= xb; ++px)
        {
            // Turn the pixel centre back into the unrotated quad, then into the picture.
            const float dx = px + 0.5f - cx;
            const float dy = py + 0.5f - cy;
            const float ux = dx * c + dy * s + w * 0.5f;
            const float uy = -dx * s + dy * c + h * 0.5f;
            if (ux < 0 || uy < 0 || ux >= w || uy >= h)
                continue;
            SColor t = source.Sample(ux / w * source.Width(), uy / h * source.Height());
            t.r *= tint.r;
            t.g *= tint.g;
            t.b *= tint.b;
            t.a *= tint.a;
            Blend(px, py, t);
        }
}

void CImage::Blur(int radius, int passes)
{
    // Blur premultiplied values so clear pixels lend no colour.
    std::vector<SColor> work(m_Pixels.size());
    for (size_t i = 0; i < m_Pixels.size(); ++i)
    {
        const SColor p = m_Pixels[i];
        work[i] = {p.r * p.a, p.g * p.a, p.b * p.a, p.a};
    }
    std::vector<SColor> line;
    auto blurLine = [&](int count, auto at)
    {
        line.assign(size_t(count), SColor());
        for (int i = 0; i < count; ++i)
        {
            SColor sum;
            for (int k = -radius; k <= radius; ++k)
            {
                const int j = i + k;
                if (j < 0 || j >= count)
                    continue;
                const SColor v = at(j);
                sum.r += v.r;
                sum.g += v.g;
                sum.b += v.b;
                sum.a += v.a;
            }
            const float n = float(2 * radius + 1);
            line[size_t(i)] = {sum.r / n, sum.g / n, sum.b / n, sum.a / n};
        }
        for (int i = 0; i < count; ++i)
            at(i) = line[size_t(i)];
    };
    for (int pass = 0; pass < passes; ++pass)
    {
        for (int y = 0; y < m_Height; ++y)
            blurLine(m_Width, [&](int i) -> SColor& { return work[size_t(y) * m_Width + i]; });
        for (int x = 0; x < m_Width; ++x)
            blurLine(m_Height, [&](int i) -> SColor& { return work[size_t(i) * m_Width + x]; });
    }
    for (size_t i = 0; i < m_Pixels.size(); ++i)
    {
        const SColor p = work[i];
        m_Pixels[i] = p.a > 0.0f ? SColor{p.r / p.a, p.g / p.a, p.b / p.a, p.a} : SColor();
    }
}

std::vector<unsigned char> CImage::Bytes(int channels) const
{
    std::vector<unsigned char> bytes;
    bytes.reserve(m_Pixels.size() * size_t(channels));
    auto toByte = [](float v)
    { return (unsigned char)std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f); };
    for (const SColor& p : m_Pixels)
    {
        const bool clear = channels == 4 && toByte(p.a) == 0;
        // Fully clear pixels store 0 in every channel: the game's hit test against a
        // sprite counts any non-zero pixel word as solid, whatever its alpha.
        bytes.push_back(clear ? 0 : toByte(p.r));
        bytes.push_back(clear ? 0 : toByte(p.g));
        bytes.push_back(clear ? 0 : toByte(p.b));
        if (channels == 4)
            bytes.push_back(toByte(p.a));
    }
    return bytes;
}

bool CImage::WritePng(const std::string& path) const
{
    const std::vector<unsigned char> bytes = Bytes(4);
    return stbi_write_png(path.c_str(), m_Width, m_Height, 4, bytes.data(), m_Width * 4) != 0;
}

bool CImage::WriteJpg(const std::string& path, int quality) const
{
    const std::vector<unsigned char> bytes = Bytes(3);
    return stbi_write_jpg(path.c_str(), m_Width, m_Height, 3, bytes.data(), quality) != 0;
}
} // namespace tools
