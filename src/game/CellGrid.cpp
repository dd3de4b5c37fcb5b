#include "game/CellGrid.h"

#include <array>
#include <cassert>
#include <cstddef>
#include <utility>

#include "util/MathUtil.h"
#include "util/Random.h"
#include "util/Vector2.h"

CCellGrid::CCellGrid(int width, int height)
    : m_Width(width), m_Height(height),
      m_Cells(static_cast<std::size_t>((width + 1) * (height + 1) + 1), 0)
{
    assert(width >= 0 && height >= 0 && "a grid cannot have a negative size");
}

int32_t& CCellGrid::At(int x, int y)
{
    const int index = x + y * m_Width;
    assert(index >= 0 && index < static_cast<int>(m_Cells.size()) && "cell outside the storage");
    return m_Cells[static_cast<std::size_t>(index)];
}

int32_t CCellGrid::At(int x, int y) const
{
    const int index = x + y * m_Width;
    assert(index >= 0 && index < static_cast<int>(m_Cells.size()) && "cell outside the storage");
    return m_Cells[static_cast<std::size_t>(index)];
}

int32_t CCellGrid::AtClamped(int x, int y) const
{
    // The bounds are width and height themselves, not width - 1: the spare storage past the
    // last cell stays 0 and answers these reads.
    return At(tarn::ClampInt(x, 0, m_Width), tarn::ClampInt(y, 0, m_Height));
}

void CCellGrid::SetBits(int x, int y, int32_t bits)
{
    if (InRange(x, y))
        At(x, y) |= bits;
}

bool CCellGrid::Touches(int x, int y, int32_t value, bool diagonal) const
{
    const int xr = x + 1 < m_Width - 1 ? x + 1 : m_Width - 1;
    const int xl = x - 1 > 0 ? x - 1 : 0;
    const int yd = y + 1 < m_Height - 1 ? y + 1 : m_Height - 1;
    const int yu = y - 1 > 0 ? y - 1 : 0;
    if (At(x, y) == value || At(xr, y) == value || At(xl, y) == value || At(x, yd) == value ||
        At(x, yu) == value)
        return true;
    if (!diagonal)
        return false;
    return At(xr, yd) == value || At(xr, yu) == value || At(xl, yd) == value || At(xl, yu) == value;
}

void CCellGrid::DrawPath(int x0, int y0, int x1, int y1, int32_t bits, int seed)
{
    if (Coin(seed))
    {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    if (Coin(seed + 1))
        DrawLine(x0, y0, x1, y1, bits);
    else
        DrawElbow(x0, y0, x1, y1, bits, seed + 2);
}

void CCellGrid::DrawElbow(int x0, int y0, int x1, int y1, int32_t bits, int s)
{
    const bool inclusive = Coin(s);
    const bool xFirst = Coin(s + 1);
    int x = x0;
    int y = y0;
    // One unit step of `coordinate` toward `target`, marking the cell before the step
    // (inclusive) or after it.
    auto walk = [&](int& coordinate, int target)
    {
        while (coordinate != target)
        {
            if (inclusive)
                SetBits(x, y, bits);
            coordinate += coordinate < target ? 1 : -1;
            if (!inclusive)
                SetBits(x, y, bits);
        }
    };
    if (xFirst)
    {
        walk(x, x1);
        walk(y, y1);
    }
    else
    {
        walk(y, y1);
        walk(x, x1);
    }
}

void CCellGrid::DrawLine(int x0, int y0, int x1, int y1, int32_t bits)
{
    CVector2 p(static_cast<float>(x0), static_cast<float>(y0));
    const CVector2 e(static_cast<float>(x1), static_cast<float>(y1));
    auto distanceSquared = [&]()
    {
        const CVector2 r = p - e;
        return r.x * r.x + r.y * r.y;
    };
    // Coinciding (or adjacent) ends mark nothing; leaving early also keeps the direction
    // below from dividing zero by zero.
    if (!(distanceSquared() > 1.0f))
        return;
    const CVector2 d = e - p;
    const float longer = tarn::Max(tarn::Abs(d.x), tarn::Abs(d.y));
    const CVector2 dir(d.x / longer, d.y / longer);
    while (distanceSquared() > 1.0f)
    {
        // int() truncates toward zero: -0.5 marks column 0, not -1.
        SetBits(static_cast<int>(p.x), static_cast<int>(p.y), bits);
        p += dir;
    }
}

bool Coin(int k)
{
    assert(k >= 0 && "coin index must not be negative");
    // Built at the first toss of the run, from the float generator, and shared by all levels.
    static const std::array<float, 256> s_Table = []()
    {
        std::array<float, 256> table{};
        for (float& entry : table)
            entry = tarn::RandomFloat(0.0f, 1.0f);
        return table;
    }();
    return s_Table[static_cast<std::size_t>(k % 256)] > 0.5f;
}
