#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "TestPictures.h"
#include "canvas/Background.h"
#include "canvas/Sprite.h"
#include "util/Vector2.h"

// Counts every allocation of this test program, so a frame's drawing can be shown to make
// none.
namespace
{
std::atomic<long> g_Allocations{0};
}

void* operator new(std::size_t size)
{
    ++g_Allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

TEST(CanvasFrame, AllocatesNothing)
{
    std::unique_ptr<CSurface> canvas = CreateSurface(32, 24);
    std::unique_ptr<CSurface> stars =
        MakeSurface(32, 24, std::vector<uint32_t>(768, Rgba(9, 9, 9, 99)));
    CSprite* sprites[3];
    for (int i = 0; i < 3; ++i)
    {
        sprites[i] = CreateSprite("data/gfx/no-such-picture.png");
        sprites[i]->SetImage(MakeSurface(2, 2, std::vector<uint32_t>(4, Rgba(1, 2, 3, 200))));
        sprites[i]->m_Depth = 300 - i * 100; // the frame's sort has work to do
        sprites[i]->m_BlendKind = 1 + i % 2;
    }
    const CRect view = {0, 0, 32, 24};
    CVector2 scroll(-3.5f, -2.0f);
    const long before = g_Allocations;
    for (int frame = 0; frame < 3; ++frame)
    {
        scroll.x -= 0.64f;
        DrawBackground(canvas.get(), stars.get(), &scroll);
        DrawSprites(canvas.get(), &view);
        sprites[frame]->m_Depth = 50; // reorder between frames
    }
    EXPECT_EQ(g_Allocations - before, 0);
    EXPECT_NE(canvas->GetPixel(0, 0), 0u); // the frames did draw
    for (CSprite* s : sprites)
        RemoveSprite(s);
}
