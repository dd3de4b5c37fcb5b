#pragma once

// The note wall's private side: only the wall's own sources, its tests and the benchmarks
// include this. Its helper types each have their own header: the note and its grid
// (NoteGrid.h), where a note goes (NotePlacement.h), the score's digit layout
// (NumberLayout.h), the pictures (WallPictures.h) and the quads a frame emits (WallQuad.h).

#include <cstddef>
#include <vector>

#include "canvas/Color.h"
#include "util/Vector2.h"
#include "wall/CameraTransformer.h"
#include "wall/NoteGrid.h"
#include "wall/NotePlacement.h"
#include "wall/NumberLayout.h"
#include "wall/WallFrameObserver.h"
#include "wall/WallLayout.h"
#include "wall/WallPictures.h"
#include "wall/WallQuad.h"

struct CTexture;
class CSurface;

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
