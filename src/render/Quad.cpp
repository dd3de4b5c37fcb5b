#include "render/Quad.h"

#include <GL/gl.h>
#include <cmath>

#include "canvas/Color.h"
#include "render/Camera.h"
#include "render/Texture.h"

namespace
{
// Not owned; whoever sets it keeps it alive while it is set.
ICamera* g_Camera = nullptr;
// Overwritten by every DrawQuad: drawing allocates nothing and is not re-entrant.
CQuadVertex g_Scratch[4];
} // namespace

void SetCamera(ICamera* camera)
{
    g_Camera = camera;
}

ICamera* GetCamera()
{
    return g_Camera;
}

void QuadVertices(float x, float y, float w, float h, float angle, float uMax, float vMax,
                  CQuadVertex out[4])
{
    const float right = x + w;
    const float bottom = y + h;
    out[0] = {x, y, 0.0f, 0.0f};
    out[1] = {x, bottom, 0.0f, vMax};
    out[2] = {right, y, uMax, 0.0f};
    out[3] = {right, bottom, uMax, vMax};
    if (angle == 0.0f)
        return;

    // Turn about the centre. With y downwards a positive angle turns clockwise as seen.
    const float mx = x + (right - x) * 0.5f;
    const float my = y + (bottom - y) * 0.5f;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    for (int i = 0; i < 4; ++i)
    {
        const float dx = out[i].x - mx;
        const float dy = out[i].y - my;
        out[i].x = mx + (c * dx - s * dy);
        out[i].y = my + (c * dy + s * dx);
    }
}

void PlacedQuadVertices(const CTexture& texture, float x, float y, float w, float h, float angle,
                        const ICamera* camera, CQuadVertex out[4])
{
    if (camera)
    {
        // The visible flag is not consulted: every placed quad is drawn.
        const CPlacedQuad placed = camera->Transform(CQuadRect{x, y, w, h}, angle);
        x = placed.rect.x;
        y = placed.rect.y;
        w = placed.rect.width;
        h = placed.rect.height;
        angle = placed.angle;
    }
    QuadVertices(x, y, w, h, angle, texture.m_UMax, texture.m_VMax, out);
}

void DrawQuad(const CTexture* texture, float x, float y, float w, float h, const CColor* color,
              float angle, bool useCamera)
{
    if (!texture)
        return;
    PlacedQuadVertices(*texture, x, y, w, h, angle, useCamera ? g_Camera : nullptr, g_Scratch);

    glBindTexture(GL_TEXTURE_2D, texture->m_Name);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(color->r, color->g, color->b, color->a);
    glBegin(GL_TRIANGLE_STRIP);
    for (const CQuadVertex& v : g_Scratch)
    {
        glTexCoord2f(v.u, v.v);
        glVertex2f(v.x, v.y);
    }
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}
