#include "canvas/Background.h"

#include <cassert>
#include <cmath>

#include "canvas/BlendMode.h"
#include "canvas/Color.h"
#include "canvas/Surface.h"
#include "util/Rect.h"
#include "util/Vector2.h"

namespace
{
// The fractions are rounded to float once, as stored values.
constexpr float kFadeGreen = 21.0f / 255.0f;
constexpr float kFadeBlue = 175.0f / 255.0f;
/// An alpha at or above this (a byte of 230 or more) fades as if fully opaque.
constexpr float kOpaqueAlpha = 0.9f;

/// The first tile's corner on one axis: -size < corner <= 0. The scroll's integer part
/// (toward zero) modulo size, remainder signed like the scroll, moved into that range.
/// fmod is exact, so for every scroll an int can hold this equals int(scroll) % size; it
/// also keeps huge or non-finite scrolls away from an undefined float-to-int conversion.
int TileCorner(float scroll, int size)
{
    const float r = std::fmod(std::trunc(scroll), static_cast<float>(size));
    int corner = std::isfinite(r) ? static_cast<int>(r) : 0;
    if (corner > 0)
        corner -= size;
    return corner;
}
} // namespace

void FadeCanvas(CSurface* canvas)
{
    if (!canvas)
        return;
    const CColor halfFade = CColor(0.0f, kFadeGreen, kFadeBlue, 1.0f) * 0.5f;
    for (int y = 0; y < canvas->Height(); ++y)
    {
        uint32_t* row = canvas->Row(y);
        for (int x = 0; x < canvas->Width(); ++x)
        {
            CColor c = CColor::FromPixel(row[x]);
            if (c.a == 0.0f || c.a >= kOpaqueAlpha)
                c.a = 1.0f;
            row[x] = (c * 0.5f + halfFade).ToPixel();
        }
    }
}

void DrawBackground(CSurface* canvas, const CSurface* starLayer, const CVector2* scroll)
{
    assert(scroll && "DrawBackground needs the gameplay's scroll offset");
    FadeCanvas(canvas);
    // A star picture that failed to load has no size to tile by: the fade alone remains.
    if (!starLayer || starLayer->Width() <= 0 || starLayer->Height() <= 0)
        return;
    const int w = starLayer->Width();
    const int h = starLayer->Height();
    const int x0 = TileCorner(scroll->x, w);
    const int y0 = TileCorner(scroll->y, h);

    const CColor white(1.0f, 1.0f, 1.0f, 1.0f);
    const IBlendMode* normal = GetBlendMode(kBlendNormal);
    const CRect tiles[4] = {
        {x0, y0, 0, 0}, {x0 + w, y0, 0, 0}, {x0, y0 + h, 0, 0}, {x0 + w, y0 + h, 0, 0}};
    const int count = y0 != 0 ? 4 : 2;
    for (int i = 0; i < count; ++i)
        Blit(starLayer, nullptr, canvas, &tiles[i], normal, white);
}
