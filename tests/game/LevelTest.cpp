#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "actors/Particle.h"
#include "canvas/Surface.h"
#include "game/FireBulletInterface.h"
#include "game/Level.h"
#include "game/PatternGenerator.h"
#include "util/Random.h"

namespace
{
constexpr float kDt = 0.016f;

/// Records the level's shots and keeps the particles its explosions make.
class CRecordingGameplay : public IFireBulletInterface
{
public:
    struct CShot
    {
        CVector2 position;
        int code;
        float speed;
    };

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

/// A level whose beat phase the test holds, already past its entry.
struct CLevelFixture
{
    explicit CLevelFixture(int number = 0) : level(number)
    {
        level.SetBeatSourceForTest([this]() { return beat; });
    }
    void Enter()
    {
        while (level.EntryTimer() < 0.0f)
            level.Update(kDt, gameplay);
        gameplay.m_Shots.clear();
    }
    void Step()
    {
        level.Update(kDt, gameplay);
        UpdateParticles(gameplay.m_Particles, kDt);
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
    struct Row
    {
        int number;
        uint32_t interval; // float bits
        uint32_t speed;
    };
    const Row table[] = {
        {0, 0x40000000u, 0x41700000u},  {1, 0x40000000u, 0x41700000u},
        {2, 0x40000000u, 0x41700000u},  {3, 0x3FC00000u, 0x41700000u},
        {4, 0x3FC00000u, 0x418A0000u},  {5, 0x3F900000u, 0x418A0000u},
        {6, 0x3F900000u, 0x419EB333u},  {7, 0x3F580000u, 0x419EB333u},
        {8, 0x3F580000u, 0x41B68147u},  {9, 0x3F220000u, 0x41B68147u},
        {10, 0x3F220000u, 0x41D1E178u},
    };
    for (const Row& row : table)
    {
        const CLevel level(row.number);
        EXPECT_EQ(Bits(level.FireInterval()), row.interval) << "level " << row.number;
        EXPECT_EQ(Bits(level.ShotSpeed()), row.speed) << "level " << row.number;
    }
}

TEST(Level, SlidesInFromTheRightWithoutFiringOrBeingHit)
{
    CLevelFixture f;
    std::vector<int> xs;
    while (f.level.EntryTimer() < 0.0f)
    {
        EXPECT_FALSE(f.level.Hit(CPoint{6, 4})) << "hit while entering";
        f.level.Update(kDt, f.gameplay);
        xs.push_back(f.level.Origin().x);
        EXPECT_EQ(f.level.Origin().y, 8);
    }
    ASSERT_EQ(xs.size(), 125u);
    EXPECT_EQ(xs.front(), 37);
    EXPECT_EQ(xs[xs.size() - 2], 18);
    EXPECT_EQ(xs.back(), 17);
    EXPECT_TRUE(f.gameplay.m_Shots.empty());
    EXPECT_EQ(f.gameplay.m_ParticleRequests, 0);

    // The next update circles (radius 1, angle 0.04) and fires at once: the countdown is 0.
    f.level.Update(kDt, f.gameplay);
    EXPECT_EQ(f.level.Origin().x, 18);
    EXPECT_EQ(f.level.Origin().y, 8);
    EXPECT_EQ(f.gameplay.m_Shots.size(), 1u);
}

TEST(Level, HitTestsLimbThenBodyThenRingThenCore)
{
    struct Case
    {
        int32_t value;
        int32_t after;
        float radius;
        bool cleared;
    };
    const Case cases[] = {
        {kCellBody | kCellRing, 0, 1.0f, false},  // 6: removed, wobble unchanged
        {kCellRing, 0, 2.0f, false},              // pure ring widens the wobble
        {kCellCore, 0, 1.0f, true},               // one core clears
        {kCellCore | kCellRing, 0, 2.0f, false},  // the ring test comes first
        {kCellLimbA | kCellBody, 0, 1.0f, false}, // limb or body: just removed
        {kCellLimbB | kCellGun, 0, 1.0f, false},
        {kCellGun, kCellGun, 1.0f, false}, // a lone gun cannot be hit away
        {0, 0, 1.0f, false},
    };
    for (const Case& c : cases)
    {
        CLevelFixture f;
        CCellGrid grid(12, 8);
        grid.At(3, 5) = c.value;
        f.level.SetGridForTest(grid);
        f.Enter();
        EXPECT_TRUE(f.level.Hit(CPoint{3, 5})) << "value " << c.value;
        EXPECT_EQ(f.level.Grid().At(3, 5), c.after) << "value " << c.value;
        EXPECT_EQ(f.level.WobbleRadius(), c.radius) << "value " << c.value;
        EXPECT_EQ(f.level.Cleared(), c.cleared) << "value " << c.value;
    }
}

TEST(Level, HitOutsideTheGridChangesNothingButStillCounts)
{
    CLevelFixture f;
    CCellGrid grid(12, 8);
    grid.At(0, 1) = kCellCore; // At(12, 0) would alias this cell
    f.level.SetGridForTest(grid);
    f.Enter();
    for (CPoint p : {CPoint{12, 0}, CPoint{-1, 0}, CPoint{0, 8}, CPoint{0, -1}})
        EXPECT_TRUE(f.level.Hit(p));
    EXPECT_EQ(f.level.Grid().At(0, 1), kCellCore);
    EXPECT_FALSE(f.level.Cleared());
}

TEST(Level, FourRingHitsMakeRadiusFive)
{
    CLevelFixture f;
    CCellGrid grid(12, 8);
    for (int x = 0; x < 4; ++x)
        grid.At(x, 0) = kCellRing;
    f.level.SetGridForTest(grid);
    f.Enter();
    for (int x = 0; x < 4; ++x)
        f.level.Hit(CPoint{x, 0});
    EXPECT_EQ(f.level.WobbleRadius(), 5.0f);
    // The circle now spans five pixels around the rest position.
    for (int i = 0; i < 200; ++i)
    {
        f.Step();
        EXPECT_GE(f.level.Origin().x, 13);
        EXPECT_LE(f.level.Origin().x, 23);
        EXPECT_GE(f.level.Origin().y, 3);
        EXPECT_LE(f.level.Origin().y, 13);
    }
}

TEST(Level, DrawsCellsByTheBeatMask)
{
    const uint32_t sentinel = 0x12345678u;
    const uint32_t white = 0xFFFFFFFFu;
    struct Case
    {
        int32_t value;
        char onBeat; // c colour, w white, - untouched
        char offBeat;
    };
    const Case cases[] = {
        {kCellRing, 'c', 'c'},
        {kCellBody, 'c', 'c'},
        {kCellLimbA, 'c', '-'},
        {kCellLimbB, '-', 'c'},
        {kCellGun, '-', '-'},
        {kCellGun | kCellLimbA, 'c', '-'},
        {kCellGun | kCellLimbB, '-', 'c'},
        {kCellCore, 'w', 'w'},
        {kCellCore | kCellLimbA, 'c', 'w'},
        {kCellCore | kCellLimbB, 'w', 'c'},
        {0, '-', '-'},
    };
    CLevelFixture f;
    CCellGrid grid(12, 8);
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i)
        grid.At(i, 2) = cases[i].value;
    f.level.SetGridForTest(grid);
    f.Enter();

    for (bool beat : {true, false})
    {
        f.beat = beat;
        f.Step();
        ASSERT_EQ(f.level.BeatPhase(), beat);
        auto canvas = CreateSurface(32, 24);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x)
                canvas->SetPixel(x, y, sentinel);
        f.level.Draw(*canvas);

        const CPoint o = f.level.Origin();
        const uint32_t color = f.level.Color().ToPixel();
        for (int i = 0; i < static_cast<int>(std::size(cases)); ++i)
        {
            const char want = beat ? cases[i].onBeat : cases[i].offBeat;
            const uint32_t expected = want == 'c' ? color : want == 'w' ? white : sentinel;
            EXPECT_EQ(canvas->GetPixel(o.x + i, o.y + 2), expected)
                << "value " << cases[i].value << " beat " << beat;
        }
        // Nothing but row 2 of the creature was touched.
        int touched = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x)
                touched += canvas->GetPixel(x, y) != sentinel;
        EXPECT_EQ(touched, 7);
    }
}

TEST(Level, DrawingOffTheCanvasWritesNothing)
{
    CLevelFixture f;
    f.level.Update(kDt, f.gameplay); // x = 37: the whole creature is right of the canvas
    auto canvas = CreateSurface(32, 24);
    f.level.Draw(*canvas);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(canvas->GetPixel(x, y), 0u);
}

TEST(Level, FiresFromAnArmedGunElseACoreElseTheMiddle)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<CPoint, int32_t>> cells;
        bool beat;
        CPoint from;
        int code;
    };
    const Case cases[] = {
        {"armed gun", {{{4, 6}, kCellGun | kCellLimbB}, {{8, 6}, kCellCore}}, false, {4, 6}, 2},
        {"core before a gun further right",
         {{{2, 6}, kCellCore}, {{8, 6}, kCellGun | kCellLimbB}},
         false,
         {2, 6},
         3},
        {"gun with the absent limb",
         {{{4, 6}, kCellGun | kCellLimbB}, {{7, 6}, kCellCore}},
         true,
         {7, 6},
         3},
        {"absent limb, no core", {{{4, 6}, kCellGun | kCellLimbB}}, true, {6, 4}, 2},
        {"lone gun bit", {{{4, 6}, kCellGun}}, false, {6, 4}, 2},
        {"empty", {}, true, {6, 4}, 2},
    };
    for (const Case& c : cases)
    {
        CLevelFixture f(4);
        CCellGrid grid(12, 8);
        for (const auto& [cell, value] : c.cells)
            grid.At(cell.x, cell.y) = value;
        f.level.SetGridForTest(grid);
        f.beat = c.beat;
        f.Enter();
        f.Step();
        ASSERT_EQ(f.gameplay.m_Shots.size(), 1u) << c.name;
        const auto& shot = f.gameplay.m_Shots.front();
        const CPoint o = f.level.Origin();
        EXPECT_EQ(shot.position,
                  CVector2(static_cast<float>(o.x + c.from.x), static_cast<float>(o.y + c.from.y)))
            << c.name;
        EXPECT_EQ(shot.code, c.code) << c.name;
        EXPECT_EQ(shot.speed, 17.25f) << c.name;
    }
}

TEST(Level, ShuffledRowsLetEveryArmedRowFireFromItsFirstGun)
{
    tarn::test::SeedRandom(31u, 5.0);
    CLevelFixture f(9);
    CCellGrid grid(12, 8);
    for (int y : {1, 3, 6})
    {
        grid.At(2, y) = kCellGun | kCellLimbB;
        grid.At(9, y) = kCellGun | kCellLimbB; // never chosen: column 2 comes first
    }
    f.level.SetGridForTest(grid);
    f.Enter();
    int fromRow[8] = {};
    for (int i = 0; i < 60 * 40; ++i)
    {
        const size_t before = f.gameplay.m_Shots.size();
        f.Step();
        if (f.gameplay.m_Shots.size() == before)
            continue;
        const CVector2 p = f.gameplay.m_Shots.back().position;
        const CPoint o = f.level.Origin();
        ASSERT_EQ(static_cast<int>(p.x) - o.x, 2);
        ++fromRow[static_cast<int>(p.y) - o.y];
    }
    EXPECT_EQ(fromRow[1] + fromRow[3] + fromRow[6], static_cast<int>(f.gameplay.m_Shots.size()));
    for (int y : {1, 3, 6})
        EXPECT_GE(fromRow[y], 5) << "row " << y;
}

TEST(Level, ShotsLeaveOnTheIntervalsFrameCount)
{
    struct Row
    {
        int number;
        int frames;
    };
    for (const Row row : {Row{0, 125}, Row{3, 94}, Row{5, 71}, Row{7, 53}})
    {
        CLevelFixture f(row.number);
        CCellGrid grid(12, 8);
        grid.At(6, 4) = kCellBody;
        f.level.SetGridForTest(grid);
        f.Enter();
        std::vector<int> frames;
        for (int frame = 1; frame <= 4 * row.frames + 1; ++frame)
        {
            const size_t before = f.gameplay.m_Shots.size();
            f.Step();
            if (f.gameplay.m_Shots.size() != before)
                frames.push_back(frame);
        }
        ASSERT_EQ(frames.size(), 5u) << "level " << row.number;
        EXPECT_EQ(frames.front(), 1);
        for (size_t i = 1; i < frames.size(); ++i)
            EXPECT_EQ(frames[i] - frames[i - 1], row.frames) << "level " << row.number;
    }
}

TEST(Level, ClearedCreatureBurstsSinksAndCrumblesOneCellAFrame)
{
    tarn::test::SeedRandom(2024u, 77.0);
    CLevelFixture f;
    f.Enter();
    f.Step(); // first shot
    const size_t shots = f.gameplay.m_Shots.size();

    // Find a core and hit it.
    CPoint core{-1, -1};
    for (int y = 0; y < 8 && core.x < 0; ++y)
        for (int x = 0; x < 12 && core.x < 0; ++x)
            if (f.level.Grid().At(x, y) == kCellCore)
                core = CPoint{x, y};
    ASSERT_GE(core.x, 0);
    EXPECT_TRUE(f.level.Hit(core));
    EXPECT_TRUE(f.level.Cleared());
    EXPECT_EQ(f.level.ClearedTime(), 0.0f);

    f.level.Update(kDt, f.gameplay);
    EXPECT_EQ(f.level.ClearedTime(), kDt);
    // The ring (30 to 50) and maybe one large burst of the first crumbled cell.
    EXPECT_GE(f.gameplay.m_Particles.size(), 30u);
    EXPECT_EQ(f.level.Origin().y, 8); // int(8 + 0.096)

    int solid = SolidCells(f.level.Grid());
    int removed = 0;
    for (int frame = 0; frame < 156; ++frame)
    {
        const int requests = f.gameplay.m_ParticleRequests;
        f.Step();
        const int now = SolidCells(f.level.Grid());
        ASSERT_LE(solid - now, 1) << "frame " << frame;
        ASSERT_GE(solid - now, 0);
        // A removed cell bursts; an empty pick asks for nothing.
        EXPECT_EQ(f.gameplay.m_ParticleRequests - requests, solid - now);
        removed += solid - now;
        solid = now;
        const int sunk = static_cast<int>(8.0f + f.level.ClearedTime() * 6.0f);
        EXPECT_EQ(f.level.Origin().y, sunk);
    }
    EXPECT_GT(removed, 5);
    EXPECT_GT(f.level.ClearedTime(), 2.5f);
    EXPECT_EQ(f.gameplay.m_Shots.size(), shots) << "a cleared creature fired";
}

TEST(Level, BeatPhaseIsReadEveryUpdateEvenWhileEntering)
{
    CLevelFixture f;
    for (int i = 0; i < 6; ++i)
    {
        f.beat = i % 3 == 0;
        f.level.Update(kDt, f.gameplay);
        EXPECT_EQ(f.level.BeatPhase(), f.beat);
    }
}
