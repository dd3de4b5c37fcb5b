#pragma once

// The floor of a wall frame: the same GL calls the game makes for a frame's quads (one
// bind per quad, the same states, immediate mode) and nothing else. Shared by the wall
// frame benchmark and the frame harness.

#include <vector>

#include "canvas/Color.h"
#include "render/Quad.h"

class CNoteWallImpl;
struct CTexture;
class ICamera;

namespace glfloor
{
/// One quad exactly as DrawQuad sends it.
struct CRawQuad
{
    unsigned int m_Texture;
    CColor m_Color;
    CQuadVertex m_Vertices[4];
};

/// Appends the quad DrawQuad would send for these arguments (nothing for a null texture).
void AddQuad(std::vector<CRawQuad>& quads, const CTexture* t, float x, float y, float w, float h,
             const CColor& color, float angle, const ICamera* camera);

/// Replaces `quads` by those of the wall's last frame, as the wall itself lists them:
/// background, notes, black holes, score background, digits of `score` (none when
/// negative). Allocates only while `quads` grows.
void CaptureFrame(const CNoteWallImpl& wall, int score, std::vector<CRawQuad>& quads);

/// Clear, the quads, swap: what the wall's frame costs GL, without the wall.
void DrawClearAndQuads(const std::vector<CRawQuad>& quads);
void Swap();
} // namespace glfloor
