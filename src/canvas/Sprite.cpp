#include "canvas/Sprite.h"

#include <SDL.h>

#include "canvas/BlendMode.h"

namespace
{
/// Made on first use, so sprites made by other static objects still find it. Its entries
/// are dropped at exit; the sprites still in it are not destroyed then.
std::list<CSprite*>& Sprites()
{
    static std::list<CSprite*> sprites;
    return sprites;
}

// list::sort merges nodes in place: stable (equal depths keep their order of creation)
// and free of allocations, so it may run every frame.
void SortByDepth()
{
    Sprites().sort([](const CSprite* a, const CSprite* b) { return a->m_Depth < b->m_Depth; });
}

/// int(v) toward zero, saturated so that a position far off the canvas (which draws nothing
/// anyway) cannot make the float-to-int conversion undefined.
int TruncateToInt(float v)
{
    constexpr float kLimit = 1073741824.0f; // 2^30
    if (!(v > -kLimit))
        return -static_cast<int>(kLimit);
    if (v > kLimit)
        return static_cast<int>(kLimit);
    return static_cast<int>(v);
}
} // namespace

CSprite::CSprite() : m_LastDrawTime(SDL_GetTicks()) {}

CSprite::~CSprite() = default;

void CSprite::SetImage(std::unique_ptr<CSurface> image)
{
    m_Image = std::move(image);
    if (!m_Image)
        return;
    m_W = m_Image->Width();
    m_H = m_Image->Height();
    m_Source = CRect{0, 0, m_W, m_H};
}

void CSprite::Draw(CSurface* canvas, const CRect* view)
{
    // Strict on every side: a sprite that only touches the view's edge is not drawn.
    const bool visible = view->x - m_W < m_X && m_X < view->x + view->w && view->y - m_H < m_Y &&
                         m_Y < view->y + view->h;
    if (!visible)
        return;
    m_LastDrawTime = SDL_GetTicks();
    const CRect destination = {m_X - view->x, m_Y - view->y, m_Source.w, m_Source.h};
    Blit(m_Image.get(), &m_Source, canvas, &destination, GetBlendMode(m_BlendKind), m_Color);
}

CSprite* CreateSprite(const std::string& fileName)
{
    CSprite* sprite = new CSprite();
    sprite->SetImage(LoadSurface(fileName));
    Sprites().push_back(sprite);
    SortByDepth();
    return sprite;
}

void RemoveSprite(CSprite* sprite)
{
    if (!sprite)
        return;
    std::list<CSprite*>& sprites = Sprites();
    for (auto it = sprites.begin(); it != sprites.end(); ++it)
    {
        if (*it == sprite)
        {
            delete sprite;
            sprites.erase(it);
            return;
        }
    }
}

void DrawSprites(CSurface* canvas, const CRect* view)
{
    SortByDepth();
    for (CSprite* sprite : Sprites())
    {
        if (!sprite->m_SkipB && !sprite->m_SkipA)
            sprite->Draw(canvas, view);
    }
}

const std::list<CSprite*>& SpriteList()
{
    return Sprites();
}

int CentredCorner(float centre, int size)
{
    return TruncateToInt(centre + 0.5f) - TruncateToInt(static_cast<float>(size) * 0.5f + 0.5f);
}

void PlaceCentred(CSprite& sprite, float x, float y)
{
    sprite.m_X = CentredCorner(x, sprite.m_W);
    sprite.m_Y = CentredCorner(y, sprite.m_H);
}
