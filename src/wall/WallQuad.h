#pragma once

// The wall emits its frame as quad records rather than drawing them itself, so the same
// frame can be drawn (DrawingSink) or recorded without GL (the benchmarks' floor, tests).

#include "canvas/Color.h"
#include "util/Rect.h"

struct CTexture;

/// One quad of a wall frame: the arguments DrawQuad takes.
struct CWallQuad
{
    const CTexture* m_Picture = nullptr; ///< Null for a missing picture: nothing is drawn.
    CQuadRect m_Rect;                    ///< Screen pixels, before the camera when it is used.
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
