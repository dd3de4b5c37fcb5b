#pragma once

#include <string>
#include <vector>

#include "canvas/CanvasSize.h"
#include "common/Image.h"
#include "render/Video.h"
#include "wall/WallLayout.h"

namespace tools
{
/// Side of a note picture. The wall draws a note of a picture p pixels wide as a quad of
/// 32 + 2 * (32 / p * 24) screen pixels: 56 for 64, close to 1:1, which suits textures
/// drawn without mipmaps. The paper itself spans kNotePaper picture pixels, about 38.5
/// on screen, so a note overlaps each neighbour by about 3 pixels and the random offset
/// of up to 2.4 pixels opens no gaps; shadow and curl live in the margin around it.
constexpr int kNoteSize = 64;
constexpr float kNotePaper = 44.0f;

/// The three paper notes, white to light grey, with alpha.
std::vector<CImage> MakeNotes();
/// The dark wall behind the notes, opaque.
CImage MakeWallBackground();
/// Black-hole overlay `index` (0 ... 4): a soft dark void, clear elsewhere.
CImage MakeBlackHole(int index);

/// A full-window picture laid over the notes at some opacity.
struct SOverlay
{
    const CImage* picture;
    float opacity;
};

/// One canvas-sized world drawn the way the game shows it: background, then one tinted
/// note per cell (random picture, offset and tilt), then optional overlays. `cells` holds
/// kCanvasWidth x kCanvasHeight packed 0xRRGGBB colours; `seed` drives the note choice.
CImage RenderWall(const std::vector<unsigned>& cells, const std::vector<CImage>& notes,
                  const CImage& background, const std::vector<SOverlay>& overlays,
                  unsigned long long seed);

/// Canvas sprites and layers (pixels are canvas pixels).
CImage MakeStars();
CImage MakeYouDied();
CImage MakePlayer();
CImage MakeBullet(int kind);
CImage MakeParticle(int kind);

/// The score label and the ten digits (white, shape in alpha only).
CImage MakeScoreLabel();
CImage MakeDigit(int digit);
/// Where the label's writing area starts, relative to its top-left corner.
constexpr int kScoreTextX = int(kScoreNumberX - kScoreBackgroundX);
constexpr int kScoreTextY = int(kScoreNumberY - kScoreBackgroundY);

CImage MakeTitle(const std::vector<CImage>& notes, const CImage& background,
                 const std::vector<CImage>& blackHoles);
/// The desktop icon, `size` pixels square (installed, not read by the game).
CImage MakeIcon(const std::vector<CImage>& notes, const CImage& background, int size);
} // namespace tools
