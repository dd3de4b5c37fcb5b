#include "wall/WallQuad.h"

#include "render/Quad.h"

namespace
{
class CDrawingSink : public IWallQuadSink
{
public:
    void Quad(const CWallQuad& q) override
    {
        DrawQuad(q.m_Picture, q.m_Rect.x, q.m_Rect.y, q.m_Rect.width, q.m_Rect.height, &q.m_Color,
                 q.m_Angle, q.m_UseCamera);
    }
};
} // namespace

IWallQuadSink& DrawingSink()
{
    static CDrawingSink s_Sink;
    return s_Sink;
}
