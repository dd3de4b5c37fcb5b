#pragma once

#include <vector>

#include "canvas/Color.h"
#include "util/Rect.h"

struct CTexture;

/// One paper note as it was stuck: it is drawn exactly so until its cell's colour changes.
struct CNote
{
    const CTexture* m_Picture = nullptr; ///< One of the note pictures, not owned; null when blank.
    CQuadRect m_Rect;                    ///< Where the quad lies, screen pixels, before the camera.
    CColor m_Color = CColor(0.0f, 0.0f, 0.0f, -1.0f); ///< Alpha is 1 in every stuck note.
    float m_Angle = 0.0f;                             ///< Tilt about the quad's centre, radians.
};
// A default CNote is the blank note: its alpha of -1 matches no canvas colour, so every
// cell gets a real note in the first frame.

/// The notes of a columns x rows wall, row-major, addressed column first.
class CNoteGrid
{
public:
    CNoteGrid(int columns, int rows);

    int Columns() const { return m_Columns; }
    int Rows() const { return m_Rows; }
    bool Contains(int column, int row) const
    {
        return column >= 0 && row >= 0 && column < m_Columns && row < m_Rows;
    }
    /// Requires Contains(column, row).
    CNote& At(int column, int row);
    const CNote& At(int column, int row) const;

private:
    int m_Columns;
    int m_Rows;
    int m_StorageCount; ///< (columns + 1) x (rows + 1); only columns x rows notes are used.
    std::vector<CNote> m_Notes;
};

/// Whether a stored note still shows colour `c`: every channel, alpha included, differs by
/// strictly less than 1/512.
bool NoteColorMatches(const CColor& stored, const CColor& c);
