#pragma once

// The note wall's private side: only the wall's own sources and its tests include this.
// Contents: the note and its grid, the pure layout arithmetic of the score, the pictures
// the wall draws, and CNoteWallImpl itself. Where a note goes is in wall/NotePlacement.h.

#include <array>
#include <cstddef>
#include <vector>

#include "canvas/Color.h"
#include "util/Vector2.h"
#include "wall/CameraTransformer.h"
#include "wall/NotePlacement.h"
#include "wall/WallFrameObserver.h"
#include "wall/WallLayout.h"

struct CTexture;
class CSurface;

/// One paper note as it was stuck: it is drawn exactly so until its cell's colour changes.
struct CNote
{
    const CTexture* m_Picture = nullptr; ///< One of the note pictures, not owned; null when blank.
    float m_X = 0.0f; ///< Top-left corner of the quad, screen pixels, before the camera.
    float m_Y = 0.0f;
    float m_Width = 0.0f;
    float m_Height = 0.0f;
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

/// Longest decimal text of an int: "-2147483648".
constexpr int kMaxNumberLength = 11;

/// One digit picture of a number and its top-left corner, screen pixels.
struct CPlacedDigit
{
    int m_Digit = 0;
    float m_X = 0.0f;
    float m_Y = 0.0f;
};

struct CNumberLayout
{
    std::array<CPlacedDigit, kMaxNumberLength> m_Digits;
    int m_Count = 0;
};

/// The digits of `value` in decimal, left to right from `start`, each advancing the next by
/// its own picture width (0 for a missing picture). Characters that are not digits (a
/// minus sign) are skipped. Pure.
CNumberLayout LayoutNumber(const CVector2& start, int value,
                           const std::array<int, kDigitPictureCount>& digitWidths);

/// Every picture the wall draws; null entries are missing pictures and draw nothing.
struct CWallPictures
{
    const CTexture* m_Background = nullptr;
    std::vector<const CTexture*> m_Notes;      ///< kNotePictureCount note pictures.
    std::vector<const CTexture*> m_BlackHoles; ///< kBlackHoleCount full-screen overlays.
    const CTexture* m_ScoreBackground = nullptr;
    std::vector<const CTexture*> m_Digits; ///< Digit pictures 0 ... 9.

    /// Through the picture cache, in the game's order: background, notes, black holes,
    /// score background, digits. Needs InitVideo when the files exist.
    static CWallPictures Load();
};

/// One quad of a wall frame: the arguments DrawQuad takes.
struct CWallQuad
{
    const CTexture* m_Picture = nullptr; ///< Null for a missing picture: nothing is drawn.
    float m_X = 0.0f;                    ///< Top-left corner and size, screen pixels.
    float m_Y = 0.0f;
    float m_Width = 0.0f;
    float m_Height = 0.0f;
    CColor m_Color;
    float m_Angle = 0.0f; ///< Radians, about the quad's centre.
    bool m_UseCamera = false;
};

/// Takes the quads of a wall frame in drawing order: the wall's own sink draws each with
/// DrawQuad at once; the benchmarks' floor records them.
class IWallQuadSink
{
public:
    virtual ~IWallQuadSink() = default;
    virtual void Quad(const CWallQuad& quad) = 0;
};

/// The sink that draws every quad with DrawQuad.
IWallQuadSink& DrawingSink();

/// The wall's state and drawing: the note grid, both cameras, the black holes and the score.
class CNoteWallImpl
{
public:
    /// Loads the game's pictures and registers the live camera with SetCamera.
    CNoteWallImpl(float screenWidth, float screenHeight, int columns, int rows);
    /// The same with pictures given instead of loaded (tests, benchmarks).
    CNoteWallImpl(float screenWidth, float screenHeight, int columns, int rows,
                  CWallPictures pictures);
    /// Withdraws the live camera if it is still the current one.
    ~CNoteWallImpl();
    CNoteWallImpl(const CNoteWallImpl&) = delete;
    CNoteWallImpl& operator=(const CNoteWallImpl&) = delete;

    void SetIntensity(float intensity) { m_Intensity = intensity; }
    /// Frames from now on tell `observer` their moments; null (the default) tells no one.
    /// Not owned.
    void SetFrameObserver(IWallFrameObserver* observer) { m_Observer = observer; }
    /// Twitch timer, clear, wall, score (when >= 0), swap.
    void Frame(const CSurface* canvas, float dt, int score);
    /// Adds dt to the twitch timer; past 0.23 s it restarts at 0 (the excess is dropped)
    /// and the wall twitches. True when it twitched. No GL.
    bool AdvanceTwitchTimer(float dt);
    /// Re-poses the live camera at random about the rest pose and re-rolls the black holes.
    void Twitch();
    /// Background, notes, black holes, in that order.
    void DrawWall(const CSurface* canvas);
    /// The bookkeeping of DrawWall without drawing: maps every canvas pixel, renews the
    /// notes whose colour changed and lists the cells to draw, in drawing order. No GL.
    void UpdateNotes(const CSurface* canvas);
    /// The note to draw for the cell: the stored one while `c` matches it, else a new one
    /// (stored). Null outside the grid.
    const CNote* UpdateNote(int column, int row, const CColor& c);
    /// One of the note pictures, chosen by RandomInt(0, 2); may be null (missing file).
    const CTexture* RandomNotePicture();
    CColor MapToPalette(const CColor& c) const;
    void DrawScore(int score);
    void DrawNumber(const CVector2& start, int value, const CColor& tint);

    // The quads of a frame, without GL: what DrawWall (the first two) and DrawScore draw.
    /// The background, reaching kBackgroundOverhang past the screen's edges; camera on.
    void EmitBackground(IWallQuadSink& sink) const;
    /// The notes of DrawOrder() (camera on), then the black holes shown (camera off).
    void EmitNotesAndBlackHoles(IWallQuadSink& sink) const;
    /// The score background at its own size, then the digits of `score`; camera off.
    void EmitScore(int score, IWallQuadSink& sink) const;
    /// The digits of `value` from `start` (DrawNumber); a missing digit picture gives no quad.
    void EmitNumber(const CVector2& start, int value, const CColor& tint,
                    IWallQuadSink& sink) const;

    // Read access for tests and benchmarks.
    const CNote& Note(int column, int row) const { return m_Grid.At(column, row); }
    float TwitchTimer() const { return m_TwitchTimer; }
    float Intensity() const { return m_Intensity; }
    const CCameraTransformer& LiveCamera() const { return m_LiveCamera; }
    float BlackHoleOpacity(int i) const
    {
        return m_BlackHoleOpacities[static_cast<std::size_t>(i)];
    }
    /// Cells (row x columns + column) listed by the last UpdateNotes, in drawing order.
    const std::vector<int>& DrawOrder() const { return m_DrawOrder; }
    CVector2 CellSize() const { return CVector2(m_CellWidth, m_CellHeight); }

private:
    void Tell(IWallFrameObserver::EMoment moment) const
    {
        if (m_Observer)
            m_Observer->OnFrameMoment(moment, *this);
    }

    float m_ScreenWidth;
    float m_ScreenHeight;
    float m_CellWidth;  ///< Screen width / columns.
    float m_CellHeight; ///< Screen height / rows.
    int m_Columns;
    int m_Rows;
    CVector2 m_NoteMargin; ///< Picture pixels of a note picture around its cell: 24, 24.
    float m_Intensity;     ///< Scales the jitter and tilt of new notes.
    std::vector<const CTexture*> m_NotePictures;
    const CTexture* m_Background;
    std::vector<const CTexture*> m_BlackHoles;
    std::vector<float> m_BlackHoleOpacities; ///< 0, 0.5 or 1 each; 0 skips the overlay.
    CCameraTransformer m_LiveCamera;         ///< Registered with SetCamera.
    CCameraTransformer m_RestCamera;         ///< The live camera's pose after construction.
    float m_TwitchTimer;                     ///< Seconds since the last twitch.
    CNoteGrid m_Grid;
    std::vector<CColor> m_Palette;
    std::vector<const CTexture*> m_Digits;
    const CTexture* m_ScoreBackground;
    std::vector<int> m_DrawOrder; ///< Reserved for every cell once: frames allocate nothing.
    IWallFrameObserver* m_Observer = nullptr;
};
