// The score in the top-right corner: a background picture with the number over it, drawn
// without the camera so it stays still while the wall twitches.

#include "render/Texture.h"
#include "wall/NoteWallImpl.h"
#include "wall/WallLayout.h"

namespace
{
const CVector2 kNumberStart(kScoreNumberX, kScoreNumberY);
const CColor kScoreBackgroundTint(1.0f, 1.0f, 1.0f, 1.0f);
const CColor kDigitTint(0.0f, 0.0f, 0.0f, 1.0f);
} // namespace

void CNoteWallImpl::DrawScore(int score)
{
    EmitScore(score, DrawingSink());
}

void CNoteWallImpl::DrawNumber(const CVector2& start, int value, const CColor& tint)
{
    EmitNumber(start, value, tint, DrawingSink());
}

void CNoteWallImpl::EmitScore(int score, IWallQuadSink& sink) const
{
    // A missing background draws nothing and has no size to read.
    const CTexture* bg = m_ScoreBackground;
    const CQuadRect rect{kScoreBackgroundX, kScoreBackgroundY,
                         bg ? static_cast<float>(bg->m_Width) : 0.0f,
                         bg ? static_cast<float>(bg->m_Height) : 0.0f};
    sink.Quad(CWallQuad{bg, rect, kScoreBackgroundTint, 0.0f, false});
    EmitNumber(kNumberStart, score, kDigitTint, sink);
}

void CNoteWallImpl::EmitNumber(const CVector2& start, int value, const CColor& tint,
                               IWallQuadSink& sink) const
{
    // A missing digit picture is skipped and takes no room.
    std::array<const CTexture*, kDigitPictureCount> pictures{};
    std::array<int, kDigitPictureCount> widths{};
    for (std::size_t k = 0; k < pictures.size() && k < m_Digits.size(); ++k)
    {
        pictures[k] = m_Digits[k];
        widths[k] = pictures[k] ? pictures[k]->m_Width : 0;
    }
    const CNumberLayout layout = LayoutNumber(start, value, widths);
    for (int i = 0; i < layout.m_Count; ++i)
    {
        const CPlacedDigit& d = layout.m_Digits[static_cast<std::size_t>(i)];
        const CTexture* picture = pictures[static_cast<std::size_t>(d.m_Digit)];
        if (!picture)
            continue;
        const CQuadRect rect{d.m_X, d.m_Y, static_cast<float>(picture->m_Width),
                             static_cast<float>(picture->m_Height)};
        sink.Quad(CWallQuad{picture, rect, tint, 0.0f, false});
    }
}
