#pragma once

class CSurface;
struct CVector2;

/// Pulls every canvas pixel half way toward the dark blue fade colour (0, 21/255, 175/255, 1);
/// alpha 0 or at least 0.9 counts as opaque first.
void FadeCanvas(CSurface* canvas);
/// FadeCanvas, then the star layer shifted by `scroll` (canvas pixels, wrapped by the
/// layer's size): two tiles side by side, and the two below them unless the wrapped y is
/// 0. At most 2 x 2 tiles, so a layer smaller than the canvas can leave gaps. An empty
/// star layer leaves just the fade.
void DrawBackground(CSurface* canvas, const CSurface* starLayer, const CVector2* scroll);
