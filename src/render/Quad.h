#pragma once

struct CTexture;
struct CColor;
class ICamera;

/// The camera DrawQuad applies to quads drawn with the camera flag. The camera must stay
/// alive while it is set; null means untransformed.
void SetCamera(ICamera* camera);
ICamera* GetCamera();

/// A vertex of a quad as it is sent to GL.
struct CQuadVertex
{
    float x, y, u, v;
};

/// The four vertices of a quad, in strip order P0 (top-left), P1 (bottom-left), P2
/// (top-right), P3 (bottom-right), turned by `angle` radians about the centre (clockwise
/// on screen for a positive angle, as y grows downwards). Pure.
void QuadVertices(float x, float y, float w, float h, float angle, float uMax, float vMax,
                  CQuadVertex out[4]);
/// The vertices of `texture` over (x, y, w, h) turned by `angle`, placed first by `camera`
/// when it is not null: what DrawQuad sends to GL. Pure.
void PlacedQuadVertices(const CTexture& texture, float x, float y, float w, float h, float angle,
                        const ICamera* camera, CQuadVertex out[4]);

/// Draws `texture` stretched over (x, y, w, h) in the 1024 x 768 virtual screen, tinted
/// by `color` (alpha included) and alpha-blended, turned by `angle` about its centre;
/// first through the current camera when `useCamera` is set. A null texture draws
/// nothing. Immediate mode, one bind per quad, allocates nothing.
void DrawQuad(const CTexture* texture, float x, float y, float w, float h, const CColor* color,
              float angle, bool useCamera);
