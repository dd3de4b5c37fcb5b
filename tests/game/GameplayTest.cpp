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
using Gameplay = CVideoTest;

/// Frames until the creature has slid in (it cannot be hit before).
void RunEntry(CGameplayImpl& game)
{
    while (game.Level().EntryTimer() < 0.0f)
        game.Update(kDt);
}
} // namespace

TEST_F(Gameplay, TheLevelIsReplacedOnThe157thFrameAfterItsClear)
{
    CGameplayImpl game;
    RunEntry(game);
    int core = 0;
    while (!(game.Level().Grid().At(core % 12, core / 12) & kCellCore))
        ++core;
    // A hit between frames n and n + 1 is a hit in frame n's bullet update: the level
    // update comes first in a frame.
    ASSERT_TRUE(game.Level().Hit(CPoint{core % 12, core / 12}));
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
    EXPECT_EQ(game.Level().EntryTimer(), -2.0f) << "made at the end of the frame";
}

TEST_F(Gameplay, APlayerShotBreaksOneCellWithABurstOnItButIsOnlySpentWhileTheLevelEnters)
{
    for (bool entered : {false, true})
    {
        CGameplayImpl game;
        game.Player().Sprite()->SetImage(FilledSurface(4, 8, 0xFF00FF00u));
        if (entered)
            RunEntry(game);
        game.Update(kDt);
        CCellGrid wall(12, 8); // solid from column 6 on
        for (int i = 0; i < 6 * 8; ++i)
            wall.At(6 + i % 6, i / 6) = kCellBody;
        game.Level().SetGridForTest(wall);
        game.FirePlayerBullet();
        float burstX = -100.0f; // where the newest particle of the burst first shows
        for (int frame = 0; !game.Bullets().empty(); ++frame)
        {
            ASSERT_LT(frame, entered ? 100 : 50) << "not stopped by the creature";
            game.Update(kDt);
            if (burstX == -100.0f && !game.Particles().empty())
                burstX = game.Particles().back()->m_Position.x;
        }
        int solid = 0;
        for (int i = 0; i < 12 * 8; ++i)
            solid += game.Level().Grid().At(i % 12, i / 12) != 0;
        EXPECT_EQ(solid, entered ? 47 : 48);
        EXPECT_EQ(std::fabs(burstX - (game.Level().Origin().x + 6)) < 4.0f, entered) << burstX;
    }
}

// A dead bullet's slot takes the last one, which moves in the same pass, its sprite with it.
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
    EXPECT_EQ(last->m_Position, start + CVector2(60.0f, 0.0f) * kDt);
    EXPECT_EQ(last->m_Sprite->m_X, CentredCorner(last->m_Position.x, last->m_Sprite->m_W));
}

// Heard: the game's own sounds on the dummy device. Two level shots in one frame make one
// sound; the ring and a small burst always, a large one (one per crumbling frame) rarely.
TEST_F(Gameplay, LevelShotsAndLargeBurstsAreHeardOnlySometimes)
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
        int heard[3] = {};
        for (int n = 0; n < 201; ++n, now += 200)
        {
            before = tarn::test::SoundsPlayed();
            if (n == 0)
                CreateRingExplosion(game.GetParticles(), CVector2(16, 12), CColor(1, 1, 1, 1));
            else
                CreateExplosion(game.GetParticles(), CVector2(16, 12), CColor(1, 1, 1, 1), n == 1);
            heard[std::min(n, 2)] += tarn::test::SoundsPlayed() - before;
        }
        EXPECT_EQ(heard[0] + heard[1], 2);
        EXPECT_TRUE(heard[2] > 10 && heard[2] < 60) << heard[2] << " of 199 large bursts";
    }
    DeleteAllSounds();
    ShutdownAudio();
    tarn::test::SetSoundClock({});
}

// Shots vanish with the hit, which makes no burst, and later ones are spent unchecked. The
// death picture fades in over the first second; a key ends the gameplay only after it,
// strictly more than a second after the hit, and still reaches the player.
TEST_F(Gameplay, AfterTheHitShotsVanishTheDeathPictureFadesInAndOnlyThenAKeyEndsTheGameplay)
{
    for (int framesAfterHit : {0, 61, 62})
    {
        CGameplay gameplay;
        CGameplayImpl& game = *gameplay.Impl();
        game.SetDiedLayerForTest(FilledSurface(32, 24, 0xFFFFFFFFu));
        game.Player().Sprite()->SetImage(FilledSurface(4, 8, 0xFF00FF00u));
        game.Update(kDt); // the player's picture covers x 2 ... 5, y 7 ... 14
        game.FireLevelBullet(CVector2(1.0f, 11.0f), 2, 15.0f);
        game.FireLevelBullet(CVector2(1.0f, 12.0f), 2, 15.0f);
        game.Update(kDt);
        ASSERT_TRUE(game.PlayerHit());
        EXPECT_TRUE(game.Particles().empty());
        EXPECT_TRUE(game.Bullets()[0]->m_Dead && game.Bullets()[1]->m_Dead);
        game.FireLevelBullet(CVector2(20.0f, 11.0f), 3, 15.0f);
        for (int n = 0; n < framesAfterHit; ++n)
            gameplay.Update(kDt);
        EXPECT_TRUE(framesAfterHit == 0 || game.Bullets().empty());
        int white = 0;
        for (int i = 0; i < 32 * 24; ++i)
            white += game.Canvas().GetPixel(i % 32, i / 32) == 0xFFFFFFFFu;
        const bool over = framesAfterHit >= 62;
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

// The old gameplay takes every sprite along; the level-shot sound is program-wide.
TEST_F(Gameplay, ANewGameplayStartsAfresh)
{
    const size_t spritesBefore = SpriteList().size();
    std::string sound;
    {
        CGameplayImpl game;
        game.NextLevel();
        game.Update(kDt);
        game.FirePlayerBullet();
        game.FireLevelBullet(CVector2(20.0f, 2.0f), 2, 15.0f);
        sound = LevelShotSound();
        EXPECT_TRUE(sound == "data/sfx/fire_03.wav" || sound == "data/sfx/fire_04.wav") << sound;
    }
    EXPECT_EQ(SpriteList().size(), spritesBefore);
    CGameplayImpl game;
    EXPECT_EQ(game.LevelCount(), 0);
    EXPECT_EQ(game.Player().Position(), CVector2(4.0f, 11.0f));
    EXPECT_EQ(LevelShotSound(), sound);
}
