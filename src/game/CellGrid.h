#pragma once

#include <cstdint>
#include <vector>

/// Grid of int32 cell bit sets, row-major: cell (x, y) is element x + y * width. Storage
/// holds (width + 1) * (height + 1) + 1 cells so clamped reads past the edge stay inside.
class CCellGrid
{
public:
    CCellGrid(int width = 0, int height = 0);

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }

    /// Element x + y * width. x is not checked against the width: At(width, y) is
    /// cell (0, y + 1). The total index must lie inside the storage.
    int32_t& At(int x, int y);
    int32_t At(int x, int y) const;
    /// x clamped into [0, width] and y into [0, height] first.
    int32_t AtClamped(int x, int y) const;
    bool InRange(int x, int y) const { return x >= 0 && y >= 0 && x < m_Width && y < m_Height; }

    /// cell |= bits when InRange, else nothing.
    void SetBits(int x, int y, int32_t bits);
    /// Whether (x, y) or a clamped 4-neighbour (8 with `diagonal`) equals `value` exactly.
    bool Touches(int x, int y, int32_t value, bool diagonal) const;
    /// A limb between two points: line or elbow, ends swapped or not, decided by the coin
    /// table at `seed`.
    void DrawPath(int x0, int y0, int x1, int y1, int32_t bits, int seed);
    /// Unit steps along x then y (or y then x); marks the start and not the end when
    /// inclusive, the end and not the start otherwise. Both chosen by the coin table at `s`.
    void DrawElbow(int x0, int y0, int x1, int y1, int32_t bits, int s);
    /// Float walk with the longer axis stepping by 1; cells within distance 1 of the end are
    /// not marked, and a line whose ends coincide marks nothing.
    void DrawLine(int x0, int y0, int x1, int y1, int32_t bits);

private:
    int m_Width;
    int m_Height;
    std::vector<int32_t> m_Cells;
};

/// Entry (k mod 256) of the process-wide coin table is above 0.5. k >= 0.
bool Coin(int k);
