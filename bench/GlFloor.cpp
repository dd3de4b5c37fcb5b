#include "GlFloor.h"

#include <GL/gl.h>
#include <SDL.h>

#include "render/Texture.h"
#include "wall/CameraTransformer.h"
#include "wall/NoteWallImpl.h"

namespace glfloor
{
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
    /// Records each quad as DrawQuad would send it, through the wall's live camera.
    class CRecorder : public IWallQuadSink
    {
    public:
        CRecorder(const CNoteWallImpl& wall, std::vector<CRawQuad>& quads)
            : m_Camera(&wall.LiveCamera()), m_Quads(quads)
        {
        }
        void Quad(const CWallQuad& q) override
        {
            AddQuad(m_Quads, q.m_Picture, q.m_Rect.x, q.m_Rect.y, q.m_Rect.width, q.m_Rect.height,
                    q.m_Color, q.m_Angle, q.m_UseCamera ? m_Camera : nullptr);
        }

    private:
        const ICamera* m_Camera;
        std::vector<CRawQuad>& m_Quads;
    };

    quads.clear();
    CRecorder recorder(wall, quads);
    wall.EmitBackground(recorder);
    wall.EmitNotesAndBlackHoles(recorder);
    if (score >= 0)
        wall.EmitScore(score, recorder);
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
