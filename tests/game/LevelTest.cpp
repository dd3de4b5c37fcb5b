#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "Support.h"
#include "canvas/Surface.h"
#include "game/Level.h"
#include "game/PatternGenerator.h"
#include "util/Random.h"

namespace
{
using Cells = std::vector<std::pair<CPoint, int32_t>>;

/// A level on a hand-made 12 x 8 grid (or the generated one) whose beat phase the test holds.
struct CLevelFixture
{
    explicit CLevelFixture(int number = 0, const Cells& cells = {}) : level(number)
    {
        level.SetBeatSourceForTest([this]() { return beat; });
        CCellGrid grid(12, 8);
        for (const auto& [cell, value] : cells)
            grid.At(cell.x, cell.y) = value;
        if (!cells.empty())
            level.SetGridForTest(grid);
    }
    void Enter()
    {
        while (level.EntryTimer() < 0.0f)
            level.Update(kDt, gameplay);
    }
    /// One frame of the level and its particles; answers whether it fired.
    bool Step()
    {
        const size_t shots = gameplay.m_LevelShots.size();
        const size_t particles = gameplay.m_Particles.size();
        level.Update(kDt, gameplay);
        burst = gameplay.m_Particles.size() > particles;
        UpdateParticles(gameplay.m_Particles, kDt);
        return gameplay.m_LevelShots.size() != shots;
    }

    bool beat = false;
    bool burst = false; ///< Whether the last step made an explosion.
    CLevel level;
    CFakeGameplay gameplay;
};

int SolidCells(const CCellGrid& grid)
{
    int count = 0;
    for (int y = 0; y < grid.Height(); ++y)
        for (int x = 0; x < grid.Width(); ++x)
            count += grid.At(x, y) != 0;
    return count;
}
} // namespace

TEST(Level, DifficultyRisesEveryOtherLevelToTheBit)
{
    // Float bits of the fire interval and the shot speed for levels 0 to 10.
    const uint32_t interval[] = {0x40000000, 0x40000000, 0x40000000, 0x3FC00000,
                                 0x3FC00000, 0x3F900000, 0x3F900000, 0x3F580000,
                                 0x3F580000, 0x3F220000, 0x3F220000};
    const uint32_t speed[] = {0x41700000, 0x41700000, 0x41700000, 0x41700000,
                              0x418A0000, 0x418A0000, 0x419EB333, 0x419EB333,
                              0x41B68147, 0x41B68147, 0x41D1E178};
    for (int n = 0; n <= 10; ++n)
    {
        const CLevel level(n);
        const float values[2] = {level.FireInterval(), level.ShotSpeed()};
        uint32_t bits[2];
        std::memcpy(bits, values, sizeof bits);
        EXPECT_EQ(bits[0], interval[n]) << "level " << n;
        EXPECT_EQ(bits[1], speed[n]) << "level " << n;
    }
}

// For two seconds the creature slides in from x = 37 to 17, not firing; then it fires at once
// and every interval (in whole frames), from the first gun of a shuffled row.
TEST(Level, SlidesInThenFiresEveryIntervalFromShuffledRows)
{
    for (auto [number, frames] : {std::pair{0, 125}, {3, 94}, {5, 71}, {7, 53}})
    {
        Cells cells;
        for (int y : {1, 3, 6})
            for (int x : {2, 9}) // column 9 is never chosen: 2 comes first in the row
                cells.push_back({{x, y}, kCellGun | kCellLimbB});
        tarn::test::SeedRandom(31u, 5.0);
        CLevelFixture f(number, cells);
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
            const CPoint o = f.level.Origin();
            const CVector2 p = f.gameplay.m_LevelShots.back().position;
            ASSERT_EQ(int(p.x) - o.x, 2);
            ++fromRow[int(p.y) - o.y];
        }
        EXPECT_EQ(fromRow[1] + fromRow[3] + fromRow[6], 31);
        EXPECT_GE(fromRow[1] * fromRow[3] * fromRow[6], 1) << "a row never fired";
    }
}

TEST(Level, HitTestsLimbThenBodyThenRingThenCore)
{
    const struct
    {
        CPoint cell;
        int32_t value, after;
        float radius;
        bool cleared;
    } cases[] = {
        {{3, 5}, kCellBody | kCellRing, 0, 1.0f, false}, // 6: removed without widening
        {{3, 5}, kCellRing, 0, 2.0f, false},
        {{3, 5}, kCellCore, 0, 1.0f, true},
        {{3, 5}, kCellCore | kCellRing, 0, 2.0f, false},
        {{3, 5}, kCellLimbA | kCellBody, 0, 1.0f, false},
        {{3, 5}, kCellLimbB | kCellGun, 0, 1.0f, false},
        {{3, 5}, kCellGun, kCellGun, 1.0f, false},    // a lone gun bit stays
        {{12, 0}, kCellCore, kCellCore, 1.0f, false}, // outside; At(12, 0) would alias (0, 1)
    };
    for (const auto& c : cases)
    {
        const CPoint stored = c.cell.x == 12 ? CPoint{0, 1} : c.cell;
        CLevelFixture f(0, {{stored, c.value}});
        f.Enter();
        EXPECT_TRUE(f.level.Hit(c.cell)) << "value " << c.value;
        EXPECT_EQ(f.level.Grid().At(stored.x, stored.y), c.after) << "value " << c.value;
        EXPECT_EQ(f.level.WobbleRadius(), c.radius) << "value " << c.value;
        EXPECT_EQ(f.level.Cleared(), c.cleared) << "value " << c.value;
    }
}

TEST(Level, DrawsCellsByTheBeatMask)
{
    const struct
    {
        int32_t value;
        char onBeat, offBeat; // c level colour, w white, - untouched
    } cases[] = {
        {kCellRing, 'c', 'c'},
        {kCellBody, 'c', 'c'},
        {kCellLimbA, 'c', '-'},
        {kCellLimbB, '-', 'c'},
        {kCellGun, '-', '-'},
        {kCellGun | kCellLimbA, 'c', '-'},
        {kCellCore, 'w', 'w'},
        {kCellCore | kCellLimbA, 'c', 'w'},
        {kCellCore | kCellLimbB, 'w', 'c'},
    };
    Cells cells;
    for (int i = 0; i < 9; ++i)
        cells.push_back({{i, 2}, cases[i].value});
    CLevelFixture f(0, cells);
    f.Enter();
    for (bool beat : {true, false})
    {
        f.beat = beat;
        f.Step();
        ASSERT_EQ(f.level.BeatPhase(), beat);
        const uint32_t unset = 0x12345678u;
        auto canvas = FilledSurface(32, 24, unset);
        f.level.Draw(*canvas);
        int touched = 0;
        for (int i = 0; i < 32 * 24; ++i)
            touched += canvas->GetPixel(i % 32, i / 32) != unset;
        for (int i = 0; i < 9; ++i)
        {
            const char want = beat ? cases[i].onBeat : cases[i].offBeat;
            const uint32_t expected = want == 'c'   ? f.level.Color().ToPixel()
                                      : want == 'w' ? 0xFFFFFFFFu
                                                    : unset;
            const CPoint o = f.level.Origin();
            EXPECT_EQ(canvas->GetPixel(o.x + i, o.y + 2), expected) << cases[i].value;
            touched -= want != '-';
        }
        EXPECT_EQ(touched, 0) << "pixels drawn beside the cells";
    }
}

TEST(Level, FiresFromAnArmedGunElseACoreElseTheMiddle)
{
    const int32_t gun = kCellGun | kCellLimbB; // armed while the beat phase is clear
    const struct
    {
        Cells cells;
        bool beat;
        CPoint from;
        int code;
    } cases[] = {
        {{{{4, 6}, gun}, {{8, 6}, kCellCore}}, false, {4, 6}, 2},
        {{{{2, 6}, kCellCore}, {{8, 6}, gun}}, false, {2, 6}, 3}, // first in its row
        {{{{4, 6}, gun}, {{7, 6}, kCellCore}}, true, {7, 6}, 3},  // the gun's limb is absent
        {{{{4, 6}, gun}}, true, {6, 4}, 2},                       // no armed gun, no core
        {{{{4, 6}, kCellGun}}, false, {6, 4}, 2},                 // a lone gun bit
    };
    for (const auto& c : cases)
    {
        CLevelFixture f(4, c.cells);
        f.beat = c.beat;
        f.Enter();
        ASSERT_TRUE(f.Step());
        const CFakeGameplay::SShot& shot = f.gameplay.m_LevelShots.back();
        const CPoint o = f.level.Origin();
        EXPECT_EQ(shot.position, CVector2(float(o.x + c.from.x), float(o.y + c.from.y)));
        EXPECT_EQ(shot.code, c.code) << c.from.x << ", " << c.from.y;
        EXPECT_EQ(shot.speed, 17.25f);
    }
}

TEST(Level, ClearedCreatureBurstsSinksAndCrumblesOneCellAFrame)
{
    tarn::test::SeedRandom(2024u, 77.0);
    CLevelFixture f;
    f.Enter();
    EXPECT_TRUE(f.Step());
    CPoint core{-1, -1};
    for (int i = 0; i < 96 && core.x < 0; ++i)
        if (f.level.Grid().At(i % 12, i / 12) == kCellCore)
            core = CPoint{i % 12, i / 12};
    ASSERT_TRUE(f.level.Hit(core));
    ASSERT_TRUE(f.level.Cleared());

    f.level.Update(kDt, f.gameplay);
    EXPECT_EQ(f.level.ClearedTime(), kDt);
    EXPECT_GE(f.gameplay.m_Particles.size(), 30u); // the ring, maybe a first large burst
    int solid = SolidCells(f.level.Grid());
    int removed = 0;
    for (int frame = 0; frame < 156; ++frame)
    {
        EXPECT_FALSE(f.Step()) << "a cleared creature fired";
        const int gone = solid - SolidCells(f.level.Grid());
        ASSERT_TRUE(gone == 0 || gone == 1) << "frame " << frame;
        EXPECT_EQ(f.burst, gone == 1) << "a burst per removed cell, frame " << frame;
        solid -= gone;
        removed += gone;
        EXPECT_EQ(f.level.Origin().y, int(8.0f + f.level.ClearedTime() * 6.0f));
    }
    EXPECT_GT(removed, 5);
}
