#include "canvas/BlendMode.h"

#include <algorithm>

#include "canvas/Surface.h"
#include "util/MathUtil.h"
#include "util/Rect.h"

namespace
{
/// Alpha blending: a source alpha of exactly 0 leaves the destination as it was (its
/// alpha included); otherwise the colours mix by the source alpha and the alphas add up.
class CBlendNormal final : public IBlendMode
{
public:
    CColor& Blend(CColor& out, const CColor& src, const CColor& dst) const override
    {
        if (src.a == 0.0f)
        {
            out = dst;
            return out;
        }
        const float s = src.a;
        const float t = 1.0f - s;
        out = CColor(s * src.r + t * dst.r, s * src.g + t * dst.g, s * src.b + t * dst.b,
                     tarn::Clamp(s + dst.a, 0.0f, 1.0f));
        return out;
    }
};

/// Screen blending: each colour weighted by its own alpha, 1 - (1 - s)(1 - d); opaque.
class CBlendScreen final : public IBlendMode
{
public:
    CColor& Blend(CColor& out, const CColor& src, const CColor& dst) const override
    {
        out = CColor(1.0f - (1.0f - src.a * src.r) * (1.0f - dst.a * dst.r),
                     1.0f - (1.0f - src.a * src.g) * (1.0f - dst.a * dst.g),
                     1.0f - (1.0f - src.a * src.b) * (1.0f - dst.a * dst.b), 1.0f);
        return out;
    }
};

/// Blends the source rows [srcY, srcY + h) x [srcX, srcX + w) onto the destination at
/// (dstX, dstY), row by row, reading each destination pixel just before writing it (so a
/// surface blitted onto itself behaves as the pixel-by-pixel definition says). The caller
/// has already clipped the ranges to both surfaces.
void BlendRect(const CSurface& src, int srcX, int srcY, CSurface& dst, int dstX, int dstY, int w,
               int h, const IBlendMode& mode, const CColor& color)
{
    CColor out;
    for (int k = 0; k < h; ++k)
    {
        const uint32_t* from = src.Row(srcY + k) + srcX;
        uint32_t* to = dst.Row(dstY + k) + dstX;
        for (int i = 0; i < w; ++i)
        {
            const CColor s = CColor::FromPixel(from[i]) * color;
            const CColor d = CColor::FromPixel(to[i]);
            to[i] = mode.Blend(out, s, d).ToPixel();
        }
    }
}

/// The source span [first, first + count) narrowed to the points that lie in [0, srcSize) and
/// whose destination, point + offset, lies in [0, dstSize). Returns false when none do.
/// 64-bit arithmetic: rectangle corners near INT_MAX must not overflow.
bool ClipSpan(long long first, long long count, long long offset, int srcSize, int dstSize,
              int& clippedFirst, int& clippedCount)
{
    const long long lo = std::max({first, 0LL, -offset});
    const long long hi =
        std::min({first + count, static_cast<long long>(srcSize), dstSize - offset});
    if (hi <= lo)
        return false;
    clippedFirst = static_cast<int>(lo);
    clippedCount = static_cast<int>(hi - lo);
    return true;
}
} // namespace

const IBlendMode* GetBlendMode(int kind)
{
    // Function-local statics: made on first request, gone at process exit.
    static const CBlendNormal normal;
    static const CBlendScreen screen;
    switch (kind)
    {
    case kBlendNormal:
        return &normal;
    case kBlendScreen:
        return &screen;
    default:
        return nullptr;
    }
}

void Blit(const CSurface* src, const CRect* srcRect, CSurface* dst, const CRect* dstRect,
          const IBlendMode* mode, const CColor& color)
{
    if (!src || !dst)
        return;
    if (!mode)
        mode = GetBlendMode(kBlendNormal);

    if (!srcRect && !dstRect)
    {
        const int w = src->Width() < dst->Width() ? src->Width() : dst->Width();
        const int h = src->Height() < dst->Height() ? src->Height() : dst->Height();
        BlendRect(*src, 0, 0, *dst, 0, 0, w, h, *mode, color);
        return;
    }

    const CRect whole = {0, 0, src->Width(), src->Height()};
    const CRect& from = srcRect ? *srcRect : whole;
    const int originX = dstRect ? dstRect->x : 0;
    const int originY = dstRect ? dstRect->y : 0;

    // Skipping every point outside either surface one by one is the same as blending the
    // one rectangle where the source rectangle, the source and the shifted destination meet.
    const long long offsetX = static_cast<long long>(originX) - from.x;
    const long long offsetY = static_cast<long long>(originY) - from.y;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    if (!ClipSpan(from.x, from.w, offsetX, src->Width(), dst->Width(), x, w) ||
        !ClipSpan(from.y, from.h, offsetY, src->Height(), dst->Height(), y, h))
        return;
    BlendRect(*src, x, y, *dst, static_cast<int>(x + offsetX), static_cast<int>(y + offsetY), w, h,
              *mode, color);
}
