#include <algorithm>
#include <set>

#include "Support.h"
#include "actors/Player.h"
#include "actors/PlayerMotion.h"
#include "audio/Audio.h"
#include "audio/SoundLibrary.h"
#include "canvas/Sprite.h"
#include "util/Random.h"

// A 16 x 12 target: a wall at x = 5, rows 0 ... 9 (value 4); value 1 at (0, 11), (11, 10),
// (13, 10), (15, 10). Points between frames count; they are truncated toward zero.
TEST(SweptTest, TheFirstPointWithABitOfTheMaskAlongThePathHits)
{
    std::vector<uint32_t> cells(16 * 12, 0);
    for (int y = 0; y < 10; ++y)
        cells[5 + 16 * y] = 4;
    for (int i : {176, 171, 173, 175})
        cells[i] = 1;
    CSweepTarget target{{}, 16, 12, [&cells](int x, int y) { return cells[x + 16 * y]; }};
    // From, to, the point hit (x -1: none), the mask.
    const std::tuple<CVector2, CVector2, int, int, uint32_t> cases[] = {
        {{3.5f, 2.5f}, {6.5f, 2.5f}, 5, 2, ~0u},       // three pixels in one frame
        {{9.9f, 7.2f}, {0.1f, 7.2f}, 5, 7, ~0u},       // ten pixels, leftward
        {{4.2f, 1.0f}, {5.9f, 8.9f}, 5, 4, ~0u},       // steep: four samples before the wall
        {{5.5f, 3.5f}, {5.5f, 3.5f}, 5, 3, ~0u},       // no motion: the point itself
        {{5.5f, 3.5f}, {5.5f, 3.5f}, -1, -1, 3},       // 4 & 3 == 0
        {{17.5f, 10.5f}, {5.5f, 10.5f}, 15, 10, ~0u},  // from outside, the first wins
        {{3.0f, 13.0f}, {8.0f, 13.0f}, -1, -1, ~0u},   // below
        {{12.5f, 10.5f}, {13.2f, 10.5f}, 13, 10, ~0u}, // the last, partial step lands on the end
        {{12.0f, 10.5f}, {12.9f, 10.5f}, -1, -1, ~0u},
        {{-0.8f, 11.5f}, {-0.8f, 11.5f}, 0, 11, ~0u},   // -0.8 is column 0
        {{-1.2f, 11.5f}, {-1.2f, 11.5f}, -1, -1, ~0u}}; // -1.2 is not (15, 10)
    for (const auto& [from, to, x, y, mask] : cases)
    {
        target.mask = mask;
        const CPoint hit = SweptTest(from, to, target);
        EXPECT_EQ(std::make_pair(hit.x, hit.y), std::make_pair(x, y))
            << from.x << ", " << from.y << " -> " << to.x << ", mask " << mask;
    }
}

// Sizes over 200 seeds. A small burst and a ring are always heard, the crumbling's large ones
// (one a frame) about one time in seven; the clock steps past the sound's throttle between.
TEST(Particle, BurstsAndRingsHaveTheirSizesAndSound)
{
    ASSERT_TRUE(StartAudio()); // the dummy driver: the sounds load, nothing is heard
    CRecordingOutput output;
    SetSoundOutput(&output);
    std::set<size_t> sizes[3];
    size_t heard[3] = {};
    for (uint32_t seed = 1; seed <= 200; ++seed)
    {
        tarn::SeedRandom(seed, 10.0 + seed);
        for (int kind = 0; kind < 3; ++kind)
        {
            CParticleList particles;
            const size_t sounds = output.m_Played.size();
            output.m_Now += 1000;
            if (kind == 2)
                CreateRingExplosion(&particles, CVector2(16, 12), CColor(1, 1, 1, 1));
            else
                CreateExplosion(&particles, CVector2(16, 12), CColor(1, 1, 1, 1), kind == 0);
            sizes[kind].insert(particles.size());
            heard[kind] += output.m_Played.size() - sounds;
        }
    }
    // Small: 3 sparks, a fiery bit and 4 ... 7 coloured; large: 10 ... 20, 20 ... 40, 4 ... 7.
    EXPECT_EQ((std::vector<size_t>{*sizes[0].begin(), *sizes[0].rbegin(), *sizes[2].begin(),
                                   *sizes[2].rbegin(), heard[0], heard[2]}),
              (std::vector<size_t>{8, 11, 30, 50, 200, 200}));
    EXPECT_THAT((std::vector<size_t>{*sizes[1].begin(), *sizes[1].rbegin()}),
                Each(AllOf(Ge(34u), Le(67u))));
    EXPECT_THAT(heard[1], AllOf(Ge(15u), Le(50u))) << "the crumbling's bursts, 15 % expected";
    EXPECT_THAT(output.m_Played, Each(FindOrLoad("data/sfx/explosion_sound.wav")->Chunk()));
    while (!MixerFile::List().empty())
        delete MixerFile::List().front(); // no sound outlives the mixer
    ShutdownAudio();
    SetSoundOutput(nullptr);
}

// The corner is the truncated centre (no + 0.5). Without a picture it still ages and ends (it
// used to stay for ever); the last particle moves into a freed slot.
TEST(Particle, FadesIsPlacedByTruncationAndLeavesTheListWithItsSprite)
{
    CSprite* sprite = CreateSprite("data/gfx/particle-01.png");
    sprite->m_W = 3;
    sprite->m_Color = CColor(1.5f, 0.5f, -0.2f, 2.0f);
    CParticleList particles;
    particles.push_back(std::make_unique<CParticle>(nullptr));
    particles.back()->m_Lifetime = 0.25f;
    particles.push_back(std::make_unique<CParticle>(sprite));
    CParticle& p = *particles.back();
    p.m_ColorRate = CColor(-1.0f, -1.0f, 0.0f, -0.5f);
    p.m_Position = CVector2(-0.6f, 9.99f);
    p.m_Lifetime = 0.5f;
    const size_t sprites = SpriteList().size();
    UpdateParticles(particles, 0.25f);
    ASSERT_EQ(particles.size(), 1u); // and the one moved in was updated once, in the same pass
    EXPECT_EQ(sprite->m_Color, CColor(0.75f, 0.25f, 0.0f, 0.875f));
    EXPECT_EQ(sprite->m_X, -2);
    UpdateParticles(particles, 0.25f);
    EXPECT_EQ(std::make_pair(particles.size(), SpriteList().size()),
              std::make_pair(size_t{0}, sprites - 1));
}

// 80 px/s² at 16 ms: 1.28 a step, the limit of 20 exactly at the 16th, braking as fast. A
// press moves a pixel and stops that axis; the clamp holds the position, not the speed.
TEST(PlayerMotion, AcceleratesBrakesIsNudgedAndClamped)
{
    const std::pair<CButtonSet, CVector2> cases[] = {
        {CButtonSet(1 << kButtonRight), {1, 0}},
        {CButtonSet((1 << kButtonUp) | (1 << kButtonDown)), {0, -1}},
        {CButtonSet((1 << kButtonLeft) | (1 << kButtonRight)), {-1, 0}}};
    for (const auto& [held, unit] : cases)
    {
        CPlayerMotion motion;
        for (int n = 1; n <= 32; ++n)
        {
            motion.Step(n <= 16 ? held : CButtonSet(), kDt);
            const float speed = n <= 16 ? std::min(1.28f * n, 20.0f) : 20.0f - 1.28f * (n - 16);
            const float off = (motion.m_Velocity - unit * std::max(speed, 0.0f)).Length();
            EXPECT_LE(off, n % 16 ? 1e-4f : 0.0f) << n; // to the bit at the limit and at rest
        }
    }
    CPlayerMotion motion;
    for (int n = 0; n < 200; ++n)
        motion.Step(CButtonSet((1 << kButtonRight) | (1 << kButtonUp)), kDt);
    EXPECT_EQ(motion.m_Position, CVector2(31.0f, -3.0f));
    const CVector2 velocity = motion.m_Velocity;
    EXPECT_NEAR(velocity.x, 14.142136f, 1e-5f); // the limit of 20 is on the length
    EXPECT_EQ(velocity.y, -velocity.x);
    motion.Nudge(kButtonRight);
    EXPECT_EQ(motion.m_Position, CVector2(32.0f, -3.0f));
    EXPECT_EQ(motion.m_Velocity, CVector2(0.0f, velocity.y));
    motion.Step(CButtonSet(1 << kButtonUp), kDt);
    EXPECT_EQ(motion.m_Position.x, 31.0f);
    for (int n = 0; n < 200; ++n)
        motion.Step(CButtonSet((1 << kButtonLeft) | (1 << kButtonDown)), kDt);
    EXPECT_EQ(motion.m_Position, CVector2(-1.0f, 23.0f));
}

// Buttons outside 0 ... 4 would throw from the bit set. Once hit it neither fires nor moves.
TEST(Player, FiresIgnoresOtherButtonsAndItsSpriteGoesWithTheHit)
{
    CPlayer player;
    CFakeGameplay gameplay;
    std::vector<int> shots;
    for (int update = 1; update <= 101; ++update)
    {
        if (update == 51)
            player.KeyUp(kButtonFire);
        if (update == 1 || update == 101)
            player.KeyDown(kButtonFire);
        const int before = gameplay.m_PlayerShots;
        player.Update(kDt, gameplay);
        if (gameplay.m_PlayerShots != before)
            shots.push_back(update);
    }
    EXPECT_EQ(shots, (std::vector<int>{1, 16, 31, 46, 101}));
    player.KeyUp(kButtonFire);
    for (const EButton button : {EButton(-1), EButton(5), EButton(99)})
    {
        player.KeyDown(button);
        player.KeyUp(button);
        EXPECT_FALSE(player.IsHeld(button));
    }
    const size_t sprites = SpriteList().size();
    player.RemoveSpriteOnHit();
    EXPECT_EQ(player.Sprite(), nullptr);
    EXPECT_EQ(SpriteList().size(), sprites - 1);
    player.KeyDown(kButtonFire);
    player.KeyDown(kButtonRight);
    for (int n = 0; n < 30; ++n)
        player.Update(kDt, gameplay);
    EXPECT_EQ(gameplay.m_PlayerShots, 5) << "fired once hit";
    EXPECT_EQ(player.Position(), CVector2(5.0f, 11.0f)) << "moved once hit (beyond the nudge)";
}
