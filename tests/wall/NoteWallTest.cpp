#include <climits>
#include <cmath>
#include <set>

#include "Support.h"
#include "render/Quad.h"
#include "render/Texture.h"
#include "wall/NoteWallImpl.h"

namespace
{
// The canvas pixel (red in bits 0-7) of a note colour that maps to itself, FFA76B.
const uint32_t kOrange = 0xFF6BA7FFu;

// Texture records without GL textures: the bookkeeping reads only their sizes.
CTexture g_Notes[3] = {{0, 80, 80}, {0, 64, 96}, {0, 128, 128}};

std::unique_ptr<CNoteWallImpl> MakeWall(bool withNotes)
{
    CWallPictures p;
    for (CTexture& t : g_Notes)
        p.m_Notes.push_back(withNotes ? &t : nullptr);
    p.m_BlackHoles.assign(5, nullptr);
    p.m_Digits.assign(10, nullptr);
    return std::make_unique<CNoteWallImpl>(1024.0f, 768.0f, 32, 24, p);
}
} // namespace

// A note keeps its place while the colour stays within 1/512 on every channel.
TEST(NoteWall, NoteColoursMatchWithinOne512thOnEveryChannel)
{
    const CColor base(0.5f, 0.25f, 0.75f, 1.0f);
    const float limit = 1.0f / 512.0f; // exact in floats, and so are 0.5 +- it
    for (int channel = 0; channel < 4; ++channel)
        for (const float delta : {0.0019f, -0.0019f, limit, -limit})
        {
            CColor c = base;
            (&c.r)[channel] += delta;
            EXPECT_EQ(NoteColorMatches(base, c), std::fabs(delta) != limit) << channel << delta;
        }
}

// A note covers its cell and the picture's margin (24 picture pixels, scaled to the cell;
// none for a missing picture), jittered by up to 7.5 % of the cell times the intensity on
// each axis and tilted by up to 0.02 rad times the intensity. The draws are scripted: the
// jitter's size is the largest, then each draw returns its upper end, or each its lower end.
TEST(NoteWall, PlacesANewNoteFromItsPictureCellAndDraws)
{
    const struct
    {
        int pictureW, pictureH;
        bool high;
        float x, y, w, h, angle;
    } cases[] = {
        {64, 96, false, 96 - 12 - 8.4f, 64 - 8 - 8.4f, 56, 48, -0.07f},
        {0, 0, true, 96 + 8.4f, 64 + 8.4f, 32, 32, 0.07f},
    };
    for (const auto& c : cases)
    {
        int draws = 0;
        auto script = [&](float a, float b) { return c.high || draws++ == 0 ? b : a; };
        const CNoteGeometry g = PlaceNote(c.pictureW, c.pictureH, 3, 2, CVector2(32, 32),
                                          CVector2(24, 24), 3.5f, script);
        EXPECT_TRUE(std::fabs(g.m_X - c.x) < 1e-4f && std::fabs(g.m_Y - c.y) < 1e-4f &&
                    std::fabs(g.m_Width - c.w) < 1e-4f && std::fabs(g.m_Height - c.h) < 1e-4f &&
                    std::fabs(g.m_Angle - c.angle) < 1e-6f)
            << c.pictureW << ": " << g.m_X << ", " << g.m_Y << ", " << g.m_Angle;
    }
}

// From the last cell back to the first, so each note lies over its right and lower
// neighbours; only cells inside both the canvas and the grid. Each draw sticks the notes
// anew where the colour changed; a translucent canvas colour never matches its note (stored
// with alpha 1), so that note changes every frame. Missing pictures leave notes that draw
// nothing and are never read (no GL here).
TEST(NoteWall, DrawsTheCellsOfCanvasAndGridFromTheLast)
{
    auto wall = MakeWall(false);
    std::unique_ptr<CSurface> canvas = FilledSurface(40, 30, kOrange);
    wall->DrawWall(canvas.get());
    const std::vector<int>& order = wall->DrawOrder();
    ASSERT_EQ(order.size(), 768u);
    EXPECT_TRUE(order.front() == 767 && order.back() == 0 && order[1] == 766 && order[32] == 735);
    const CNote kept = wall->Note(31, 23);
    EXPECT_TRUE(kept.m_Picture == nullptr && kept.m_Width == 32.0f && kept.m_Color.a == 1.0f);
    canvas->SetPixel(0, 0, 0x806BA7FFu);
    const CNote before = wall->Note(0, 0);
    wall->DrawWall(canvas.get());
    EXPECT_TRUE(wall->Note(31, 23).m_X == kept.m_X && wall->Note(31, 23).m_Y == kept.m_Y);
    EXPECT_FALSE(wall->Note(0, 0).m_X == before.m_X && wall->Note(0, 0).m_Y == before.m_Y);
    wall->DrawScore(1234567);
    EXPECT_EQ(wall->UpdateNote(32, 0, CColor(1, 1, 1, 1)), nullptr);
    EXPECT_EQ(wall->UpdateNote(0, -1, CColor(1, 1, 1, 1)), nullptr);

    wall->UpdateNotes(FilledSurface(10, 5, kOrange).get());
    EXPECT_TRUE(wall->DrawOrder().size() == 50u && wall->DrawOrder().front() == 4 * 32 + 9);
    wall->UpdateNotes(nullptr);
    EXPECT_TRUE(wall->DrawOrder().empty());

    // Every note picture is chosen.
    auto withNotes = MakeWall(true);
    withNotes->UpdateNotes(canvas.get());
    std::set<const CTexture*> pictures;
    for (int cell = 0; cell < 768; ++cell)
        pictures.insert(withNotes->Note(cell % 32, cell / 32).m_Picture);
    EXPECT_EQ(pictures, (std::set<const CTexture*>{&g_Notes[0], &g_Notes[1], &g_Notes[2]}));
}

// The twitch comes on the 15th frame of 0.016 s (past 0.23 s) and restarts the timer at 0.
// Each poses the camera afresh from the rest pose, so the offsets never add up: up to
// 0.03 rad, 7 % of zoom and 12 screen pixels each way, each nearly reached. It rolls every
// black hole's opacity from 0, 0.5 and 1.
TEST(NoteWall, TwitchesOnTheFifteenthFrameFromTheRestPose)
{
    auto wall = MakeWall(false);
    EXPECT_EQ(GetCamera(), &wall->LiveCamera());
    for (int frame = 1; frame <= 14; ++frame)
        ASSERT_FALSE(wall->AdvanceTwitchTimer(0.016f)) << "frame " << frame;
    EXPECT_EQ(wall->BlackHoleOpacity(4), 0.0f) << "no black hole before the first twitch";
    EXPECT_TRUE(wall->AdvanceTwitchTimer(0.016f));
    EXPECT_FALSE(wall->AdvanceTwitchTimer(0.016f));
    EXPECT_EQ(wall->TwitchTimer(), 0.016f);

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
        opacities.insert(wall->BlackHoleOpacity(i % 5));
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
    const CPlacedDigit* d = layout.m_Digits.data();
    EXPECT_TRUE(d[0].m_Digit == 9 && d[1].m_Digit == 0 && d[2].m_Digit == 7 && d[2].m_Y == 15);
    EXPECT_TRUE(d[0].m_X == 881 && d[1].m_X == 881 + 29 && d[2].m_X == 881 + 29 + 20);
    EXPECT_EQ(LayoutNumber(CVector2(881, 15), INT_MIN, widths).m_Count, 10);
    EXPECT_EQ(LayoutNumber(CVector2(881, 15), 88, {}).m_Digits[1].m_X, 881.0f);
}
