#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "Support.h"
#include "actors/Bullet.h"
#include "audio/Audio.h"
#include "audio/AudioTestFiles.h"
#include "audio/SoundLibrary.h"
#include "canvas/Sprite.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"
#include "game/Level.h"
#include "game/PatternGenerator.h"

namespace
{
/// The gameplay on a window-less 32-bit video mode: everything runs, nothing is shown.
class Gameplay : public CVideoTest
{
protected:
    /// Frames until the creature has slid in (it cannot be hit before).
    static void RunEntry(CGameplayImpl& game)
    {
        while (game.Level().EntryTimer() < 0.0f)
            game.Update(kDt);
    }
    /// An opaque 4 x 8 picture for the player, placed at the next update: with the player at
    /// (4, 11) it covers x 2 ... 5 and y 7 ... 14.
    static void GivePlayerAPicture(CGameplayImpl& game)
    {
        game.Player().Sprite()->SetImage(FilledSurface(4, 8, 0xFF00FF00u));
    }
    /// The player, given a picture, is hit in the second update by two level shots that start
    /// inside its picture.
    static void HitThePlayer(CGameplayImpl& game)
    {
        GivePlayerAPicture(game);
        game.Update(kDt);
        game.FireLevelBullet(CVector2(1.0f, 11.0f), 2, 15.0f);
        game.FireLevelBullet(CVector2(1.0f, 12.0f), 2, 15.0f);
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
    for (int i = 0; i < grid.Width() * grid.Height() && core.x < 0; ++i)
        if (grid.At(i % grid.Width(), i / grid.Width()) & kCellCore)
            core = CPoint{i % grid.Width(), i / grid.Width()};
    // A hit between frames n and n + 1 is a hit in frame n's bullet update: the level
    // update comes first in a frame.
    ASSERT_TRUE(game.Level().Hit(core));
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
        game.Update(kDt);
        CCellGrid wall(12, 8); // solid from column 6 on
        for (int i = 0; i < 6 * 8; ++i)
            wall.At(6 + i % 6, i / 6) = kCellBody;
        game.Level().SetGridForTest(wall);
        game.FirePlayerBullet();
        float burstX = -100.0f; // where the newest particle of the burst first shows
        int frames = 0;
        for (; !game.Bullets().empty() && frames < 100; ++frames)
        {
            game.Update(kDt);
            if (burstX == -100.0f && !game.Particles().empty())
                burstX = game.Particles().back()->m_Position.x;
        }
        // Level shots (after the entry) take longer to leave than the player's shot.
        EXPECT_TRUE(entered || frames < 50) << "stopped by the creature, not by the edge";
        EXPECT_EQ(game.Level().EntryTimer() >= 0.0f, entered);
        int solid = 0;
        for (int i = 0; i < 12 * 8; ++i)
            solid += game.Level().Grid().At(i % 12, i / 12) != 0;
        EXPECT_EQ(solid, entered ? 47 : 48);
        // The burst is on the broken cell in column 6.
        EXPECT_EQ(std::fabs(burstX - (game.Level().Origin().x + 6)) < 4.0f, entered) << burstX;
    }
}

TEST_F(Gameplay, ADeadBulletTakenFromTheMiddleLetsTheMovedOneMoveInTheSamePass)
{
    CGameplayImpl game;
    game.Update(kDt);
    for (int n = 0; n < 3; ++n)
        game.FirePlayerBullet();
    CBullet* last = game.Bullets()[2].get();
    const CVector2 start = last->m_Position;
    game.Bullets()[1]->m_Dead = true;
    game.Update(kDt);
    ASSERT_EQ(game.Bullets().size(), 2u);
    EXPECT_EQ(game.Bullets()[1].get(), last);
    for (const auto& bullet : game.Bullets())
    {
        EXPECT_EQ(bullet->m_PreviousPosition, start);
        EXPECT_EQ(bullet->m_Position, start + CVector2(60.0f, 0.0f) * kDt);
    }
}

// Heard: the game's own sounds on the dummy device, each the moment it is asked for.
TEST_F(Gameplay, TwoLevelShotsInOneFrameMakeOneSoundAndOnlySomeLargeBurstsAreHeard)
{
    ASSERT_TRUE(StartAudio());
    uint32_t now = 5000;
    tarn::test::SetSoundClock([&now] { return now; });
    {
        CGameplayImpl game;
        int before = tarn::test::SoundsPlayed();
        game.FireLevelBullet(CVector2(20.0f, 5.0f), 2, 15.0f);
        game.FireLevelBullet(CVector2(20.0f, 9.0f), 3, 15.0f);
        EXPECT_EQ(tarn::test::SoundsPlayed() - before, 1);
        ASSERT_EQ(game.Bullets().size(), 2u);
        EXPECT_EQ(game.Bullets()[0]->m_Position, CVector2(22.0f, 5.0f));
        EXPECT_EQ(game.Bullets()[1]->m_ShooterCode, 3);
        EXPECT_EQ(game.Bullets()[1]->m_Velocity, CVector2(-15.0f, 0.0f));
        // The ring and a small burst always; a large one (one per crumbling frame) rarely.
        int heard[3] = {};
        for (int n = 0; n < 201; ++n)
        {
            now += 200;
            before = tarn::test::SoundsPlayed();
            CParticleList particles;
            if (n == 0)
                CreateRingExplosion(&particles, CVector2(16.0f, 12.0f), CColor(1, 1, 1, 1));
            else
                CreateExplosion(&particles, CVector2(16.0f, 12.0f), CColor(1, 1, 1, 1), n == 1);
            heard[std::min(n, 2)] += tarn::test::SoundsPlayed() - before;
        }
        EXPECT_EQ(heard[0], 1) << "the ring";
        EXPECT_EQ(heard[1], 1) << "the small burst";
        EXPECT_TRUE(heard[2] > 10 && heard[2] < 60) << heard[2] << " of 199 large bursts";
    }
    DeleteAllSounds();
    ShutdownAudio();
    tarn::test::SetSoundClock({});
}

// Both shots vanish with the hit, which makes no explosion, and later ones are spent unchecked.
// The death picture fades in over the first second; a key ends the gameplay only after it,
// strictly more than a second after the hit, and still reaches the player.
TEST_F(Gameplay, AfterTheHitShotsVanishTheDeathPictureFadesInAndOnlyThenAKeyEndsTheGameplay)
{
    for (int framesAfterHit : {0, 30, 61, 62, 74})
    {
        CGameplay gameplay;
        CGameplayImpl& game = *gameplay.Impl();
        game.SetDiedLayerForTest(FilledSurface(32, 24, 0xFFFFFFFFu));
        HitThePlayer(game);
        EXPECT_EQ(game.Player().Sprite(), nullptr);
        EXPECT_TRUE(game.Particles().empty());
        for (const auto& bullet : game.Bullets())
            EXPECT_TRUE(bullet->m_Dead);
        game.FireLevelBullet(CVector2(20.0f, 11.0f), 3, 15.0f);
        for (int n = 0; n < framesAfterHit; ++n)
            gameplay.Update(kDt);
        EXPECT_TRUE(framesAfterHit == 0 || game.Bullets().empty());
        int white = 0;
        for (int i = 0; i < 32 * 24; ++i)
            white += game.Canvas().GetPixel(i % 32, i / 32) == 0xFFFFFFFFu;
        const bool over = framesAfterHit >= 62;
        EXPECT_NEAR(game.DeathTime(), kDt * (framesAfterHit + 1), 1e-5f);
        EXPECT_EQ(game.DeathOverlayAlpha(), over ? 1.0f : game.DeathTime());
        EXPECT_EQ(white == 32 * 24, over) << framesAfterHit;
        EXPECT_TRUE(framesAfterHit > 0 || white < 32 * 24 / 2) << "barely visible at first";
        gameplay.KeyDown(kButtonUp);
        EXPECT_EQ(gameplay.IsOver(), over) << framesAfterHit;
        EXPECT_TRUE(game.Player().IsHeld(kButtonUp)) << "the key still reached the player";
    }
    CGameplay unhurt;
    unhurt.KeyDown(kButtonFire);
    EXPECT_FALSE(unhurt.IsOver());
}

TEST_F(Gameplay, ANewGameplayStartsAfreshAndTheOldOneTookEverySpriteAlong)
{
    const size_t spritesBefore = SpriteList().size();
    std::string soundLeftBehind;
    {
        CGameplayImpl game;
        game.NextLevel();
        game.Update(kDt);
        game.FirePlayerBullet();
        game.FireLevelBullet(CVector2(20.0f, 2.0f), 2, 15.0f);
        CreateExplosion(game.GetParticles(), CVector2(16.0f, 12.0f), CColor(1, 0, 0, 1), true);
        EXPECT_EQ(game.Bullets().size(), 2u);
        soundLeftBehind = LevelShotSound();
    }
    EXPECT_EQ(SpriteList().size(), spritesBefore);
    CGameplayImpl game;
    EXPECT_EQ(game.LevelCount(), 0);
    EXPECT_TRUE(game.Bullets().empty());
    EXPECT_TRUE(game.Particles().empty());
    EXPECT_EQ(game.Player().Position(), CVector2(4.0f, 11.0f));
    EXPECT_EQ(LevelShotSound(), soundLeftBehind) << "the level-shot sound is program-wide";
}
