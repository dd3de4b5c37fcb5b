#include <climits>
#include <cmath>
#include <filesystem>
#include <set>

#include "Support.h"
#include "render/GlTestSupport.h"
#include "render/Quad.h"
#include "render/Texture.h"
#include "wall/NoteWall.h"
#include "wall/NoteWallImpl.h"

namespace
{
// Canvas pixels (red in bits 0-7) of two note colours that map to themselves.
const uint32_t kOrange = 0xFF6BA7FFu; // FFA76B
const uint32_t kBlue = 0xFFFF3C00u;   // 003CFF

// Texture records without GL textures: the bookkeeping reads only their sizes.
CTexture g_Notes[3] = {{0, 80, 80}, {0, 64, 96}, {0, 128, 128}};

std::unique_ptr<CNoteWallImpl> MakeWall(bool withNotes = true)
{
    CWallPictures p;
    for (CTexture& t : g_Notes)
        p.m_Notes.push_back(withNotes ? &t : nullptr);
    p.m_BlackHoles.assign(5, nullptr);
    p.m_Digits.assign(10, nullptr);
    return std::make_unique<CNoteWallImpl>(1024.0f, 768.0f, 32, 24, p);
}

bool SameNote(const CNote& a, const CNote& b)
{
    return a.m_Picture == b.m_Picture && a.m_X == b.m_X && a.m_Y == b.m_Y &&
           a.m_Width == b.m_Width && a.m_Height == b.m_Height && a.m_Color == b.m_Color &&
           a.m_Angle == b.m_Angle;
}
} // namespace

TEST(NoteWall, NoteColoursMatchWithinOne512thOnEveryChannel)
{
    const CColor base(0.5f, 0.25f, 0.75f, 1.0f);
    const float limit = 1.0f / 512.0f; // exact in floats, and so are 0.5 +- it
    for (int channel = 0; channel < 4; ++channel)
        for (const float delta : {0.0019f, -0.0019f, limit, -limit})
        {
            CColor c = base;
            (&c.r)[channel] += delta;
            EXPECT_EQ(NoteColorMatches(base, c), delta != limit && delta != -limit)
                << "channel " << channel << " delta " << delta;
        }
    EXPECT_FALSE(NoteColorMatches(CNote().m_Color, CColor(0, 0, 0, 1))) << "a blank note";
}

// A note covers its cell and the picture's margin (24 picture pixels, scaled to the cell),
// jittered by up to 7.5 % of the cell times the intensity on each axis and tilted by up to
// 0.02 rad times the intensity. The draws are scripted: the jitter's size is the largest,
// then each draw returns its upper end, or each its lower end.
TEST(NoteWall, PlacesANewNoteFromItsPictureCellAndDraws)
{
    const struct
    {
        int pictureW, pictureH, column, row;
        float intensity;
        bool high;
        float x, y, w, h, angle;
    } cases[] = {
        {80, 80, 3, 2, 1.0f, true, 96 - 9.6f + 2.4f, 64 - 9.6f + 2.4f, 51.2f, 51.2f, 0.02f},
        {80, 80, 3, 2, 1.0f, false, 96 - 9.6f - 2.4f, 64 - 9.6f - 2.4f, 51.2f, 51.2f, -0.02f},
        {64, 96, 31, 23, 3.5f, true, 992 - 12 + 8.4f, 736 - 8 + 8.4f, 56, 48, 0.07f},
        {0, 0, 1, 1, 1.0f, true, 32 + 2.4f, 32 + 2.4f, 32, 32, 0.02f}, // missing: no margin
    };
    for (const auto& c : cases)
    {
        std::vector<float> ends;
        auto script = [&](float a, float b)
        {
            ends.push_back(c.high || ends.empty() ? b : a);
            return ends.back();
        };
        const CNoteGeometry g = PlaceNote(c.pictureW, c.pictureH, c.column, c.row, CVector2(32, 32),
                                          CVector2(24, 24), c.intensity, script);
        EXPECT_NEAR(g.m_X, c.x, 1e-4f) << c.pictureW;
        EXPECT_NEAR(g.m_Y, c.y, 1e-4f) << c.pictureW;
        EXPECT_NEAR(g.m_Width, c.w, 1e-4f) << c.pictureW;
        EXPECT_NEAR(g.m_Height, c.h, 1e-4f) << c.pictureW;
        EXPECT_NEAR(g.m_Angle, c.angle, 1e-6f) << c.pictureW;
        EXPECT_EQ(ends.size(), 4u);
    }
}

// From the last cell back to the first, so each note lies over its right and lower
// neighbours; only cells inside both the canvas and the grid. A translucent canvas colour
// never matches its note (stored with alpha 1), so its note is stuck anew every frame.
TEST(NoteWall, UpdatesTheCellsOfCanvasAndGridFromTheLast)
{
    auto wall = MakeWall();
    const auto canvas = FilledSurface(40, 30, kOrange);
    canvas->SetPixel(0, 0, 0x806BA7FFu);
    wall->UpdateNotes(canvas.get());
    const std::vector<int>& order = wall->DrawOrder();
    ASSERT_EQ(order.size(), 768u);
    EXPECT_TRUE(order.front() == 767 && order.back() == 0);
    std::set<const CTexture*> pictures;
    for (int cell = 0; cell < 768; ++cell)
        pictures.insert(wall->Note(cell % 32, cell / 32).m_Picture);
    EXPECT_EQ(pictures, (std::set<const CTexture*>{&g_Notes[0], &g_Notes[1], &g_Notes[2]}));
    const CNote translucent = wall->Note(0, 0);
    EXPECT_EQ(translucent.m_Color.a, 1.0f);
    wall->UpdateNotes(canvas.get());
    EXPECT_FALSE(SameNote(translucent, wall->Note(0, 0)));
    EXPECT_EQ(wall->UpdateNote(32, 0, CColor(1, 1, 1, 1)), nullptr);
    EXPECT_EQ(wall->UpdateNote(0, -1, CColor(1, 1, 1, 1)), nullptr);

    auto small = MakeWall();
    small->UpdateNotes(FilledSurface(10, 5, kOrange).get());
    EXPECT_EQ(small->DrawOrder().size(), 50u);
    EXPECT_TRUE(SameNote(small->Note(10, 4), CNote()) && SameNote(small->Note(0, 5), CNote()));
    small->UpdateNotes(nullptr);
    EXPECT_TRUE(small->DrawOrder().empty());
}

// Missing note, score and digit pictures draw nothing and are never read (no GL here).
TEST(NoteWall, MissingPicturesLeaveUndrawnNotesAndNoScore)
{
    auto wall = MakeWall(false);
    wall->UpdateNotes(FilledSurface(32, 24, kOrange).get());
    const CNote& n = wall->Note(7, 9);
    EXPECT_TRUE(n.m_Picture == nullptr && n.m_Width == 32.0f && std::isfinite(n.m_X));
    wall->DrawScore(1234567);
    wall->DrawNumber(CVector2(0, 0), INT_MIN, CColor(0, 0, 0, 1));
}

// The twitch comes on the 15th frame of 0.016 s (past 0.23 s) and restarts the timer at 0.
// Each poses the camera afresh from the rest pose, so the offsets never add up, and rolls
// every black hole's opacity from 0, 0.5 and 1.
TEST(NoteWall, TwitchesOnTheFifteenthFrameFromTheRestPose)
{
    auto wall = MakeWall();
    EXPECT_EQ(GetCamera(), &wall->LiveCamera());
    for (int frame = 1; frame <= 14; ++frame)
        ASSERT_FALSE(wall->AdvanceTwitchTimer(0.016f)) << "frame " << frame;
    EXPECT_EQ(wall->BlackHoleOpacity(4), 0.0f) << "no black hole before the first twitch";
    EXPECT_TRUE(wall->AdvanceTwitchTimer(0.016f));
    EXPECT_EQ(wall->TwitchTimer(), 0.0f);
    EXPECT_FALSE(wall->AdvanceTwitchTimer(0.016f));
    EXPECT_EQ(wall->TwitchTimer(), 0.016f);

    // Up to 0.03 rad, 7 % of zoom and 12 screen pixels each way, each nearly reached.
    const float limits[4] = {0.03f, 0.07f, 12.0f, 12.0f};
    float most[4] = {};
    std::set<float> opacities;
    for (int i = 0; i < 300; ++i)
    {
        wall->Twitch();
        const CCameraTransformer& live = wall->LiveCamera();
        const float zoom = live.m_Zoom.x;
        ASSERT_TRUE(zoom >= 1.0f && live.m_Zoom.y == zoom);
        const float seen[4] = {std::fabs(live.m_Angle), zoom - 1.0f,
                               std::fabs(live.m_Position.x - 512.0f) * zoom,
                               std::fabs(live.m_Position.y - 384.0f) * zoom};
        for (int k = 0; k < 4; ++k)
            most[k] = std::max(most[k], seen[k]);
        for (int b = 0; b < 5; ++b)
            opacities.insert(wall->BlackHoleOpacity(b));
    }
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(most[k] <= limits[k] * 1.0001f && most[k] > limits[k] * 0.9f) << most[k];
    EXPECT_EQ(opacities, (std::set<float>{0.0f, 0.5f, 1.0f}));
    wall.reset();
    EXPECT_EQ(GetCamera(), nullptr) << "a gone wall's camera is not left registered";
}

// Digits sit side by side by their own picture widths, the minus sign skipped; a missing
// digit picture takes no room.
TEST(Score, DigitsSitSideBySideByTheirOwnPictureWidths)
{
    const std::array<int, kDigitPictureCount> widths = {20, 11, 22, 23, 24, 25, 26, 27, 28, 29};
    const CNumberLayout layout = LayoutNumber(CVector2(881, 15), -907, widths);
    ASSERT_EQ(layout.m_Count, 3);
    const float x[] = {881, 881 + 29, 881 + 29 + 20};
    for (int i = 0; i < 3; ++i)
    {
        const CPlacedDigit& d = layout.m_Digits[i];
        EXPECT_TRUE(d.m_Digit == "907"[i] - '0' && d.m_X == x[i] && d.m_Y == 15) << i;
    }
    EXPECT_EQ(LayoutNumber(CVector2(881, 15), 0, widths).m_Count, 1);
    EXPECT_EQ(LayoutNumber(CVector2(881, 15), INT_MIN, widths).m_Count, 10);
    EXPECT_EQ(LayoutNumber(CVector2(881, 15), 88, {}).m_Digits[1].m_X, 881.0f);
}

namespace
{
void SavePicture(const std::string& name, int w, int h)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0, 0, 0, 0);
    SDL_FillRect(s, nullptr, 0xFFFFFFFFu);
    ASSERT_EQ(SDL_SaveBMP(s, name.c_str()), 0); // IMG_Load knows a BMP whatever its name
    SDL_FreeSurface(s);
}

/// One wall frame as Frame draws it, but read back before the swap (after it the front
/// buffer of Mesa under Xvfb reads as black); the previous frame is shown first.
std::vector<unsigned char> DrawFrame(CNoteWallImpl& wall, const CSurface& canvas, int score)
{
    SwapScreen();
    wall.AdvanceTwitchTimer(0.016f);
    ClearScreen();
    wall.DrawWall(&canvas);
    if (score >= 0)
        wall.DrawScore(score);
    return gltest::ReadFrame();
}
} // namespace

// The game's pictures, made here: white notes and digits, a white score background; no
// background or black-hole pictures, which stay missing and draw nothing.
TEST(NoteWallGl, KeepsNotesWhileTheirColourHoldsAndSticksNewOnesWhenItChanges)
{
    KORVANE_OPEN_GL_WINDOW();
    const CTempDir folder;
    std::filesystem::create_directories(folder / "data/gfx");
    for (int i = 1; i <= 3; ++i)
        SavePicture(folder / ("data/gfx/post-it-0" + std::to_string(i) + ".png"), 80, 80);
    SavePicture(folder / "data/gfx/score_background.png", 200, 60);
    for (int k = 0; k < 10; ++k)
        SavePicture(folder / ("data/gfx/num_0" + std::to_string(k) + ".png"), 10, 16);
    const CCurrentDir inFolder(folder.Path());

    CNoteWall wall(1024.0f, 768.0f, 32, 24);
    CNoteWallImpl* impl = wall.Impl();
    std::unique_ptr<CSurface> canvas = FilledSurface(32, 24, kOrange);
    wall.Frame(canvas.get(), 0.016f, -1);
    ASSERT_NE(impl->Note(0, 0).m_Picture, nullptr) << "the note pictures are loaded";
    const CNote kept = impl->Note(5, 7);
    const std::vector<unsigned char> first = DrawFrame(*impl, *canvas, -1);
    EXPECT_TRUE(SameNote(impl->Note(5, 7), kept));
    for (int cell = 0; cell < 768; ++cell)
        ASSERT_TRUE(gltest::Shows(cell % 32 * 32 + 16, cell / 32 * 32 + 16, kOrange));

    wall.SetIntensity(3.0f);
    EXPECT_EQ(DrawFrame(*impl, *canvas, -1), first) << "unchanged colours redraw the same";

    canvas->SetPixel(5, 7, kBlue);
    const std::vector<unsigned char> third = DrawFrame(*impl, *canvas, -1);
    EXPECT_TRUE(gltest::Shows(5 * 32 + 16, 7 * 32 + 16, kBlue));
    const CNote& renewed = impl->Note(5, 7);
    EXPECT_FALSE(renewed.m_X == kept.m_X && renewed.m_Y == kept.m_Y &&
                 renewed.m_Angle == kept.m_Angle);
    // Away from the new note (at intensity 3 it reaches under 24 pixels past its cell) the
    // picture is untouched. Rows are read bottom first.
    int changedFarAway = 0;
    for (size_t i = 0; i < first.size(); ++i)
    {
        const int x = static_cast<int>(i / 3 % 1024), y = 767 - static_cast<int>(i / 3 / 1024);
        const bool near = x > 136 && x < 216 && y > 200 && y < 280;
        changedFarAway += !near && first[i] != third[i];
    }
    EXPECT_EQ(changedFarAway, 0);

    // The notes twitch with the camera, the blue one among them (rows 200 to 279 are rows
    // 488 to 567 from the bottom); the score's white background (798, -1 to 997, 58) with
    // black digits over it stays still.
    impl->Twitch();
    const std::vector<unsigned char> twitched = DrawFrame(*impl, *canvas, 0);
    const size_t row = 1024 * 3;
    EXPECT_FALSE(std::equal(third.begin() + 488 * row, third.begin() + 568 * row,
                            twitched.begin() + 488 * row));
    EXPECT_TRUE(gltest::Shows(994, 55, ~0u) && gltest::Shows(900, 23, ~0u));
    EXPECT_TRUE(gltest::Shows(886, 23, 0));
    EXPECT_TRUE(gltest::Shows(798, 30, ~0u) && gltest::Shows(797, 30, kOrange));
}
