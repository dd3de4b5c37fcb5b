#include "wall/NoteWallImpl.h"

#include <algorithm>
#include <cassert>

#include "canvas/Surface.h"
#include "render/Quad.h"
#include "render/Texture.h"
#include "render/Video.h"
#include "util/Random.h"
#include "wall/Palette.h"

namespace
{
constexpr float kTwitchInterval = 0.23f; ///< Seconds.

const CColor kWhite(1.0f, 1.0f, 1.0f, 1.0f);

float OpacityOfRoll(int roll)
{
    return roll == 0 ? 0.0f : (roll == 1 ? 0.5f : 1.0f);
}
} // namespace

CNoteWallImpl::CNoteWallImpl(float screenWidth, float screenHeight, int columns, int rows)
    : CNoteWallImpl(screenWidth, screenHeight, columns, rows, CWallPictures::Load())
{
}

CNoteWallImpl::CNoteWallImpl(float screenWidth, float screenHeight, int columns, int rows,
                             CWallPictures pictures)
    : m_ScreenWidth(screenWidth), m_ScreenHeight(screenHeight),
      m_CellWidth(screenWidth / static_cast<float>(columns)),
      m_CellHeight(screenHeight / static_cast<float>(rows)), m_Columns(columns), m_Rows(rows),
      m_NoteMargin(kNoteMargin, kNoteMargin), m_Intensity(1.0f),
      m_NotePictures(std::move(pictures.m_Notes)), m_Background(pictures.m_Background),
      m_BlackHoles(std::move(pictures.m_BlackHoles)),
      m_BlackHoleOpacities(m_BlackHoles.size(), 0.0f), m_TwitchTimer(0.0f), m_Grid(columns, rows),
      m_Palette(MakePalette(NotePaletteColors())), m_Digits(std::move(pictures.m_Digits)),
      m_ScoreBackground(pictures.m_ScoreBackground)
{
    assert(columns > 0 && rows > 0 && "a note wall needs at least one cell");
    m_DrawOrder.reserve(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    SetCamera(&m_LiveCamera);
    m_RestCamera.CopyPose(m_LiveCamera);
}

CNoteWallImpl::~CNoteWallImpl()
{
    // A later quad must not reach a camera that is gone.
    if (GetCamera() == &m_LiveCamera)
        SetCamera(nullptr);
}

void CNoteWallImpl::Frame(const CSurface* canvas, float dt, int score)
{
    Tell(IWallFrameObserver::kFrameStart);
    AdvanceTwitchTimer(dt);
    ClearScreen();
    DrawWall(canvas);
    if (score >= 0)
        DrawScore(score);
    Tell(IWallFrameObserver::kDrawEnd);
    SwapScreen();
    Tell(IWallFrameObserver::kSwapEnd);
}

bool CNoteWallImpl::AdvanceTwitchTimer(float dt)
{
    m_TwitchTimer += dt;
    if (!(m_TwitchTimer > kTwitchInterval))
        return false;
    m_TwitchTimer = 0.0f;
    Twitch();
    return true;
}

void CNoteWallImpl::Twitch()
{
    // Always from the rest pose, so the random offsets never add up.
    m_LiveCamera.CopyPose(m_RestCamera);
    float angle = m_RestCamera.m_Angle;
    float zoom = m_RestCamera.m_Zoom.x;
    CVector2 position = m_RestCamera.m_Position;

    if (tarn::RandomFloat(0.0f, 1.0f) < 0.5f)
        angle += tarn::RandomFloat(-0.03f, 0.03f);
    zoom += tarn::RandomFloat(0.0f, 0.07f * zoom);
    const float u = tarn::RandomFloat(-1.0f, 1.0f);
    const float v = tarn::RandomFloat(-1.0f, 1.0f);
    const float reach = 12.0f / zoom; // Screen pixels on each axis.
    position.x += v * reach;
    position.y += u * reach;

    m_LiveCamera.SetAngle(angle);
    m_LiveCamera.m_Zoom = CVector2(zoom, zoom);
    m_LiveCamera.m_Position = position;

    for (float& opacity : m_BlackHoleOpacities)
        opacity = OpacityOfRoll(tarn::RandomInt(0, 2));
}

void CNoteWallImpl::DrawWall(const CSurface* canvas)
{
    EmitBackground(DrawingSink());
    Tell(IWallFrameObserver::kNotesStart);
    UpdateNotes(canvas);
    Tell(IWallFrameObserver::kNotesEnd);
    EmitNotesAndBlackHoles(DrawingSink());
}

void CNoteWallImpl::EmitBackground(IWallQuadSink& sink) const
{
    const CQuadRect screen{-kBackgroundOverhang, -kBackgroundOverhang,
                           m_ScreenWidth + 2.0f * kBackgroundOverhang,
                           m_ScreenHeight + 2.0f * kBackgroundOverhang};
    sink.Quad(CWallQuad{m_Background, screen, kWhite, 0.0f, true});
}

void CNoteWallImpl::EmitNotesAndBlackHoles(IWallQuadSink& sink) const
{
    for (const int cell : m_DrawOrder)
    {
        const CNote& n = m_Grid.At(cell % m_Columns, cell / m_Columns);
        sink.Quad(CWallQuad{n.m_Picture, n.m_Rect, n.m_Color, n.m_Angle, true});
    }
    for (std::size_t i = 0; i < m_BlackHoles.size(); ++i)
    {
        if (m_BlackHoleOpacities[i] == 0.0f)
            continue;
        sink.Quad(CWallQuad{m_BlackHoles[i], CQuadRect{0.0f, 0.0f, m_ScreenWidth, m_ScreenHeight},
                            CColor(1.0f, 1.0f, 1.0f, m_BlackHoleOpacities[i]), 0.0f, false});
    }
}

void CNoteWallImpl::UpdateNotes(const CSurface* canvas)
{
    m_DrawOrder.clear();
    if (!canvas)
        return;
    // From the last cell back to (0, 0): a note overlaps its right and lower neighbours,
    // which are already drawn. Canvas pixels beyond the grid have no note.
    const int rows = std::min(canvas->Height(), m_Rows);
    const int columns = std::min(canvas->Width(), m_Columns);
    for (int row = rows - 1; row >= 0; --row)
    {
        for (int column = columns - 1; column >= 0; --column)
        {
            const CColor mapped = MapToPalette(CColor::FromPixel(canvas->GetPixel(column, row)));
            if (UpdateNote(column, row, mapped))
                m_DrawOrder.push_back(row * m_Columns + column);
        }
    }
}

const CNote* CNoteWallImpl::UpdateNote(int column, int row, const CColor& c)
{
    if (!m_Grid.Contains(column, row))
        return nullptr;
    CNote& note = m_Grid.At(column, row);
    if (NoteColorMatches(note.m_Color, c))
        return &note;

    const CTexture* picture = RandomNotePicture();
    const CNoteGeometry g =
        PlaceNote(picture ? picture->m_Width : 0, picture ? picture->m_Height : 0, column, row,
                  CellSize(), m_NoteMargin, m_Intensity, tarn::RandomFloat);
    note.m_Picture = picture;
    note.m_Rect = g.m_Rect;
    note.m_Color = CColor(c.r, c.g, c.b, 1.0f);
    note.m_Angle = g.m_Angle;
    return &note;
}

const CTexture* CNoteWallImpl::RandomNotePicture()
{
    // The draw is made even when pictures are missing, so the random sequence is the
    // game's whatever files exist.
    const int i = tarn::RandomInt(0, kNotePictureCount - 1);
    return static_cast<std::size_t>(i) < m_NotePictures.size()
               ? m_NotePictures[static_cast<std::size_t>(i)]
               : nullptr;
}

CColor CNoteWallImpl::MapToPalette(const CColor& c) const
{
    return ::MapToPalette(m_Palette, c);
}
