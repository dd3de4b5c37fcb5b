#include <cmath>
#include <set>
#include <tuple>

#include "Support.h"
#include "audio/Audio.h"
#include "canvas/Sprite.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"
#include "game/Level.h"
#include "game/PatternGenerator.h"
#include "util/Random.h"

namespace
{
using Cells = std::vector<std::pair<CPoint, int32_t>>;
const int32_t kArmedGun = kCellGun | kCellLimbB; // armed while the beat phase is clear

CCellGrid Grid(const Cells& cells)
{
    CCellGrid grid(12, 8);
    for (const auto& [cell, value] : cells)
        grid.At(cell.x, cell.y) = value;
    return grid;
}

/// A level on a hand-made grid (entered unless asked not to) with a beat phase held.
struct CLevelFixture
{
    CLevelFixture(int number, const Cells& cells, bool enter = true)
        : level(number, Grid(cells), [] { return beat; })
    {
        beat = false;
        while (enter && level.EntryTimer() < 0.0f)
            level.Update(kDt, gameplay);
    }
    bool Step()
    {
        const size_t shots = gameplay.m_LevelShots.size();
        level.Update(kDt, gameplay);
        return gameplay.m_LevelShots.size() != shots;
    }

    static inline bool beat = false; ///< Read by the level's beat source.
    CLevel level;
    CFakeGameplay gameplay;
};

using Marks = std::set<std::pair<int, int>>;

Marks Marked(const CCellGrid& grid)
{
    Marks marked;
    for (int i = 0; i < grid.Width() * grid.Height(); ++i)
        if (grid.At(i % grid.Width(), i / grid.Width()) != 0)
            marked.insert({i % grid.Width(), i / grid.Width()});
    return marked;
}

/// The first seed whose two coins come out as asked (the table is random per run).
int SeedFor(bool first, bool second)
{
    int s = 0;
    while (s < 4096 && !(Coin(s) == first && Coin(s + 1) == second))
        ++s;
    EXPECT_LT(s, 4096);
    return s;
}

bool HasNeighbour(const CCellGrid& grid, int x, int y, int32_t value, bool diagonal)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if ((dx != 0 || dy != 0) && (diagonal || dx == 0 || dy == 0) &&
                grid.InRange(x + dx, y + dy) && grid.At(x + dx, y + dy) == value)
                return true;
    return false;
}

using Gameplay = CVideoTest;

/// Frames until the creature has slid in (it cannot be hit before).
void RunEntry(CGameplayImpl& game)
{
    while (game.Level().EntryTimer() < 0.0f)
        game.Update(kDt);
}
} // namespace

// From x = 37 to 17 in 2 s, silent; interval, speed step up every other level from 3, 4.
TEST(Level, SlidesInThenFiresEveryIntervalFromShuffledRows)
{
    const std::tuple<int, int, float> levels[] = {
        {0, 125, 15.0f}, {3, 94, 15.0f}, {7, 53, 0x1.3d6666p+4f}, {10, 40, 0x1.a3c2fp+4f}};
    for (const auto& [number, frames, speed] : levels)
    {
        tarn::SeedRandom(31u, 5.0);
        Cells guns; // column 9 is never chosen: 2 comes first in the row
        for (int y : {1, 3, 6})
            guns.insert(guns.end(), {{{2, y}, kArmedGun}, {{9, y}, kArmedGun}});
        CLevelFixture f(number, guns, false);
        std::vector<int> xs;
        for (; f.level.EntryTimer() < 0.0f; xs.push_back(f.level.Origin().x))
            EXPECT_FALSE(f.Step());
        ASSERT_EQ(xs.size(), 125u);
        EXPECT_EQ((std::vector<int>{xs[0], xs[123], xs[124]}), (std::vector<int>{37, 18, 17}));
        int last = 0, fromRow[8] = {};
        for (int frame = 1; frame <= 30 * frames + 1; ++frame)
        {
            if (!f.Step())
                continue;
            EXPECT_EQ(frame - last, last == 0 ? 1 : frames) << "level " << number;
            last = frame;
            const auto& shot = f.gameplay.m_LevelShots.back();
            const int x = int(shot.position.x) - f.level.Origin().x;
            ASSERT_EQ(std::make_pair(shot.speed, x), std::make_pair(speed, 2));
            ++fromRow[int(shot.position.y) - f.level.Origin().y];
        }
        EXPECT_EQ(fromRow[1] + fromRow[3] + fromRow[6], 31);
        EXPECT_GE(fromRow[1] * fromRow[3] * fromRow[6], 1) << "a row never fired";
    }
}

// At 2.5 rad/s, radius 1, clockwise: int() steps the origin about four cells, one a quarter turn.
TEST(Level, CirclesItsRestPlaceWhileItFights)
{
    CLevelFixture f(0, {});
    std::vector<std::tuple<int, int, int>> moves; // frame, then the origin it moved to
    for (int frame = 1; frame <= 160; ++frame)
    {
        const CPoint before = f.level.Origin();
        f.Step();
        if (f.level.Origin().x != before.x || f.level.Origin().y != before.y)
            moves.emplace_back(frame, f.level.Origin().x, f.level.Origin().y);
    }
    EXPECT_EQ(moves, (std::vector<std::tuple<int, int, int>>{
                         {1, 18, 8}, {40, 17, 8}, {79, 17, 7}, {118, 18, 7}, {158, 18, 8}}));
}

// A ring widens the wobble, a core clears; a lone gun bit stays; a point outside breaks nothing.
TEST(Level, HitTestsLimbThenBodyThenRingThenCore)
{
    // The cell's value, the point hit (x 12 is outside), the value after, wobble, cleared.
    const std::tuple<int32_t, int, int32_t, float, bool> cases[] = {
        {kCellBody | kCellRing, 0, 0, 1.0f, false},
        {kCellRing, 0, 0, 2.0f, false},
        {kCellCore, 0, 0, 1.0f, true},
        {kCellCore | kCellRing, 0, 0, 2.0f, false},
        {kCellLimbA | kCellBody, 0, 0, 1.0f, false},
        {kCellLimbB | kCellGun, 0, 0, 1.0f, false},
        {kCellGun, 0, kCellGun, 1.0f, false},
        {kCellCore, 12, kCellCore, 1.0f, false}};
    for (const auto& [value, x, after, radius, cleared] : cases)
    {
        CLevelFixture f(0, {{{0, 1}, value}});
        const bool hit = f.level.Hit(CPoint{x, x ? 0 : 1});
        EXPECT_EQ(std::make_tuple(hit, f.level.Grid().At(0, 1), f.level.WobbleRadius(),
                                  f.level.Cleared()),
                  std::make_tuple(true, after, radius, cleared))
            << "value " << value;
    }
}

TEST(Level, DrawsCellsByTheBeatMask)
{
    const int32_t A = kCellLimbA, B = kCellLimbB, C = kCellCore;
    const int32_t values[] = {kCellRing, kCellBody, A, B, kCellGun, kCellGun | A, C, C | A, C | B};
    // On and off the beat: c level colour, w white, - untouched (the last, an empty cell).
    const char* wanted[] = {"ccc--cwcw-", "cc-c--wwc-"};
    Cells cells;
    for (int i = 0; i < 9; ++i)
        cells.push_back({{i, 2}, values[i]});
    CLevelFixture f(0, cells);
    for (bool beat : {true, false})
    {
        f.beat = beat;
        f.Step();
        auto canvas = FilledSurface(32, 24, 0x12345678u);
        f.level.Draw(*canvas);
        const uint32_t colours[] = {f.level.Color().ToPixel(), ~0u, 0x12345678u}; // c, w, -
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(canvas->GetPixel(f.level.Origin().x + i, f.level.Origin().y + 2),
                      colours[std::string("cw-").find(wanted[beat ? 0 : 1][i])])
                << "cell " << i << " beat " << beat;
    }
}

TEST(Level, FiresFromAnArmedGunElseACoreElseTheMiddle)
{
    const std::tuple<Cells, bool, CVector2, int> cases[] = {
        {{{{4, 6}, kArmedGun}, {{8, 6}, kCellCore}}, false, {4, 6}, 2},
        {{{{2, 6}, kCellCore}, {{8, 6}, kArmedGun}}, false, {2, 6}, 3}, // first in its row
        {{{{4, 6}, kArmedGun}, {{7, 6}, kCellCore}}, true, {7, 6}, 3},  // the gun's limb is absent
        {{{{4, 6}, kCellGun}}, false, {6, 4}, 2}};                      // a lone gun bit, no core
    for (const auto& [cells, beat, from, code] : cases)
    {
        CLevelFixture f(4, cells);
        f.beat = beat;
        ASSERT_TRUE(f.Step());
        const CFakeGameplay::SShot& shot = f.gameplay.m_LevelShots.back();
        const CPoint o = f.level.Origin();
        EXPECT_EQ(std::make_tuple(shot.position, shot.code, shot.speed),
                  std::make_tuple(from + CVector2(o.x, o.y), code, 17.25f));
    }
}

// It sinks at 6 px/s and crumbles at most a cell a frame, from any row, within 2 000 frames.
TEST(Level, AClearedCreatureSinksAndCrumblesAway)
{
    Cells cells = {{{0, 0}, kCellCore}};
    for (int i = 1; i < 96; ++i)
        cells.push_back({{i % 12, i / 12}, kCellBody});
    CLevelFixture f(0, cells);
    ASSERT_TRUE(f.level.Hit(CPoint{0, 0}));
    for (size_t n = 0, left = 95; n < 2000; ++n)
    {
        f.level.Update(kDt, f.gameplay);
        const size_t now = Marked(f.level.Grid()).size();
        ASSERT_THAT(now, AnyOf(left, left - 1)) << n;
        left = now;
        ASSERT_EQ(f.level.Origin().y, int(8.0f + f.level.ClearedTime() * 6.0f));
    }
    EXPECT_TRUE(Marked(f.level.Grid()).empty());
}

TEST(CellGrid, ElbowsAndLines)
{
    // A line, or an elbow marking the start (i) or not (o), x or y first; from, to; the marks.
    const std::tuple<const char*, int, int, int, int, Marks> cases[] = {
        {"ix", 1, 1, 4, 3, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}}},
        {"oy", 6, 2, 3, 3, {{5, 3}, {4, 3}, {3, 3}}}, // start outside the grid
        {"line", 0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {"line", 0, 0, -2, 4, {{0, 0}, {0, 1}}}}; // x = -0.5 truncates to column 0
    for (const auto& [kind, x0, y0, x1, y1, expected] : cases)
    {
        CCellGrid grid(6, 8);
        if (kind[0] == 'l')
            grid.DrawLine(x0, y0, x1, y1, 32);
        else
            grid.DrawElbow(x0, y0, x1, y1, 16, SeedFor(kind[0] == 'i', kind[1] == 'x'));
        EXPECT_EQ(Marked(grid), expected) << kind << " to (" << x1 << ", " << y1 << ")";
    }
}

TEST(PatternGenerator, EveryCreatureKeepsItsInvariants)
{
    int bodyAndRing = 0, stackedCores = 0;
    for (uint32_t seed = 1; seed <= 2000; ++seed)
    {
        tarn::SeedRandom(seed, 1.0 + seed * 7919.0);
        const CCellGrid grid = GeneratePattern();
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        int pureLimbs = 0, cores = 0;
        for (int i = 0; i < 96; ++i)
        {
            const int x = i % 12, y = i / 12, v = grid.At(x, y);
            ASSERT_EQ(v, grid.At(11 - x, y)) << x << ", " << y;
            pureLimbs += v == kCellLimbA;
            cores += (v & kCellCore) != 0;
            // Cores whole in (2 ... 4, 1 ... 3) a half; rings touch cores; bodies by cores ring.
            ASSERT_TRUE(!(v & kCellCore) || (v == kCellCore && y >= 1 && y <= 4 && x >= 2))
                << "core " << v << " at " << x << ", " << y;
            if (v & kCellRing)
                ASSERT_TRUE(HasNeighbour(grid, x, y, kCellCore, true)) << x << ", " << y;
            if ((v & kCellBody) && HasNeighbour(grid, x, y, kCellCore, false))
                ASSERT_EQ(v & kCellRing, kCellRing) << v << " by a core at " << x << ", " << y;
            bodyAndRing += v == (kCellBody | kCellRing);
            stackedCores += v == kCellCore && y < 7 && grid.At(x, y + 1) == kCellCore;
        }
        ASSERT_GE(std::min(pureLimbs, cores), 2) << pureLimbs << " limbs, " << cores << " cores";
    }
    // The rules above must not hold only vacuously; cores fill both rows of their area.
    EXPECT_THAT((std::vector<int>{bodyAndRing, stackedCores}), Each(Gt(100)));
}

// Cleared, it bursts into a ring and never fires; the next level comes on the 157th frame.
TEST_F(Gameplay, AClearedCreatureIsReplacedOnThe157thFrame)
{
    CGameplayImpl game;
    RunEntry(game);
    int core = 0;
    while (!(game.Level().Grid().At(core % 12, core / 12) & kCellCore))
        ++core;
    // A hit between frames is one in the last frame's bullet update (the level updates first).
    ASSERT_TRUE(game.Level().Hit(CPoint{core % 12, core / 12}));
    game.Update(kDt);
    EXPECT_FLOAT_EQ(game.WallIntensity(), 1.016f);
    EXPECT_GE(game.Particles().size(), 30u) << "the ring";
    for (int frame = 2; frame <= 156; ++frame)
    {
        game.Update(kDt);
        ASSERT_EQ(game.LevelCount(), 0) << frame;
        ASSERT_TRUE(game.Bullets().empty()) << "a cleared creature fired";
    }
    game.Update(kDt);
    EXPECT_EQ(game.LevelCount(), 1);
    EXPECT_EQ(game.Level().EntryTimer(), -2.0f) << "made at the end of the frame";
}

TEST_F(Gameplay, APlayerShotBreaksOneCellWithABurstOnItButIsOnlySpentWhileTheLevelEnters)
{
    for (bool entered : {false, true})
    {
        CCellGrid wall(12, 8); // solid from column 6 on
        for (int i = 0; i < 6 * 8; ++i)
            wall.At(6 + i % 6, i / 6) = kCellBody;
        CGameplayImpl game(nullptr, std::make_unique<CLevel>(0, wall, GetBeatFlag));
        game.Player().Sprite()->SetImage(FilledSurface(4, 8, 0xFF00FF00u));
        if (entered)
            RunEntry(game);
        game.Update(kDt);
        game.FirePlayerBullet();
        float burstX = -100.0f; // where the newest particle of the burst first shows
        // Level shots (after the entry) take longer to leave than the player's shot.
        for (int frame = 0; !game.Bullets().empty() && frame < 100; ++frame)
        {
            if (!entered)
                ASSERT_LT(frame, 50) << "not stopped by the creature";
            game.Update(kDt);
            if (burstX == -100.0f && !game.Particles().empty())
                burstX = game.Particles().back()->m_Position.x;
            for (const auto& b : game.Bullets()) // the picture goes with the shot
                ASSERT_EQ(b->m_Sprite->m_X, CentredCorner(b->m_Position.x, b->m_Sprite->m_W));
        }
        EXPECT_EQ(Marked(game.Level().Grid()).size(), entered ? 47u : 48u);
        EXPECT_EQ(std::fabs(burstX - (game.Level().Origin().x + 6)) < 4.0f, entered) << burstX;
    }
}

// Shots vanish with the hit (no burst); only strictly after the fade-in a key ends it.
TEST_F(Gameplay, AfterTheHitShotsVanishTheDeathPictureFadesInAndOnlyThenAKeyEndsTheGameplay)
{
    for (int framesAfterHit : {61, 62})
    {
        auto made = std::make_unique<CGameplayImpl>(FilledSurface(32, 24, 0xFFFFFFFFu), nullptr);
        CGameplayImpl& game = *made;
        CGameplay gameplay(std::move(made));
        game.Player().Sprite()->SetImage(FilledSurface(4, 8, 0xFF00FF00u));
        game.Update(kDt); // the player's picture covers x 2 ... 5, y 7 ... 14
        game.FireLevelBullet(CVector2(1.0f, 11.0f), CBullet::kShooterLevelGun, 15.0f);
        game.FireLevelBullet(CVector2(1.0f, 12.0f), CBullet::kShooterLevelGun, 15.0f);
        game.Update(kDt);
        ASSERT_TRUE(game.PlayerHit());
        EXPECT_EQ(std::make_tuple(game.Particles().size(), game.Bullets()[0]->m_Dead,
                                  game.Bullets()[1]->m_Dead),
                  std::make_tuple(size_t{0}, true, true))
            << "no burst; the shot that hit and the next gone";
        game.FireLevelBullet(CVector2(20.0f, 11.0f), CBullet::kShooterLevelCore, 15.0f);
        for (int n = 0; n < framesAfterHit; ++n)
            gameplay.Update(kDt);
        EXPECT_EQ(game.Bullets().size(), 0u) << framesAfterHit;
        const bool over = framesAfterHit >= 62;
        EXPECT_EQ(game.DeathOverlayAlpha(), over ? 1.0f : game.DeathTime());
        EXPECT_EQ(CountPixels(game.Canvas(), ~0u) == 32 * 24, over) << framesAfterHit;
        gameplay.KeyDown(kButtonUp);
        EXPECT_EQ(gameplay.IsOver(), over) << framesAfterHit;
        EXPECT_TRUE(game.Player().IsHeld(kButtonUp)) << "the key still reached the player";
    }
    CGameplay unhurt;
    unhurt.KeyDown(kButtonFire);
    EXPECT_FALSE(unhurt.IsOver());
}
