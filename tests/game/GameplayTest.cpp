#include <gtest/gtest.h>

#include <algorithm>

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

#include "Support.h"
#include "actors/Bullet.h"
#include "actors/Particle.h"
#include "audio/Audio.h"
#include "audio/AudioTestFiles.h"
#include "audio/SoundLibrary.h"
#include "canvas/Sprite.h"
#include "canvas/Surface.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"
#include "game/Level.h"

namespace
{

/// The gameplay on a window-less 32-bit video mode: everything runs, nothing is shown.
class Gameplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(32, 24, 32, SDL_SWSURFACE), nullptr) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }

    /// Frames until the creature has slid in (it cannot be hit before).
    static void RunEntry(CGameplayImpl& game)
    {
        for (int n = 0; n < 200 && game.Level().EntryTimer() < 0.0f; ++n)
            game.Update(kDt);
        ASSERT_GE(game.Level().EntryTimer(), 0.0f);
    }

    /// Gives the player an opaque 4 x 8 picture, placed at the next update: with the
    /// player at (4, 11) it covers x 2 ... 5 and y 7 ... 14.
    static void GivePlayerAPicture(CGameplayImpl& game)
    {
        game.Player().Sprite()->SetImage(FilledSurface(4, 8, 0xFF00FF00u));
    }

    /// A level shot that starts inside the player's picture: the hit comes at the next
    /// update of the bullets.
    static void ShootThePlayer(CGameplayImpl& game)
    {
        game.FireLevelBullet(CVector2(1.0f, 11.0f), 2, 15.0f);
    }

    /// The player, given a picture, is hit in the second update.
    static void HitThePlayer(CGameplayImpl& game)
    {
        GivePlayerAPicture(game);
        game.Update(kDt);
        ShootThePlayer(game);
        game.Update(kDt);
        ASSERT_TRUE(game.PlayerHit());
    }
};
} // namespace

TEST_F(Gameplay, TheLevelIsReplacedOnThe157thFrameAfterItsClear)
{
    CGameplayImpl game;
    RunEntry(game);
    const CCellGrid& grid = game.Level().Grid();
    CPoint core{-1, -1};
    for (int y = 0; y < grid.Height() && core.x < 0; ++y)
        for (int x = 0; x < grid.Width() && core.x < 0; ++x)
            if (grid.At(x, y) & 1)
                core = CPoint{x, y};
    ASSERT_GE(core.x, 0) << "the creature has no core";

    // A hit between frames n and n + 1 is a hit in frame n's bullet update: the level
    // update comes first in a frame.
    ASSERT_TRUE(game.Level().Hit(core));
    ASSERT_TRUE(game.Level().Cleared());

    game.Update(kDt);
    EXPECT_FLOAT_EQ(game.WallIntensity(), 1.016f);
    EXPECT_FALSE(game.Particles().empty()) << "the creature bursts";
    for (int frame = 2; frame <= 156; ++frame)
    {
        game.Update(kDt);
        ASSERT_EQ(game.LevelCount(), 0) << frame;
    }
    EXPECT_GT(game.WallIntensity(), 3.4f);
    game.Update(kDt);
    EXPECT_EQ(game.LevelCount(), 1);
    EXPECT_FALSE(game.Level().Cleared());
    EXPECT_EQ(game.Level().EntryTimer(), -2.0f) << "made at the end of the frame";
    const std::string sound = LevelShotSound();
    EXPECT_TRUE(sound == "data/sfx/fire_03.wav" || sound == "data/sfx/fire_04.wav") << sound;
}

TEST_F(Gameplay, APlayerShotBreaksOneCellWithAnExplosionButIsOnlySpentWhileTheLevelEnters)
{
    for (bool entered : {false, true})
    {
        CGameplayImpl game;
        GivePlayerAPicture(game);
        if (entered)
            RunEntry(game);
        else
            game.Update(kDt);
        CCellGrid wall(12, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x)
                wall.At(x, y) = 4;
        game.Level().SetGridForTest(wall);
        game.FirePlayerBullet();
        ASSERT_EQ(game.Bullets().size(), 1u);
        const size_t particles = game.Particles().size();
        size_t mostParticles = particles; // the burst may have faded by the loop's end
        int frames = 0;
        for (; !game.Bullets().empty() && frames < 100; ++frames)
        {
            game.Update(kDt);
            mostParticles = std::max(mostParticles, game.Particles().size());
        }
        // Level shots (after the entry) take longer to leave than the player's shot.
        EXPECT_TRUE(entered || frames < 50) << "stopped by the creature, not by the edge";
        EXPECT_EQ(game.Level().EntryTimer() >= 0.0f, entered);
        int broken = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x)
                broken += game.Level().Grid().At(x, y) == 0;
        EXPECT_EQ(broken, entered ? 1 : 0);
        EXPECT_EQ(mostParticles > particles, entered);
    }
}

TEST_F(Gameplay, ADeadBulletTakenFromTheMiddleLetsTheMovedOneMoveInTheSamePass)
{
    CGameplayImpl game;
    game.Update(kDt);
    game.FirePlayerBullet();
    game.FirePlayerBullet();
    game.FirePlayerBullet();
    ASSERT_EQ(game.Bullets().size(), 3u);
    CBullet* middle = game.Bullets()[1].get();
    CBullet* last = game.Bullets()[2].get();
    const CVector2 start = last->m_Position;
    middle->m_Dead = true;

    game.Update(kDt);
    ASSERT_EQ(game.Bullets().size(), 2u);
    EXPECT_EQ(game.Bullets()[1].get(), last);
    for (const auto& bullet : game.Bullets())
    {
        EXPECT_EQ(bullet->m_PreviousPosition, start);
        EXPECT_EQ(bullet->m_Position, start + CVector2(60.0f, 0.0f) * kDt);
    }
}

TEST_F(Gameplay, LevelShotsVanishOnceThePlayerIsHitAndTheHitMakesNoExplosion)
{
    CGameplayImpl game;
    GivePlayerAPicture(game);
    game.Update(kDt);
    ShootThePlayer(game);
    ShootThePlayer(game);
    game.Update(kDt);
    EXPECT_TRUE(game.PlayerHit());
    EXPECT_EQ(game.Player().Sprite(), nullptr);
    EXPECT_TRUE(game.Particles().empty());
    for (const auto& bullet : game.Bullets())
        EXPECT_TRUE(bullet->m_Dead);

    // A shot fired after the hit is spent at its first update, without a test.
    game.Update(kDt);
    ASSERT_TRUE(game.Bullets().empty());
    game.FireLevelBullet(CVector2(20.0f, 11.0f), 3, 15.0f);
    game.Update(kDt);
    ASSERT_EQ(game.Bullets().size(), 1u);
    EXPECT_TRUE(game.Bullets()[0]->m_Dead);
    game.Update(kDt);
    EXPECT_TRUE(game.Bullets().empty());
}

TEST_F(Gameplay, TwoLevelShotsInOneFrameMakeOneSoundAndTwoBullets)
{
    CTempDir dir;
    std::filesystem::create_directories(dir / "data/sfx");
    for (const char* name : {"fire_03.wav", "fire_04.wav", "fire_07.wav"})
        WriteSquareWav(dir / "data/sfx" + "/" + name, 1, 441, 3000);
    CCurrentDir cwd(dir.Path());
    ASSERT_TRUE(StartAudio());
    tarn::test::SetSoundClock([] { return 5000u; }); // every sound at the same moment
    {
        CGameplayImpl game;
        const int before = tarn::test::SoundsPlayed();
        game.FireLevelBullet(CVector2(20.0f, 5.0f), 2, 15.0f);
        game.FireLevelBullet(CVector2(20.0f, 9.0f), 3, 15.0f);
        EXPECT_EQ(tarn::test::SoundsPlayed() - before, 1);
        ASSERT_EQ(game.Bullets().size(), 2u);
        EXPECT_EQ(game.Bullets()[0]->m_Position, CVector2(22.0f, 5.0f));
        EXPECT_EQ(game.Bullets()[1]->m_ShooterCode, 3);
        EXPECT_EQ(game.Bullets()[1]->m_Velocity, CVector2(-15.0f, 0.0f));
    }
    DeleteAllSounds();
    ShutdownAudio();
    tarn::test::SetSoundClock({});
}

TEST_F(Gameplay, TheDeathPictureFadesInOverTheFirstSecond)
{
    CGameplayImpl game;
    game.SetDiedLayerForTest(FilledSurface(32, 24, 0xFFFFFFFFu));
    HitThePlayer(game); // frame n: the hit
    EXPECT_EQ(game.DeathTime(), kDt);
    EXPECT_EQ(game.DeathOverlayAlpha(), kDt);
    int white = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            white += game.Canvas().GetPixel(x, y) == 0xFFFFFFFFu;
    EXPECT_LT(white, 32 * 24 / 2) << "barely visible in the first frame";

    for (int n = 1; n <= 61; ++n)
        game.Update(kDt);
    EXPECT_LT(game.DeathOverlayAlpha(), 1.0f);
    game.Update(kDt); // frame n + 62
    EXPECT_NEAR(game.DeathTime(), 1.008f, 1e-5f);
    EXPECT_EQ(game.DeathOverlayAlpha(), 1.0f);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(game.Canvas().GetPixel(x, y), 0xFFFFFFFFu) << x << ", " << y;
}

TEST_F(Gameplay, AKeyEndsTheGameplayOnlyMoreThanOneSecondAfterTheHit)
{
    struct Case
    {
        int framesAfterHit; ///< Updates after the one with the hit, before the key.
        bool over;
    } cases[] = {{30, false}, {61, false}, {62, true}, {74, true}};
    for (const Case& c : cases)
    {
        CGameplay gameplay;
        CGameplayImpl& game = *gameplay.Impl();
        HitThePlayer(game);
        for (int n = 0; n < c.framesAfterHit; ++n)
            gameplay.Update(kDt);
        gameplay.KeyDown(kButtonUp);
        EXPECT_EQ(gameplay.IsOver(), c.over) << c.framesAfterHit << ": " << game.DeathTime();
        EXPECT_TRUE(game.Player().IsHeld(kButtonUp)) << "the key still reached the player";
    }
    CGameplay unhurt;
    unhurt.KeyDown(kButtonFire);
    EXPECT_FALSE(unhurt.IsOver());
}

TEST_F(Gameplay, ANewGameplayStartsAtLevelZeroWithEmptyListsAndNoSpritesAreLeft)
{
    const size_t spritesBefore = SpriteList().size();
    std::string soundLeftBehind;
    {
        CGameplay gameplay;
        CGameplayImpl& game = *gameplay.Impl();
        GivePlayerAPicture(game);
        RunEntry(game);
        game.NextLevel();
        game.NextLevel();
        game.Update(kDt);
        ShootThePlayer(game);
        for (int n = 0; n < 70; ++n)
            gameplay.Update(kDt);
        ASSERT_TRUE(game.PlayerHit());
        gameplay.KeyDown(kButtonFire);
        ASSERT_TRUE(gameplay.IsOver());
        game.FireLevelBullet(CVector2(20.0f, 2.0f), 2, 15.0f);
        CreateExplosion(game.GetParticles(), CVector2(16.0f, 12.0f), CColor(1, 0, 0, 1), true);
        EXPECT_GT(SpriteList().size(), spritesBefore);
        soundLeftBehind = LevelShotSound();
    }
    EXPECT_EQ(SpriteList().size(), spritesBefore) << "every sprite went with its owner";

    CGameplay next;
    CGameplayImpl& game = *next.Impl();
    EXPECT_EQ(game.LevelCount(), 0);
    EXPECT_TRUE(game.Bullets().empty());
    EXPECT_TRUE(game.Particles().empty());
    EXPECT_EQ(game.ScrollOffset(), CVector2());
    EXPECT_FALSE(game.PlayerHit());
    EXPECT_EQ(game.DeathTime(), 0.0f);
    EXPECT_FALSE(next.IsOver());
    EXPECT_EQ(game.Player().Position(), CVector2(4.0f, 11.0f));
    EXPECT_EQ(LevelShotSound(), soundLeftBehind) << "the level-shot sound is program-wide";
}

namespace
{
bool g_CountAllocations = false;
long g_Allocations = 0;
} // namespace

void* operator new(std::size_t size)
{
    if (g_CountAllocations)
        ++g_Allocations;
    void* p = std::malloc(size ? size : 1);
    if (!p)
        std::abort();
    return p;
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

TEST_F(Gameplay, AFrameWithoutNewShotsOrExplosionsAllocatesNothing)
{
    CGameplayImpl game;
    GivePlayerAPicture(game);
    for (int n = 0; n < 3; ++n)
        game.Update(kDt);
    // Something of everything on the way: player shots, a level shot, particles.
    game.FirePlayerBullet();
    game.FireLevelBullet(CVector2(30.0f, 1.0f), 2, 15.0f);
    CreateExplosion(game.GetParticles(), CVector2(16.0f, 12.0f), CColor(1, 0, 0, 1), true);
    game.Update(kDt);

    int quietFrames = 0;
    for (int frame = 0; frame < 400; ++frame)
    {
        // The player steers but does not fire, so only the level adds shots; nothing is
        // hit, so nothing explodes.
        game.Player().KeyDown(frame % 40 < 20 ? kButtonUp : kButtonDown);
        game.Player().KeyUp(frame % 40 < 20 ? kButtonUp : kButtonDown);
        size_t expected = game.Bullets().size();
        for (const auto& bullet : game.Bullets())
            expected -= bullet->m_Dead ? 1 : 0;
        const CLevel* level = &game.Level();

        g_Allocations = 0;
        g_CountAllocations = true;
        game.Update(kDt);
        g_CountAllocations = false;

        if (game.Bullets().size() > expected || &game.Level() != level)
            continue;
        ++quietFrames;
        EXPECT_EQ(g_Allocations, 0) << "frame " << frame;
    }
    EXPECT_GT(quietFrames, 350);
}
