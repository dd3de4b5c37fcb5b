#pragma once

// Note placement, pure arithmetic: shared by the note wall and by the picture generators in
// tools/, which draw the wall the same way for the title picture and the icon.

#include "util/Rect.h"
#include "util/Vector2.h"

/// Note picture pixels around the cell that a note picture's margin covers: a picture p
/// pixels wide is drawn cell + 2 * (cell / p * kNoteMargin) screen pixels wide.
constexpr float kNoteMargin = 24.0f;

/// Where a newly stuck note goes: quad in screen pixels before the camera, tilt in radians.
struct CNoteGeometry
{
    CQuadRect m_Rect;
    float m_Angle = 0.0f;
};

/// Geometry of a new note for cell (column, row) of size `cell`, with a picture of
/// pictureWidth x pictureHeight pixels whose `margin` (picture pixels) reaches past the
/// cell. `randomFloat(a, b)` is called four times, in the game's order: the jitter size,
/// the x jitter, the y jitter and the tilt. A picture without a size
/// (missing) gets no margin instead of a division by zero; its note draws nothing anyway.
template <class RandomFloatFn>
CNoteGeometry PlaceNote(int pictureWidth, int pictureHeight, int column, int row,
                        const CVector2& cell, const CVector2& margin, float intensity,
                        RandomFloatFn&& randomFloat)
{
    const float mx = pictureWidth > 0 ? cell.x / static_cast<float>(pictureWidth) * margin.x : 0.0f;
    const float my =
        pictureHeight > 0 ? cell.y / static_cast<float>(pictureHeight) * margin.y : 0.0f;
    CNoteGeometry g;
    g.m_Rect.x = static_cast<float>(column) * cell.x - mx;
    g.m_Rect.y = static_cast<float>(row) * cell.y - my;
    const float jitter = randomFloat(0.0f, intensity * 0.075f) * cell.x;
    g.m_Rect.x += randomFloat(-jitter, jitter);
    g.m_Rect.y += randomFloat(-jitter, jitter);
    g.m_Angle = randomFloat(-0.02f * intensity, 0.02f * intensity);
    g.m_Rect.width = cell.x + 2.0f * mx;
    g.m_Rect.height = cell.y + 2.0f * my;
    return g;
}
