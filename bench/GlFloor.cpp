#include "GlFloor.h"

#include <GL/gl.h>
#include <SDL.h>

#include <array>
#include <string>

#include "canvas/CanvasSize.h"
#include "render/Texture.h"
#include "render/Video.h"
#include "wall/CameraTransformer.h"
#include "wall/NoteWallImpl.h"
#include "wall/WallLayout.h"

namespace glfloor
{
namespace
{
std::string Path(const std::string& name)
{
    return kPictureFolder + name;
}
} // namespace

void AddQuad(std::vector<CRawQuad>& quads, const CTexture* t, float x, float y, float w, float h,
             const CColor& color, float angle, const ICamera* camera)
{
    if (!t)
        return;
    CRawQuad q;
    q.m_Texture = t->m_Name;
    q.m_Color = color;
    PlacedQuadVertices(*t, x, y, w, h, angle, camera, q.m_Vertices);
    quads.push_back(q);
}

void CaptureFrame(const CNoteWallImpl& wall, int score, std::vector<CRawQuad>& quads)
{
    // The texture cache is looked up once: the names are the wall's own pictures.
    struct CPictures
    {
        const CTexture* m_Background = GetTexture(Path(kWallBackgroundPicture));
        std::array<const CTexture*, kBlackHoleCount> m_BlackHoles{};
        const CTexture* m_ScoreBackground = GetTexture(Path(kScoreBackgroundPicture));
        std::array<const CTexture*, kDigitPictureCount> m_Digits{};
        CPictures()
        {
            for (int i = 0; i < kBlackHoleCount; ++i)
                m_BlackHoles[static_cast<size_t>(i)] = GetTexture(Path(BlackHolePictureName(i)));
            for (int k = 0; k < kDigitPictureCount; ++k)
                m_Digits[static_cast<size_t>(k)] = GetTexture(Path(DigitPictureName(k)));
        }
    };
    static const CPictures s_Pictures;

    const float w = static_cast<float>(kVirtualScreenWidth);
    const float h = static_cast<float>(kVirtualScreenHeight);
    quads.clear();
    const ICamera* camera = &wall.LiveCamera();
    const CColor white(1, 1, 1, 1);
    AddQuad(quads, s_Pictures.m_Background, -kBackgroundOverhang, -kBackgroundOverhang,
            w + 2 * kBackgroundOverhang, h + 2 * kBackgroundOverhang, white, 0, camera);
    for (const int cell : wall.DrawOrder())
    {
        const CNote& n = wall.Note(cell % kCanvasWidth, cell / kCanvasWidth);
        AddQuad(quads, n.m_Picture, n.m_X, n.m_Y, n.m_Width, n.m_Height, n.m_Color, n.m_Angle,
                camera);
    }
    for (int i = 0; i < kBlackHoleCount; ++i)
        if (wall.BlackHoleOpacity(i) != 0.0f)
            AddQuad(quads, s_Pictures.m_BlackHoles[static_cast<size_t>(i)], 0, 0, w, h,
                    CColor(1, 1, 1, wall.BlackHoleOpacity(i)), 0, nullptr);
    if (score < 0)
        return;
    const CTexture* bg = s_Pictures.m_ScoreBackground;
    if (bg)
        AddQuad(quads, bg, kScoreBackgroundX, kScoreBackgroundY, static_cast<float>(bg->m_Width),
                static_cast<float>(bg->m_Height), white, 0, nullptr);
    std::array<int, kDigitPictureCount> widths{};
    for (int k = 0; k < kDigitPictureCount; ++k)
    {
        const CTexture* d = s_Pictures.m_Digits[static_cast<size_t>(k)];
        widths[static_cast<size_t>(k)] = d ? d->m_Width : 0;
    }
    const CNumberLayout layout =
        LayoutNumber(CVector2(kScoreNumberX, kScoreNumberY), score, widths);
    for (int i = 0; i < layout.m_Count; ++i)
    {
        const CPlacedDigit& d = layout.m_Digits[static_cast<size_t>(i)];
        const CTexture* t = s_Pictures.m_Digits[static_cast<size_t>(d.m_Digit)];
        if (t)
            AddQuad(quads, t, d.m_X, d.m_Y, static_cast<float>(t->m_Width),
                    static_cast<float>(t->m_Height), CColor(0, 0, 0, 1), 0, nullptr);
    }
}

void DrawClearAndQuads(const std::vector<CRawQuad>& quads)
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (const CRawQuad& q : quads)
    {
        glBindTexture(GL_TEXTURE_2D, q.m_Texture);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(q.m_Color.r, q.m_Color.g, q.m_Color.b, q.m_Color.a);
        glBegin(GL_TRIANGLE_STRIP);
        for (const CQuadVertex& v : q.m_Vertices)
        {
            glTexCoord2f(v.u, v.v);
            glVertex2f(v.x, v.y);
        }
        glEnd();
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
    }
}

void Swap()
{
    SDL_GL_SwapBuffers();
}
} // namespace glfloor
