#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <vector>

#include "Support.h"
#include "render/Quad.h"
#include "render/Texture.h"
#include "util/Random.h"
#include "wall/NoteWallImpl.h"
#include "wall/Palette.h"

namespace
{
// Texture records without GL textures: the bookkeeping reads only their sizes.
CTexture g_Notes[3];

CWallPictures FakePictures(bool withNotes)
{
    g_Notes[0].m_Width = g_Notes[0].m_Height = 80;
    g_Notes[1].m_Width = 64;
    g_Notes[1].m_Height = 96;
    g_Notes[2].m_Width = g_Notes[2].m_Height = 128;
    CWallPictures p;
    for (CTexture& t : g_Notes)
        p.m_Notes.push_back(withNotes ? &t : nullptr);
    p.m_BlackHoles.assign(5, nullptr);
    p.m_Digits.assign(10, nullptr);
    return p;
}

std::unique_ptr<CNoteWallImpl> MakeWall(bool withNotes = true)
{
    return std::make_unique<CNoteWallImpl>(1024.0f, 768.0f, 32, 24, FakePictures(withNotes));
}

bool SameNote(const CNote& a, const CNote& b)
{
    return a.m_Picture == b.m_Picture && a.m_X == b.m_X && a.m_Y == b.m_Y &&
           a.m_Width == b.m_Width && a.m_Height == b.m_Height && a.m_Color == b.m_Color &&
           a.m_Angle == b.m_Angle;
}

std::vector<CNote> AllNotes(const CNoteWallImpl& wall)
{
    std::vector<CNote> notes;
    for (int row = 0; row < 24; ++row)
        for (int column = 0; column < 32; ++column)
            notes.push_back(wall.Note(column, row));
    return notes;
}

// Canvas pixel (red in bits 0-7) of a note colour that maps to itself.
const uint32_t kOrange = 0xFF6BA7FFu; // FFA76B
} // namespace

TEST(NoteWall, NoteColoursMatchWithinOne512thOnEveryChannel)
{
    const CColor base(0.5f, 0.25f, 0.75f, 1.0f);
    const float limit = 1.0f / 512.0f; // Exact in floats, and so are 0.5 +- it.
    for (int channel = 0; channel < 4; ++channel)
    {
        for (const float delta : {0.0019f, -0.0019f, limit, -limit, 0.002f})
        {
            CColor c = base;
            float* v[4] = {&c.r, &c.g, &c.b, &c.a};
            *v[channel] += delta;
            const bool expected = std::fabs(delta) < limit;
            EXPECT_EQ(NoteColorMatches(base, c), expected)
                << "channel " << channel << " delta " << delta;
        }
    }
    EXPECT_FALSE(NoteColorMatches(CNote().m_Color, CColor(0, 0, 0, 1)))
        << "the blank note matches nothing";
}

TEST(NoteWall, PlacesANewNoteFromItsPictureCellAndDraws)
{
    struct CDraw
    {
        float a, b;
    };
    const struct
    {
        int pictureW, pictureH, column, row;
        float intensity;
        bool high; // Every draw returns its upper end, else its lower end.
        float x, y, w, h, angle;
    } cases[] = {
        {80, 80, 3, 2, 1.0f, true, 96 - 9.6f + 2.4f, 64 - 9.6f + 2.4f, 51.2f, 51.2f, 0.02f},
        {80, 80, 3, 2, 1.0f, false, 96 - 9.6f, 64 - 9.6f, 51.2f, 51.2f, -0.02f},
        {80, 80, 0, 0, 3.5f, true, -9.6f + 8.4f, -9.6f + 8.4f, 51.2f, 51.2f, 0.07f},
        {64, 96, 31, 23, 1.0f, true, 992 - 12 + 2.4f, 736 - 8 + 2.4f, 56, 48, 0.02f},
        // A missing picture: no margin, no division by zero.
        {0, 0, 1, 1, 1.0f, true, 32 + 2.4f, 32 + 2.4f, 32, 32, 0.02f},
    };
    for (const auto& c : cases)
    {
        std::vector<CDraw> draws;
        auto script = [&](float a, float b)
        {
            draws.push_back({a, b});
            return c.high ? b : a;
        };
        const CNoteGeometry g = PlaceNote(c.pictureW, c.pictureH, c.column, c.row, CVector2(32, 32),
                                          CVector2(24, 24), c.intensity, script);
        EXPECT_NEAR(g.m_X, c.x, 1e-4f);
        EXPECT_NEAR(g.m_Y, c.y, 1e-4f);
        EXPECT_NEAR(g.m_Width, c.w, 1e-4f);
        EXPECT_NEAR(g.m_Height, c.h, 1e-4f);
        EXPECT_NEAR(g.m_Angle, c.angle, 1e-6f);
        ASSERT_EQ(draws.size(), 4u);
        EXPECT_EQ(draws[0].a, 0.0f);
        EXPECT_NEAR(draws[0].b, 0.075f * c.intensity, 1e-7f);
        EXPECT_EQ(draws[1].a, -draws[1].b) << "the x jitter is symmetric";
        EXPECT_EQ(draws[2].b, draws[1].b) << "the y jitter uses the same reach";
    }
}

// Keeping and renewing notes is pinned on real GL (NoteWallGlTest); here what it cannot see.
TEST(NoteWall, FillsFromTheLastCellWithEveryPictureAndRenewsTranslucentColours)
{
    auto wall = MakeWall();
    const auto canvas = FilledSurface(32, 24, kOrange);
    wall->UpdateNotes(canvas.get());
    const std::vector<int>& order = wall->DrawOrder();
    ASSERT_EQ(order.size(), 768u);
    EXPECT_EQ(order.front(), 767);
    EXPECT_EQ(order.back(), 0);
    std::set<const CTexture*> pictures;
    for (const CNote& n : AllNotes(*wall))
        pictures.insert(n.m_Picture);
    EXPECT_EQ(pictures, (std::set<const CTexture*>{&g_Notes[0], &g_Notes[1], &g_Notes[2]}));

    // FFA76B at alpha 128 maps to itself, alpha included, so it never matches a note.
    canvas->SetPixel(0, 0, 0x806BA7FFu);
    wall->UpdateNotes(canvas.get());
    const CNote translucent = wall->Note(0, 0);
    EXPECT_EQ(translucent.m_Color.a, 1.0f);
    wall->UpdateNotes(canvas.get());
    EXPECT_FALSE(SameNote(translucent, wall->Note(0, 0)));
}

TEST(NoteWall, OnlyCellsInsideBothCanvasAndGridAreTouched)
{
    auto big = MakeWall();
    big->UpdateNotes(FilledSurface(40, 30, kOrange).get());
    EXPECT_EQ(big->DrawOrder().size(), 768u);

    auto wall = MakeWall();
    wall->UpdateNotes(FilledSurface(10, 5, kOrange).get());
    EXPECT_EQ(wall->DrawOrder().size(), 50u);
    EXPECT_EQ(wall->Note(9, 4).m_Color, CColor::FromPixel(kOrange));
    EXPECT_TRUE(SameNote(wall->Note(10, 4), CNote()));
    EXPECT_TRUE(SameNote(wall->Note(0, 5), CNote()));
    EXPECT_EQ(wall->UpdateNote(32, 0, CColor(1, 1, 1, 1)), nullptr);
    EXPECT_EQ(wall->UpdateNote(0, -1, CColor(1, 1, 1, 1)), nullptr);

    wall->UpdateNotes(nullptr);
    EXPECT_TRUE(wall->DrawOrder().empty());
}

TEST(NoteWall, MissingPicturesLeaveUndrawnNotesAndNoScore)
{
    auto wall = MakeWall(false);
    wall->UpdateNotes(FilledSurface(32, 24, kOrange).get());
    for (const CNote& n : AllNotes(*wall))
    {
        EXPECT_EQ(n.m_Picture, nullptr);
        ASSERT_TRUE(std::isfinite(n.m_X) && std::isfinite(n.m_Y));
        EXPECT_EQ(n.m_Width, 32.0f);
        EXPECT_EQ(n.m_Height, 32.0f);
    }
    // Every picture is missing: the score reads no picture size and draws nothing (no GL
    // context exists here, and none is needed).
    wall->DrawScore(1234567);
    wall->DrawNumber(CVector2(0, 0), INT_MIN, CColor(0, 0, 0, 1));
}

TEST(NoteWall, TwitchesOnTheFifteenthFrameAndRestartsTheTimerAtZero)
{
    auto wall = MakeWall();
    for (int frame = 1; frame <= 14; ++frame)
        ASSERT_FALSE(wall->AdvanceTwitchTimer(0.016f)) << "frame " << frame;
    EXPECT_NEAR(wall->TwitchTimer(), 0.224f, 1e-6f);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(wall->BlackHoleOpacity(i), 0.0f) << "no black hole before the first twitch";
    EXPECT_TRUE(wall->AdvanceTwitchTimer(0.016f));
    EXPECT_EQ(wall->TwitchTimer(), 0.0f);
    EXPECT_FALSE(wall->AdvanceTwitchTimer(0.016f));
    EXPECT_EQ(wall->TwitchTimer(), 0.016f);
}

TEST(NoteWall, EveryTwitchStartsAgainFromTheRestPose)
{
    auto wall = MakeWall();
    EXPECT_EQ(GetCamera(), &wall->LiveCamera());
    std::set<float> opacities;
    bool turned = false;
    for (int i = 0; i < 300; ++i)
    {
        wall->Twitch();
        const CCameraTransformer& live = wall->LiveCamera();
        const float zoom = live.m_Zoom.x;
        // Each twitch is drawn from the rest pose, so the offsets never add up.
        ASSERT_LE(std::fabs(live.m_Angle), 0.03f);
        ASSERT_TRUE(zoom >= 1.0f && zoom <= 1.07f + 1e-6f && live.m_Zoom.y == zoom);
        ASSERT_LE(std::fabs(live.m_Position.x - 512.0f), 12.0f / zoom + 1e-4f);
        ASSERT_LE(std::fabs(live.m_Position.y - 384.0f), 12.0f / zoom + 1e-4f);
        turned = turned || live.m_Angle != 0.0f;
        for (int b = 0; b < 5; ++b)
            opacities.insert(wall->BlackHoleOpacity(b));
    }
    EXPECT_TRUE(turned);
    EXPECT_EQ(opacities, (std::set<float>{0.0f, 0.5f, 1.0f}));

    wall.reset();
    EXPECT_EQ(GetCamera(), nullptr) << "a gone wall's camera is not left registered";
}

TEST(Score, DigitsSitSideBySideByTheirOwnPictureWidths)
{
    const std::array<int, kDigitPictureCount> widths = {20, 11, 22, 23, 24, 25, 26, 27, 28, 29};
    const CVector2 start(881.0f, 15.0f);
    const struct
    {
        int value;
        std::vector<CPlacedDigit> expected;
    } cases[] = {
        {0, {{0, 881, 15}}},
        {12, {{1, 881, 15}, {2, 892, 15}}},
        {-5, {{5, 881, 15}}}, // The minus sign is skipped.
        {907, {{9, 881, 15}, {0, 910, 15}, {7, 930, 15}}},
    };
    for (const auto& c : cases)
    {
        const CNumberLayout layout = LayoutNumber(start, c.value, widths);
        ASSERT_EQ(layout.m_Count, static_cast<int>(c.expected.size())) << c.value;
        for (size_t i = 0; i < c.expected.size(); ++i)
        {
            EXPECT_EQ(layout.m_Digits[i].m_Digit, c.expected[i].m_Digit) << c.value;
            EXPECT_EQ(layout.m_Digits[i].m_X, c.expected[i].m_X) << c.value;
            EXPECT_EQ(layout.m_Digits[i].m_Y, c.expected[i].m_Y) << c.value;
        }
    }
    EXPECT_EQ(LayoutNumber(start, INT_MIN, widths).m_Count, 10);
    const std::array<int, kDigitPictureCount> missing{};
    const CNumberLayout stacked = LayoutNumber(start, 88, missing);
    EXPECT_EQ(stacked.m_Digits[1].m_X, 881.0f) << "a missing digit takes no room";
}
