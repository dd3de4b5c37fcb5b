#include "actors/Sweep.h"

namespace
{
bool TestPoint(const CVector2& p, const CSweepTarget& target, CPoint& hit)
{
    // int() truncates toward zero: -0.8 tests column 0, not -1.
    const int x = static_cast<int>(p.x) - target.origin.x;
    const int y = static_cast<int>(p.y) - target.origin.y;
    if (x < 0 || y < 0 || x >= target.w || y >= target.h)
        return false;
    if ((target.value(x, y) & target.mask) == 0)
        return false;
    hit = CPoint{x, y};
    return true;
}
} // namespace

CPoint SweptTest(const CVector2& from, const CVector2& to, const CSweepTarget& target)
{
    const CVector2 d = to - from;
    float n = d.Length();
    const CVector2 u = d.Normalised();

    CPoint hit{-1, -1};
    CVector2 p = from;
    if (TestPoint(p, target, hit))
        return hit;
    while (n > 0.0f)
    {
        // Whole pixels first; the last, partial step lands on the end point.
        if (n > 1.0f)
            p += u;
        else
            p += u * n;
        if (TestPoint(p, target, hit))
            return hit;
        n -= 1.0f;
    }
    return CPoint{-1, -1};
}
