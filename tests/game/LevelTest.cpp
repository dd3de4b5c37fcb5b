#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "Support.h"
#include "actors/FireBulletInterface.h"
#include "actors/Particle.h"
#include "canvas/Surface.h"
#include "game/Level.h"
#include "game/PatternGenerator.h"
#include "util/Random.h"

namespace
{

struct CShot
{
    CVector2 position;
    int code;
    float speed;
};

/// Records the level's shots and keeps the particles of its explosions.
class CRecordingGameplay : public IFireBulletInterface
{
public:
    void FireLevelBullet(const CVector2& position, int code, float speed) override
    {
        m_Shots.push_back({position, code, speed});
    }
    CParticleList* GetParticles() override
    {
        ++m_ParticleRequests;
        return &m_Particles;
    }

    std::vector<CShot> m_Shots;
    CParticleList m_Particles;
    int m_ParticleRequests = 0;
};

/// A level on a hand-made grid (or a generated one) whose beat phase the test holds.
struct CLevelFixture
{
    explicit CLevelFixture(int number = 0) : level(number)
    {
        level.SetBeatSourceForTest([this]() { return beat; });
    }
    CLevelFixture(int number, const std::vector<std::pair<CPoint, int32_t>>& cells)
        : CLevelFixture(number)
    {
        CCellGrid grid(12, 8);
        for (const auto& [cell, value] : cells)
            grid.At(cell.x, cell.y) = value;
        level.SetGridForTest(grid);
    }
    void Enter()
    {
        while (level.EntryTimer() < 0.0f)
            level.Update(kDt, gameplay);
    }
    /// One frame; answers whether it fired.
    bool Step()
    {
        const size_t shots = gameplay.m_Shots.size();
        level.Update(kDt, gameplay);
        UpdateParticles(gameplay.m_Particles, kDt);
        return gameplay.m_Shots.size() != shots;
    }

    bool beat = false;
    CLevel level;
    CRecordingGameplay gameplay;
};

uint32_t Bits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

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
        EXPECT_EQ(Bits(level.FireInterval()), interval[n]) << "level " << n;
        EXPECT_EQ(Bits(level.ShotSpeed()), speed[n]) << "level " << n;
    }
}

TEST(Level, SlidesInWithoutFiringOrBeingHit)
{
    CLevelFixture f;
    std::vector<int> xs;
    while (f.level.EntryTimer() < 0.0f)
    {
        EXPECT_FALSE(f.level.Hit(CPoint{6, 4}));
        f.Step();
        xs.push_back(f.level.Origin().x);
        EXPECT_EQ(f.level.Origin().y, 8);
    }
    ASSERT_EQ(xs.size(), 125u);
    EXPECT_EQ(xs.front(), 37);
    EXPECT_EQ(xs[123], 18);
    EXPECT_EQ(xs[124], 17); // the timer has just passed 0
    EXPECT_TRUE(f.gameplay.m_Shots.empty());
    EXPECT_EQ(f.gameplay.m_ParticleRequests, 0);

    // Next: circling at radius 1, angle 0.04, and the first shot (the countdown starts at 0).
    EXPECT_TRUE(f.Step());
    EXPECT_EQ(f.level.Origin().x, 18);
    EXPECT_EQ(f.level.Origin().y, 8);
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
    std::vector<std::pair<CPoint, int32_t>> cells;
    for (int i = 0; i < 9; ++i)
        cells.push_back({{i, 2}, cases[i].value});
    CLevelFixture f(0, cells);
    f.Enter();
    const uint32_t sentinel = 0x12345678u;
    for (bool beat : {true, false})
    {
        f.beat = beat;
        f.Step();
        ASSERT_EQ(f.level.BeatPhase(), beat);
        auto canvas = CreateSurface(32, 24);
        for (int i = 0; i < 32 * 24; ++i)
            canvas->SetPixel(i % 32, i / 32, sentinel);
        f.level.Draw(*canvas);

        const CPoint o = f.level.Origin();
        int expectedTouched = 0;
        for (int i = 0; i < 9; ++i)
        {
            const char want = beat ? cases[i].onBeat : cases[i].offBeat;
            const uint32_t expected = want == 'c'   ? f.level.Color().ToPixel()
                                      : want == 'w' ? 0xFFFFFFFFu
                                                    : sentinel;
            EXPECT_EQ(canvas->GetPixel(o.x + i, o.y + 2), expected) << cases[i].value;
            expectedTouched += want != '-';
        }
        int touched = 0;
        for (int i = 0; i < 32 * 24; ++i)
            touched += canvas->GetPixel(i % 32, i / 32) != sentinel;
        EXPECT_EQ(touched, expectedTouched);
    }
}

TEST(Level, FiresFromAnArmedGunElseACoreElseTheMiddle)
{
    const struct
    {
        const char* name;
        std::vector<std::pair<CPoint, int32_t>> cells;
        bool beat;
        CPoint from;
        int code;
    } cases[] = {
        {"armed gun", {{{4, 6}, kCellGun | kCellLimbB}, {{8, 6}, kCellCore}}, false, {4, 6}, 2},
        {"core first in its row",
         {{{2, 6}, kCellCore}, {{8, 6}, kCellGun | kCellLimbB}},
         false,
         {2, 6},
         3},
        {"gun on the absent limb",
         {{{4, 6}, kCellGun | kCellLimbB}, {{7, 6}, kCellCore}},
         true,
         {7, 6},
         3},
        {"absent limb, no core", {{{4, 6}, kCellGun | kCellLimbB}}, true, {6, 4}, 2},
        {"lone gun bit", {{{4, 6}, kCellGun}}, false, {6, 4}, 2},
    };
    for (const auto& c : cases)
    {
        CLevelFixture f(4, c.cells);
        f.beat = c.beat;
        f.Enter();
        ASSERT_TRUE(f.Step()) << c.name;
        const CShot& shot = f.gameplay.m_Shots.back();
        const CPoint o = f.level.Origin();
        EXPECT_EQ(shot.position, CVector2(float(o.x + c.from.x), float(o.y + c.from.y))) << c.name;
        EXPECT_EQ(shot.code, c.code) << c.name;
        EXPECT_EQ(shot.speed, 17.25f) << c.name;
    }
}

TEST(Level, ShotsLeaveEveryIntervalFromShuffledRows)
{
    // Frames between shots in single precision, per level.
    for (auto [number, frames] : {std::pair{0, 125}, {3, 94}, {5, 71}, {7, 53}})
    {
        std::vector<std::pair<CPoint, int32_t>> cells;
        for (int y : {1, 3, 6})
            for (int x : {2, 9}) // column 9 is never chosen: 2 comes first in the row
                cells.push_back({{x, y}, kCellGun | kCellLimbB});
        tarn::test::SeedRandom(31u, 5.0);
        CLevelFixture f(number, cells);
        f.Enter();
        int last = 0;
        int fromRow[8] = {};
        for (int frame = 1; frame <= 30 * frames + 1; ++frame)
        {
            if (!f.Step())
                continue;
            EXPECT_EQ(frame - last, last == 0 ? 1 : frames) << "level " << number;
            last = frame;
            const CVector2 p = f.gameplay.m_Shots.back().position;
            ASSERT_EQ(int(p.x) - f.level.Origin().x, 2);
            ++fromRow[int(p.y) - f.level.Origin().y];
        }
        EXPECT_EQ(fromRow[1] + fromRow[3] + fromRow[6], 31);
        EXPECT_GE(fromRow[1] * fromRow[3] * fromRow[6], 1) << "a row never fired";
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
        const int requests = f.gameplay.m_ParticleRequests;
        EXPECT_FALSE(f.Step()) << "a cleared creature fired";
        const int gone = solid - SolidCells(f.level.Grid());
        ASSERT_TRUE(gone == 0 || gone == 1) << "frame " << frame;
        EXPECT_EQ(f.gameplay.m_ParticleRequests - requests, gone); // a burst per removed cell
        solid -= gone;
        removed += gone;
        EXPECT_EQ(f.level.Origin().y, int(8.0f + f.level.ClearedTime() * 6.0f));
    }
    EXPECT_GT(removed, 5);
    EXPECT_GT(f.level.ClearedTime(), 2.5f); // 157 frames after the clear
}
