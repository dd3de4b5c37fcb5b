#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "canvas/BlendMode.h"
#include "canvas/Color.h"
#include "canvas/Surface.h"
#include "util/Rect.h"

/// A picture placed at an integer position on the canvas. Sprites made by CreateSprite
/// are registered in the process-wide sprite list, which draws them every frame in depth
/// order; their owners move them through m_X, m_Y and tint them through m_Color, and end
/// them with RemoveSprite.
class CSprite
{
public:
    CSprite();
    virtual ~CSprite();
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;

    /// Draws the sprite onto `canvas` if it overlaps `view` (the part of the world the
    /// canvas shows), and stamps the draw time.
    virtual void Draw(CSurface* canvas, const CRect* view);

    /// Takes ownership of `image`; size and source rectangle follow the image. A null image
    /// is stored and leaves size and source rectangle as they were.
    void SetImage(std::unique_ptr<CSurface> image);
    /// The same with a picture other sprites may show too: a sprite never writes its image.
    void SetSharedImage(std::shared_ptr<const CSurface> image);
    const CSurface* Image() const { return m_Image.get(); }

    /// Either flag set: DrawSprites leaves the sprite out (nothing else looks at them).
    bool m_Hidden = false;   ///< Hidden by its owner.
    bool m_Disabled = false; ///< Switched off as a whole.
    int m_X = 0;             ///< Top-left corner on the canvas, canvas pixels.
    int m_Y = 0;
    int m_W = 0; ///< Size on the canvas, from the image.
    int m_H = 0;
    CRect m_Source;                        ///< Part of the image that is drawn.
    CColor m_Color = CColor(1, 1, 1, 1);   ///< Modulation colour passed to Blit.
    uint32_t m_LastDrawTime = 0;           ///< SDL_GetTicks() at the last visible draw.
    EBlendKind m_BlendKind = kBlendNormal; ///< Passed to GetBlendMode.
    int m_Depth = 100;                     ///< Smaller depths are drawn first.

private:
    std::shared_ptr<const CSurface> m_Image;
};

/// Makes a sprite from a picture file (a missing file gives an invisible 0 x 0 sprite) and
/// registers it after every sprite of its depth or less: as if appended to the list and
/// the list stably sorted by depth, given that a sprite's depth is set, if at all, right
/// after its creation. (A depth changed later is applied by the next DrawSprites.) A
/// picture is decoded once and shared by every sprite made from it, until the file
/// changes (another file, size or modification time).
CSprite* CreateSprite(const std::string& fileName);
/// Unregisters and destroys `sprite`, found by its address alone (no search of the list).
/// Null, or a sprite not in the list, does nothing.
void RemoveSprite(CSprite* sprite);
/// Draws every registered sprite without a skip flag, by depth (stable: equal depths in
/// creation order). The gameplay calls it once per frame with the view of the whole canvas.
void DrawSprites(CSurface* canvas, const CRect* view);
/// The process-wide sprite list (not owning; RemoveSprite destroys).
const std::list<CSprite*>& SpriteList();

/// The top-left coordinate that centres a sprite of size `size` on the float position
/// `centre`: int(centre + 0.5) - int(size * 0.5 + 0.5), int truncating toward zero.
int CentredCorner(float centre, int size);
/// The same without rounding the centre: int(centre) - int(size * 0.5 + 0.5). Particles
/// place their sprites this way.
int TruncatedCentredCorner(float centre, int size);
/// Places the sprite's centre on (x, y) by CentredCorner on each axis.
void PlaceCentred(CSprite& sprite, float x, float y);
