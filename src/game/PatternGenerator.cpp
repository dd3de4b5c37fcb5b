#include "game/PatternGenerator.h"

#include "util/MathUtil.h"
#include "util/Random.h"

namespace
{
constexpr int kHalfWidth = 6; ///< Column 0 is the outer edge, column 5 borders the centre.
constexpr int kHeight = 8;
constexpr int kFullWidth = 2 * kHalfWidth;

bool RandomBool()
{
    return tarn::RandomInt(0, 1) == 1;
}

/// Horizontal runs whose left end wanders by one column per row. Answers the cell count.
int DrawBody(CCellGrid& half)
{
    const int top = tarn::RandomInt(0, 2);
    int bottom = top + tarn::RandomInt(2, 6);
    if (bottom > kHeight)
        bottom = kHeight;
    int left = tarn::RandomInt(1, 6);
    int count = 0;
    for (int y = top; y < bottom; ++y)
    {
        if (left < kHalfWidth)
        {
            count += kHalfWidth - left;
            for (int x = left; x < kHalfWidth; ++x)
                half.At(x, y) = kCellBody;
        }
        left = tarn::ClampInt(left + tarn::RandomInt(-1, 1), 0, kHalfWidth);
    }
    return count;
}

/// One pair of limbs from (a, b): the first set toward `end0`, the second toward `end1`,
/// a gun on each end point. Both paths share the seed, so they take the same shape.
void DrawLimbPair(CCellGrid& half, int a, int b, int x0, int y0, int x1, int y1, int seed)
{
    half.DrawPath(a, b, x0, y0, kCellLimbA, seed);
    half.DrawPath(a, b, x1, y1, kCellLimbB, seed);
    half.SetBits(x0, y0, kCellGun);
    half.SetBits(x1, y1, kCellGun);
}

void DrawUpperLimbs(CCellGrid& half)
{
    const int a = tarn::RandomInt(2, 6);
    const int b = tarn::RandomInt(1, 3);
    const int d = tarn::RandomInt(0, 3);
    const int seed = tarn::RandomInt(0, 1024);
    // a = 6 reads past the row end, i.e. cell (0, b + 1): At does not check the column.
    if (half.At(a, b) & kCellBody)
        DrawLimbPair(half, a, b, a - d, 0, a + d, 0, seed);
}

void DrawSideLimbs(CCellGrid& half)
{
    const int a = tarn::RandomInt(3, 6);
    const int b = tarn::RandomInt(2, 5);
    const int d = tarn::RandomInt(2, 4);
    const int seed = tarn::RandomInt(0, 1024);
    // Pure body only: a cell already carrying an upper limb does not start side limbs.
    if (half.At(a, b) == kCellBody)
        DrawLimbPair(half, a, b, 0, b + d, 0, b - d, seed);
}

void DrawLowerLimbs(CCellGrid& half)
{
    const int a = tarn::RandomInt(2, 6);
    int b = tarn::RandomInt(3, 5);
    const int d = tarn::RandomInt(0, 3);
    const int seed = tarn::RandomInt(0, 1024);
    if (half.At(a, b) != kCellBody)
    {
        while (b > 0 && !(half.At(a, b) & kCellBody))
            --b;
    }
    if (half.At(a, b) & kCellBody)
        DrawLimbPair(half, a, b, a - d, kHeight - 1, a + d, kHeight - 1, seed);
}

void DrawCore(CCellGrid& half)
{
    const int x = tarn::RandomInt(2, 4);
    const int y = tarn::RandomInt(1, 3);
    bool any = false;
    for (int row = y; row <= y + 1; ++row)
    {
        for (int column = x; column <= x + 1; ++column)
        {
            if (RandomBool())
            {
                half.At(column, row) = kCellCore;
                any = true;
            }
        }
    }
    if (!any)
        half.At(x, y) = kCellCore;
}

void DrawRing(CCellGrid& half, int bodyCount)
{
    // All booleans are drawn, none skipped by short-circuiting: the draw count is fixed.
    const bool first = RandomBool();
    const bool second = RandomBool();
    bool diagonal = first && second;
    if (bodyCount < 20)
    {
        const bool third = RandomBool();
        const bool fourth = RandomBool();
        diagonal = third || fourth;
    }
    for (int y = 0; y < kHeight; ++y)
    {
        for (int x = 0; x < kHalfWidth; ++x)
        {
            // The ring bit makes a cell differ from a pure core, so marking as we go cannot
            // spread the ring further.
            if (half.At(x, y) != kCellCore && half.Touches(x, y, kCellCore, diagonal))
                half.At(x, y) |= kCellRing;
        }
    }
}

CCellGrid Mirror(const CCellGrid& half)
{
    CCellGrid full(kFullWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
    {
        for (int x = 0; x < kHalfWidth; ++x)
        {
            full.At(x, y) = half.At(x, y);
            full.At(kFullWidth - 1 - x, y) = half.At(x, y);
        }
    }
    return full;
}

/// At least two cells of the first limb set alone, and something besides core and ring
/// (an empty cell counts).
bool Acceptable(const CCellGrid& full)
{
    int pureLimbs = 0;
    bool other = false;
    for (int y = 0; y < full.Height(); ++y)
    {
        for (int x = 0; x < full.Width(); ++x)
        {
            const int32_t v = full.At(x, y);
            if (v == kCellLimbA)
                ++pureLimbs;
            if (v != kCellCore && v != kCellRing)
                other = true;
        }
    }
    return pureLimbs >= 2 && other;
}
} // namespace

CCellGrid GeneratePattern()
{
    for (;;)
    {
        CCellGrid half(kHalfWidth, kHeight);
        const int bodyCount = DrawBody(half);
        DrawUpperLimbs(half);
        DrawSideLimbs(half);
        DrawLowerLimbs(half);
        DrawCore(half);
        DrawRing(half, bodyCount);
        CCellGrid full = Mirror(half);
        if (Acceptable(full))
            return full;
    }
}
