#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Support.h"
#include "render/GlTestSupport.h"
#include "wall/NoteWall.h"
#include "wall/NoteWallImpl.h"

namespace
{
// Canvas pixels (red in bits 0-7) of two note colours that map to themselves.
const uint32_t kOrange = 0xFF6BA7FFu; // FFA76B
const uint32_t kBlue = 0xFFFF3C00u;   // 003CFF

void SavePicture(const std::string& name, int w, int h, Uint8 r, Uint8 g, Uint8 b)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
    // IMG_Load knows a BMP by its contents whatever the file is called.
    ASSERT_EQ(SDL_SaveBMP(s, name.c_str()), 0);
    SDL_FreeSurface(s);
}

/// The game's picture files, made here: white notes and digits, a white score background.
/// No background or black-hole pictures: those stay missing and draw nothing.
void MakeGameFolder(const std::string& root)
{
    std::filesystem::create_directories(root + "/data/gfx");
    for (int i = 1; i <= 3; ++i)
        SavePicture(root + "/data/gfx/post-it-0" + std::to_string(i) + ".png", 80, 80, 255, 255,
                    255);
    SavePicture(root + "/data/gfx/score_background.png", 200, 60, 255, 255, 255);
    for (int k = 0; k < 10; ++k)
        SavePicture(root + "/data/gfx/num_0" + std::to_string(k) + ".png", 10, 16, 255, 255, 255);
}

/// One wall frame as Frame draws it, read back before the swap: after the swap the front
/// buffer of Mesa under Xvfb reads as black, so the steps of Frame are taken one by one.
std::vector<unsigned char> DrawFrame(CNoteWallImpl& wall, const CSurface& canvas, int score)
{
    wall.AdvanceTwitchTimer(0.016f);
    ClearScreen();
    wall.DrawWall(&canvas);
    if (score >= 0)
        wall.DrawScore(score);
    std::vector<unsigned char> pixels(1024 * 768 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    SwapScreen();
    return pixels;
}

bool SameNote(const CNote& a, const CNote& b)
{
    return a.m_Picture == b.m_Picture && a.m_X == b.m_X && a.m_Y == b.m_Y &&
           a.m_Width == b.m_Width && a.m_Height == b.m_Height && a.m_Color == b.m_Color &&
           a.m_Angle == b.m_Angle;
}

const unsigned char* At(const std::vector<unsigned char>& frame, int x, int y)
{
    return &frame[static_cast<size_t>(((767 - y) * 1024 + x) * 3)];
}

void ExpectColour(const std::vector<unsigned char>& frame, int x, int y, uint32_t pixel)
{
    const CColor c = CColor::FromPixel(pixel);
    const unsigned char* p = At(frame, x, y);
    EXPECT_NEAR(p[0], c.r * 255.0f, 3) << x << ", " << y;
    EXPECT_NEAR(p[1], c.g * 255.0f, 3) << x << ", " << y;
    EXPECT_NEAR(p[2], c.b * 255.0f, 3) << x << ", " << y;
}
} // namespace

TEST(NoteWallGl, KeepsNotesWhileTheirColourHoldsAndSticksNewOnesWhenItChanges)
{
    KORVANE_OPEN_GL_WINDOW();
    const CTempDir folder;
    MakeGameFolder(folder.Path());
    std::filesystem::current_path(folder.Path()); // each test runs in a process of its own

    CNoteWall wall(1024.0f, 768.0f, 32, 24);
    CNoteWallImpl* impl = wall.Impl();
    std::unique_ptr<CSurface> canvas = FilledSurface(32, 24, kOrange);

    wall.Frame(canvas.get(), 0.016f, -1);
    ASSERT_NE(impl->Note(0, 0).m_Picture, nullptr) << "the note pictures are loaded";
    const CNote kept = impl->Note(5, 7);
    const std::vector<unsigned char> first = DrawFrame(*impl, *canvas, -1);
    EXPECT_TRUE(SameNote(impl->Note(5, 7), kept));
    for (int row = 0; row < 24; ++row)
        for (int column = 0; column < 32; ++column)
            ExpectColour(first, column * 32 + 16, row * 32 + 16, kOrange);

    wall.SetIntensity(3.0f);
    EXPECT_EQ(DrawFrame(*impl, *canvas, -1), first)
        << "unchanged colours redraw the very same picture";

    canvas->SetPixel(5, 7, kBlue);
    const std::vector<unsigned char> third = DrawFrame(*impl, *canvas, -1);
    ExpectColour(third, 5 * 32 + 16, 7 * 32 + 16, kBlue);
    const CNote& renewed = impl->Note(5, 7);
    EXPECT_FALSE(renewed.m_X == kept.m_X && renewed.m_Y == kept.m_Y &&
                 renewed.m_Angle == kept.m_Angle);
    // Away from the new note (at intensity 3 it reaches under 24 pixels past its cell)
    // the picture is untouched.
    int changedFarAway = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
        {
            const bool near =
                x > 5 * 32 - 24 && x < 6 * 32 + 24 && y > 7 * 32 - 24 && y < 8 * 32 + 24;
            if (!near && std::memcmp(At(first, x, y), At(third, x, y), 3) != 0)
                ++changedFarAway;
        }
    EXPECT_EQ(changedFarAway, 0);

    // With a score the corner shows its background with black digits over it.
    const std::vector<unsigned char> scored = DrawFrame(*impl, *canvas, 0);
    ExpectColour(scored, 850, 40, 0xFFFFFFFFu);
    ExpectColour(scored, 886, 23, 0xFF000000u);
    ExpectColour(scored, 900, 23, 0xFFFFFFFFu);
}
