#pragma once

#include "canvas/Color.h"

class CSurface;
struct CRect;

/// How a source colour is combined with a destination colour, pixel by pixel.
class IBlendMode
{
public:
    virtual ~IBlendMode() = default;
    /// Writes the blend of `src` over `dst` into `out` and returns `out`.
    virtual CColor& Blend(CColor& out, const CColor& src, const CColor& dst) const = 0;
};

/// The blend kinds GetBlendMode knows; a sprite keeps its kind in m_BlendKind.
enum EBlendKind : int
{
    kBlendNormal = 1, ///< alpha blend
    kBlendScreen = 2, ///< screen blend
};

/// kBlendNormal: the shared normal blend; kBlendScreen: the shared screen blend; any other
/// number null. The instances live until the process exits.
const IBlendMode* GetBlendMode(int kind);

/// Blends `src` onto `dst` pixel by pixel through `mode` (null: normal), the source
/// modulated channel by channel by `color`.
/// With both rectangles null the top-left min(widths) x min(heights) pixels are blended
/// in place. Otherwise `srcRect` (null: the whole source) is drawn with its top-left at
/// (dstRect->x, dstRect->y) (null: (0, 0)); dstRect's size is ignored. Points outside
/// either surface are skipped one by one, which is the whole of the clipping.
void Blit(const CSurface* src, const CRect* srcRect, CSurface* dst, const CRect* dstRect,
          const IBlendMode* mode, const CColor& color);
