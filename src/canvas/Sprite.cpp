#include "canvas/Sprite.h"

#include <SDL.h>
#include <sys/stat.h>

#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "canvas/BlendMode.h"

namespace
{
/// The sprite list and where each sprite sits in it. List iterators stay valid through
/// insertions, erasures and list::sort, so the index never needs rebuilding.
struct CSpriteRegistry
{
    std::list<CSprite*> m_List;
    std::unordered_map<const CSprite*, std::list<CSprite*>::iterator> m_Where;
};

/// Made on first use, so sprites made by other static objects still find it. Its entries
/// are dropped at exit; the sprites still in it are not destroyed then.
CSpriteRegistry& Registry()
{
    static CSpriteRegistry registry;
    return registry;
}

std::list<CSprite*>& Sprites()
{
    return Registry().m_List;
}

bool DepthBefore(const CSprite* a, const CSprite* b)
{
    return a->m_Depth < b->m_Depth;
}

// list::sort merges nodes in place: stable (equal depths keep their order of creation)
// and free of allocations, so it may run every frame. Owners may change a depth at any
// time, so every frame checks; a sorted list (the usual case) is left as it is.
void SortByDepth()
{
    std::list<CSprite*>& sprites = Sprites();
    if (!std::is_sorted(sprites.begin(), sprites.end(), DepthBefore))
        sprites.sort(DepthBefore);
}

/// A decoded sprite picture and the file it came from. Explosions make dozens of sprites
/// from the same two particle pictures in one frame; decoding a PNG costs more than the
/// rest of such a frame. The sprite pictures are a handful of small files, kept for the
/// process's life.
struct CCachedPicture
{
    std::shared_ptr<const CSurface> m_Image;
    dev_t m_Device = 0;
    ino_t m_Inode = 0;
    off_t m_Size = 0;
    timespec m_Modified{};
};

using FileStatus = struct stat;

#ifdef _WIN32
// Windows' struct stat has whole seconds only (and st_ino is always 0 there): a rewrite of
// the same size within the same second goes unseen.
timespec Modified(const FileStatus& file)
{
    return {file.st_mtime, 0};
}
#else
timespec Modified(const FileStatus& file)
{
    return file.st_mtim;
}
#endif

bool SameFile(const CCachedPicture& cached, const FileStatus& file)
{
    return cached.m_Device == file.st_dev && cached.m_Inode == file.st_ino &&
           cached.m_Size == file.st_size && cached.m_Modified.tv_sec == Modified(file).tv_sec &&
           cached.m_Modified.tv_nsec == Modified(file).tv_nsec;
}

/// The picture of the file, decoded once while the file stays the same: the name alone is
/// not enough, since the working directory or the file may change between calls. A file
/// that cannot be read is not cached (its sprite gets an empty picture of its own).
std::shared_ptr<const CSurface> SpritePicture(const std::string& fileName)
{
    static std::unordered_map<std::string, CCachedPicture> s_Pictures;
    FileStatus file{};
    if (stat(fileName.c_str(), &file) != 0)
        return LoadSurface(fileName);
    CCachedPicture& cached = s_Pictures[fileName];
    if (!cached.m_Image || !SameFile(cached, file))
    {
        std::shared_ptr<const CSurface> image = LoadSurface(fileName);
        if (image->Width() == 0) // unreadable after all: decoded anew next time
        {
            s_Pictures.erase(fileName);
            return image;
        }
        cached.m_Image = std::move(image);
        cached.m_Device = file.st_dev;
        cached.m_Inode = file.st_ino;
        cached.m_Size = file.st_size;
        cached.m_Modified = Modified(file);
    }
    return cached.m_Image;
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
    SetSharedImage(std::move(image));
}

void CSprite::SetSharedImage(std::shared_ptr<const CSurface> image)
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
    sprite->SetSharedImage(SpritePicture(fileName));
    // Appending and sorting stably, without the sort's cost: the list is sorted (depths
    // are set only right after creation), so the sprite goes after the last one of its
    // depth or less, searched from the end. New sprites share one depth, so the search
    // stops at once.
    CSpriteRegistry& registry = Registry();
    auto at = registry.m_List.end();
    while (at != registry.m_List.begin() && (*std::prev(at))->m_Depth > sprite->m_Depth)
        --at;
    registry.m_Where[sprite] = registry.m_List.insert(at, sprite);
    return sprite;
}

void RemoveSprite(CSprite* sprite)
{
    if (!sprite)
        return;
    // Found by address: a sprite removed before (or never registered) is not touched.
    CSpriteRegistry& registry = Registry();
    const auto found = registry.m_Where.find(sprite);
    if (found == registry.m_Where.end())
        return;
    registry.m_List.erase(found->second);
    registry.m_Where.erase(found);
    delete sprite;
}

void DrawSprites(CSurface* canvas, const CRect* view)
{
    SortByDepth();
    for (CSprite* sprite : Sprites())
    {
        if (!sprite->m_Disabled && !sprite->m_Hidden)
            sprite->Draw(canvas, view);
    }
}

const std::list<CSprite*>& SpriteList()
{
    return Sprites();
}

int CentredCorner(float centre, int size)
{
    return TruncatedCentredCorner(centre + 0.5f, size);
}

int TruncatedCentredCorner(float centre, int size)
{
    return TruncateToInt(centre) - TruncateToInt(static_cast<float>(size) * 0.5f + 0.5f);
}

void PlaceCentred(CSprite& sprite, float x, float y)
{
    sprite.m_X = CentredCorner(x, sprite.m_W);
    sprite.m_Y = CentredCorner(y, sprite.m_H);
}
