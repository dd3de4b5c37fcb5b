#pragma once

#include <cstdint>
#include <functional>

#include "util/Rect.h"
#include "util/Vector2.h"

/// A target of the swept test: integer origin and size, and the value of the point (x, y)
/// relative to the origin, which hits when it has a bit of the mask.
struct CSweepTarget
{
    CPoint origin;
    int w = 0;
    int h = 0;
    /// Called only for points inside w x h. Keep captures small (a pointer or two): a
    /// larger capture would allocate on every shot and frame.
    std::function<uint32_t(int x, int y)> value;
    uint32_t mask = 0xFFFFFFFFu;
};

/// Samples the path from `from` to `to` at most one pixel apart, starting with `from`
/// itself and ending on `to`, and answers the first hit point relative to the target's
/// origin, or (-1, -1). Points are int(x), int(y), truncated toward zero.
CPoint SweptTest(const CVector2& from, const CVector2& to, const CSweepTarget& target);
