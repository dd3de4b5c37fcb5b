#include <cmath>
#include <complex>
#include <set>

#include "Support.h"
#include "canvas/CanvasSize.h"
#include "render/Quad.h"
#include "util/Random.h"
#include "wall/NoteWallImpl.h"
#include "wall/Palette.h"
#include "wall/WallLayout.h"

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
    return std::make_unique<CNoteWallImpl>(float(kVirtualScreenWidth), float(kVirtualScreenHeight),
                                           kCanvasWidth, kCanvasHeight, p);
}

struct CQuadList : IWallQuadSink
{
    void Quad(const CWallQuad& q) override { m_Quads.push_back(q); }
    std::vector<CWallQuad> m_Quads;
};
} // namespace

// A point maps back through position, turn and zoom; the interface's own, via a unit square.
TEST(Camera, TransformPoint)
{
    CCameraTransformer camera;
    camera.m_Zoom = CVector2(2.0f, 2.0f);
    camera.m_Position = CVector2(612.0f, 384.0f);
    EXPECT_EQ(camera.ICamera::TransformPoint(CVector2(522.0f, 394.0f)), CVector2(632.0f, 404.0f));
    camera.SetAngle(0.5f);
    const CVector2 p =
        camera.TransformPoint(CVector2(612 + 100 * std::cos(0.5f), 384 + 100 * std::sin(0.5f)));
    EXPECT_LT((p - CVector2(562.0f, 384.0f)).Length(), 1e-4f) << p.x << ", " << p.y;
}

// About the screen centre a camera zooms, shifts and turns clockwise as seen, adding its angle.
TEST(Camera, ZoomsShiftsAndTurnsAQuadAboutTheScreenCentre)
{
    // A quad centred 400 px right of and below the centre swings by this much.
    const float dx = 400 * (std::cos(0.03f) - std::sin(0.03f)),
                dy = 400 * (std::sin(0.03f) + std::cos(0.03f));
    const std::tuple<float, CVector2, float, CQuadRect, std::vector<float>> cases[] = {
        {1.05f, {512, 384}, 0, {0, 0, 32, 16}, {-25.6f, -19.2f, 33.6f, 16.8f, 0.25f}},
        {1, {518, 380}, 0, {0, 0, 32, 32}, {6, -4, 32, 32, 0.25f}},
        {1, {512, 384}, 0.03f, {896, 768, 32, 32}, {496 + dx, 368 + dy, 32, 32, 0.28f}}};
    for (const auto& [zoom, position, angle, rect, placed] : cases)
    {
        CCameraTransformer camera;
        camera.m_Zoom = CVector2(zoom, zoom);
        camera.m_Position = position;
        camera.SetAngle(angle);
        const CPlacedQuad q = camera.Transform(rect, 0.25f);
        EXPECT_THAT((std::vector<float>{q.rect.x, q.rect.y, q.rect.width, q.rect.height, q.angle}),
                    Pointwise(FloatNear(1e-4f), placed))
            << "zoom " << zoom << ", angle " << angle;
    }
}

// Within 0.15 of its nearest note colour a colour stays, else becomes it; ties: the earlier.
TEST(Palette, MapsFarColoursToTheNearestNoteColourAndKeepsNearOnes)
{
    const auto bytes = [](int r, int g, int b, float a = 1.0f)
    { return CColor(r / 255.0f, g / 255.0f, b / 255.0f, a); };
    const auto entry = [](uint32_t rgb) { return MakePalette({rgb})[0]; };
    const std::vector<CColor> palette = MakePalette(NotePaletteColors());
    EXPECT_EQ(MapToPalette(palette, bytes(255, 0, 0, 0.3f)), entry(0xA30026));        // 0.170 away
    EXPECT_EQ(MapToPalette(palette, bytes(0, 21, 175)), entry(0x003CFF));             // 0.156
    EXPECT_EQ(MapToPalette(palette, bytes(0, 10, 87, 0.3f)), bytes(0, 10, 87, 0.3f)); // 0.137
    EXPECT_EQ(MapToPalette({{1, 0, 0, 1}, {0, 1, 0, 1}}, {0.5f, 0.5f, 0, 1}), CColor(1, 0, 0, 1));
}

TEST(Palette, RandomVariantVariesEachChannelByTenClamped)
{
    EXPECT_EQ(RandomVariant({}).a, 255);
    tarn::SeedRandom(7u, 1.0);
    std::set<int> seen[3];
    for (int i = 0; i < 1000; ++i)
    {
        const CByteColor c = RandomVariant({0x03FA80});
        for (int k = 0; k < 3; ++k)
            seen[k].insert((&c.r)[k]);
    }
    // Every value in range, clamped not wrapped: red 0 to 13, green 240 to 255, blue 118 to 138.
    std::vector<std::pair<size_t, int>> ranges; // how many values, the least
    for (const std::set<int>& s : seen)
        ranges.emplace_back(s.size(), *s.begin());
    EXPECT_EQ(ranges, (std::vector<std::pair<size_t, int>>{{14, 0}, {16, 240}, {21, 118}}));
}

// From the last cell back (notes lie over right and lower neighbours); no canvas, no cells.
TEST(NoteWall, ListsTheCellsOfCanvasAndGridFromTheLast)
{
    auto wall = MakeWall(false);
    wall->UpdateNotes(FilledSurface(40, 30, kOrange).get());
    const std::vector<int>& order = wall->DrawOrder();
    ASSERT_EQ(order.size(), 768u);
    EXPECT_EQ((std::vector<int>{order.front(), order[1], order[32], order.back()}),
              (std::vector<int>{767, 766, 735, 0}));
    wall->UpdateNotes(FilledSurface(10, 5, kOrange).get());
    EXPECT_EQ(std::make_pair(order.size(), order.front()), std::make_pair(size_t{50}, 4 * 32 + 9));
    wall->UpdateNotes(nullptr);
    EXPECT_EQ(order.size(), 0u);
}

// A translucent colour never matches; without a picture a note has no margin.
TEST(NoteWall, KeepsEachNoteUntilItsCellChangesColour)
{
    auto wall = MakeWall(false);
    std::unique_ptr<CSurface> canvas = FilledSurface(32, 24, kOrange);
    wall->UpdateNotes(canvas.get());
    const CNote kept = wall->Note(31, 23), before = wall->Note(0, 0);
    EXPECT_EQ(std::make_tuple(kept.m_Picture, kept.m_Rect.width, kept.m_Color.a),
              std::make_tuple(nullptr, 32.0f, 1.0f));
    canvas->SetPixel(0, 0, 0x806BA7FFu);
    wall->UpdateNotes(canvas.get());
    const auto at = [](const CNote& n) { return std::make_pair(n.m_Rect.x, n.m_Rect.y); };
    EXPECT_EQ(at(wall->Note(31, 23)), at(kept));
    EXPECT_NE(at(wall->Note(0, 0)), at(before));
    EXPECT_EQ(wall->UpdateNote(32, 0, CColor(1, 1, 1, 1)), nullptr);

    auto withNotes = MakeWall(true); // every note picture is chosen
    withNotes->UpdateNotes(canvas.get());
    std::set<const CTexture*> pictures;
    for (int cell = 0; cell < 768; ++cell)
        pictures.insert(withNotes->Note(cell % 32, cell / 32).m_Picture);
    EXPECT_EQ(pictures, (std::set<const CTexture*>{&g_Notes[0], &g_Notes[1], &g_Notes[2]}));
}

// Each digit after the one before by its picture's width; a missing one takes no room.
TEST(NoteWall, LaysTheScoreOutDigitByDigit)
{
    CTexture board = {0, 200, 64}, digits[10];
    CWallPictures pictures{nullptr, {}, {}, &board, {}};
    for (int k = 0; k < 10; ++k) // digit k is 4 + k wide; 3 is missing
        pictures.m_Digits.push_back(k == 3 ? nullptr : &(digits[k] = {0, 4 + k, k + 2}));
    CQuadList list;
    CNoteWallImpl(kVirtualScreenWidth, kVirtualScreenHeight, 32, 24, pictures)
        .EmitScore(1234, list);
    std::vector<std::tuple<const CTexture*, float, float, float, bool>> quads; // camera last
    for (const CWallQuad& q : list.m_Quads)
        quads.emplace_back(q.m_Picture, q.m_Rect.x, q.m_Rect.y, q.m_Rect.width, q.m_UseCamera);
    const float x = kScoreNumberX, y = kScoreNumberY;
    EXPECT_EQ(quads, (decltype(quads){{&board, kScoreBackgroundX, kScoreBackgroundY, 200, false},
                                      {&digits[1], x, y, 5, false},
                                      {&digits[2], x + 5, y, 6, false},
                                      {&digits[4], x + 11, y, 8, false}}));
}

// Past 0.23 s, restarting the timer; up to 0.03 rad, 7 % zoom, 12 px, each nearly reached.
TEST(NoteWall, TwitchesOnTheFifteenthFrameFromTheRestPose)
{
    auto wall = MakeWall(false);
    EXPECT_EQ(GetCamera(), &wall->LiveCamera());
    for (int frame = 1; frame <= 16; ++frame)
        ASSERT_EQ(wall->AdvanceTwitchTimer(0.016f), frame == 15) << "frame " << frame;
    EXPECT_EQ(wall->TwitchTimer(), 0.016f);

    float most[3] = {}; // of the angle, the zoom and the offsets, each over its limit
    std::set<float> opacities;
    for (int i = 0; i < 300; ++i)
    {
        wall->Twitch();
        const CCameraTransformer& c = wall->LiveCamera();
        most[0] = std::max(most[0], std::fabs(c.m_Angle) / 0.03f);
        most[1] = std::max(most[1], (c.m_Zoom.x - 1) / 0.07f);
        most[2] = std::max({most[2], std::fabs(c.m_Position.x - 512) * c.m_Zoom.x / 12,
                            std::fabs(c.m_Position.y - 384) * c.m_Zoom.y / 12});
        opacities.insert(wall->BlackHoleOpacity(i % 5));
    }
    EXPECT_THAT(most, Each(AllOf(Gt(0.9f), Le(1.0001f)))) << "the angle, the zoom, the offsets";
    EXPECT_EQ(opacities, (std::set<float>{0.0f, 0.5f, 1.0f}));
    wall.reset();
    EXPECT_EQ(GetCamera(), nullptr) << "a gone wall's camera is not left registered";
}

// Made-up pictures make every check one pixel: white 64-pixel notes (a 12-pixel margin), a
// green background, black holes black in one texel each, digit k a white block 4 + k by k + 2
// (the score is tinted dark). The poses go far past the twitch's, showing the wall's edges.
TEST(NoteWallGl, ShowsNotesBackgroundBlackHolesAndScoreWhereTheyBelong)
{
    KORVANE_OPEN_GL_WINDOW();
    const CWallPictures game = CWallPictures::Load(); // the game's own files, all of them
    EXPECT_EQ(std::make_tuple(game.m_Notes.size(), game.m_BlackHoles.size(), game.m_Digits.size(),
                              !game.m_Background || !game.m_ScoreBackground),
              std::make_tuple(3u, 5u, 10u, false));
    const uint32_t white = ~0u, blue = Rgba(0, 60, 255, 255), green = Rgba(30, 200, 90, 255);
    CTexture note = TextureOf(FilledSurface(64, 64, white)), holes[5], digits[10];
    CTexture board = TextureOf(FilledSurface(200, 64, white)),
             background = TextureOf(FilledSurface(2, 2, green));
    CWallPictures pictures{&background, {&note, &note, &note}, {}, &board, {}};
    for (int i = 0; i < 5; ++i) // hole i: black only about (192 + 128 i, 320), 128-pixel texels
    {
        std::unique_ptr<CSurface> hole = CreateSurface(8, 6); // transparent
        hole->SetPixel(1 + i, 2, Rgba(0, 0, 0, 255));
        pictures.m_BlackHoles.push_back(&(holes[i] = TextureOf(hole)));
    }
    for (int k = 0; k < 10; ++k)
        pictures.m_Digits.push_back(&(digits[k] = TextureOf(FilledSurface(4 + k, k + 2, white))));
    std::unique_ptr<CSurface> canvas = FilledSurface(32, 24, kOrange);
    for (int c = 0; c < 9; ++c) // cells 27 to 29 x 19 to 21: blue seen in (876 to 972, 620 to 716)
        canvas->SetPixel(27 + c % 3, 19 + c / 3, blue);
    CNoteWallImpl wall(kVirtualScreenWidth, kVirtualScreenHeight, kCanvasWidth, kCanvasHeight,
                       pictures);
    auto* camera = dynamic_cast<CCameraTransformer*>(GetCamera());
    ASSERT_TRUE(camera) << "the wall draws through its own camera";
    const auto hole = [&](int i) { return wall.BlackHoleOpacity(i); };

    const auto frame = [&](float zoom, CVector2 position, float angle, int score)
    {
        camera->m_Zoom = CVector2(zoom, zoom);
        camera->m_Position = position;
        camera->SetAngle(angle);
        wall.Frame(canvas.get(), 0.0f, score);
        const auto placed = [&](float x, float y) // zoomed about the screen centre, shifted, turned
        {
            const std::complex<float> d((x - 512) * zoom + position.x - 512,
                                        (y - 384) * zoom + position.y - 384);
            const std::complex<float> p = d * std::polar(1.0f, angle);
            return CVector2(512 + p.real(), 384 + p.imag());
        };
        std::vector<std::tuple<CVector2, uint32_t, std::string>> checks = {
            {placed(200, 200), kOrange, "a note"},
            {placed(924, 668), blue, "the blue notes"},
            {placed(540, 791), green, "the background below the notes"},
            {placed(540, 813), 0, "nothing below the background"},
            {placed(1047, 400), green, "the background right of the notes"},
            {placed(1069, 400), 0, "nothing right of the background"},
            {CVector2(1, 1), kOrange, "a note in the corner, no stray digit"},
            {CVector2(kScoreBackgroundX + 7, kScoreBackgroundY + 6), white, "score board"}};
        for (int i = 0; i < 5; ++i) // over orange notes, darkened by the hole's opacity
            checks.push_back(
                {CVector2(192 + 128 * i, 320),
                 Rgba(255 * (1 - hole(i)), 167 * (1 - hole(i)), 107 * (1 - hole(i)), 0),
                 "black hole " + std::to_string(i)});
        float x = kScoreNumberX, y = kScoreNumberY; // where the score's number starts
        for (const char c : std::to_string(score))
        {
            checks.push_back({CVector2(x + 1, y + 1 + c - '0'), 0, std::string("digit ") + c});
            checks.push_back({CVector2(x + 1, y + 2 + c - '0'), white, std::string("under ") + c});
            x += 4 + c - '0';
        }
        for (const auto& [at, rgb, what] : checks)
            EXPECT_TRUE(Shows(std::lround(at.x), std::lround(at.y), rgb))
                << what << " at " << at.x << ", " << at.y << ", score " << score;
    };
    frame(1.05f, {412, 344}, 0.3f, 0); // no black hole yet
    const auto rolled = [&] {
        return std::set<float>{hole(0), hole(1), hole(2), hole(3), hole(4)};
    };
    for (int n = 0; n < 100 && rolled().size() < 3; ++n)
        ASSERT_TRUE(wall.AdvanceTwitchTimer(0.24f));
    ASSERT_EQ(rolled(), (std::set<float>{0.0f, 0.5f, 1.0f})) << "no twitch in 100 rolled them all";
    frame(1.1f, {442, 284}, -0.25f, 1234567890);
}
