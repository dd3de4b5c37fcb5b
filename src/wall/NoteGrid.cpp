#include "wall/NoteGrid.h"

#include <cassert>
#include <cmath>
#include <cstddef>

namespace
{
constexpr float kMatchTolerance = 1.0f / 512.0f;
} // namespace

CNoteGrid::CNoteGrid(int columns, int rows)
    : m_Columns(columns), m_Rows(rows), m_StorageCount((columns + 1) * (rows + 1)),
      m_Notes(static_cast<std::size_t>(m_StorageCount) + 1)
{
}

CNote& CNoteGrid::At(int column, int row)
{
    assert(Contains(column, row) && "note cell outside the grid");
    return m_Notes[static_cast<std::size_t>(row * m_Columns + column)];
}

const CNote& CNoteGrid::At(int column, int row) const
{
    assert(Contains(column, row) && "note cell outside the grid");
    return m_Notes[static_cast<std::size_t>(row * m_Columns + column)];
}

bool NoteColorMatches(const CColor& stored, const CColor& c)
{
    return std::fabs(stored.r - c.r) < kMatchTolerance &&
           std::fabs(stored.g - c.g) < kMatchTolerance &&
           std::fabs(stored.b - c.b) < kMatchTolerance &&
           std::fabs(stored.a - c.a) < kMatchTolerance;
}
