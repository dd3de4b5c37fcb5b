#include <gtest/gtest.h>

#include <SDL.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <unistd.h>

#include "audio/Audio.h"
#include "audio/SoundLibrary.h"
#include "game/Autopilot.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"
#include "util/Random.h"

namespace fs = std::filesystem;

// Every picture and sound the game reads, damaged at once, under the scripted player: the
// decoders get each damaged file (sounds at start-up, pictures as the frames ask for them,
// the explosion's on the first hit), and the game must play on without them.
namespace
{
enum class EDamage
{
    kTruncated, ///< the first half of each file: headers intact, data cut off
    kGarbage,   ///< random bytes of the same length
    kEmpty,     ///< zero bytes
};

struct SDamageCase
{
    const char* m_Name;
    EDamage m_Damage;
    /// The player's own picture left intact.
    bool m_KeepPlayer;
};

void Damage(const fs::path& file, EDamage damage, std::mt19937& random)
{
    const auto size = static_cast<std::size_t>(fs::file_size(file));
    switch (damage)
    {
    case EDamage::kTruncated:
        fs::resize_file(file, size / 2);
        break;
    case EDamage::kEmpty:
        fs::resize_file(file, 0);
        break;
    case EDamage::kGarbage:
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        for (std::size_t i = 0; i < size; ++i)
            out.put(static_cast<char>(random() & 0xFF));
        break;
    }
    }
}

class DamagedData : public ::testing::TestWithParam<SDamageCase>
{
protected:
    void SetUp() override
    {
        const fs::path source = fs::path(KORVANE_SOURCE_DIR) / "data";
        if (!fs::exists(source / "gfx" / "it_guy.png"))
            GTEST_SKIP() << "game data not generated";
        m_Root = fs::temp_directory_path() / ("korvane-damaged-" + std::to_string(getpid()));
        fs::remove_all(m_Root);
        fs::create_directories(m_Root);
        fs::copy(source, m_Root / "data", fs::copy_options::recursive);
        std::mt19937 random(77);
        for (const auto& entry : fs::recursive_directory_iterator(m_Root / "data"))
            if (entry.is_regular_file() &&
                !(GetParam().m_KeepPlayer && entry.path().filename() == "it_guy.png"))
                Damage(entry.path(), GetParam().m_Damage, random);
        m_Previous = fs::current_path();
        fs::current_path(m_Root);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(32, 24, 32, SDL_SWSURFACE), nullptr) << SDL_GetError();
    }
    void TearDown() override
    {
        ShutdownAudio();
        SDL_Quit();
        if (!m_Root.empty())
        {
            fs::current_path(m_Previous);
            fs::remove_all(m_Root);
        }
    }

    fs::path m_Root;
    fs::path m_Previous;
};
} // namespace

TEST_P(DamagedData, PlaysOnWithWhatItHas)
{
    ASSERT_TRUE(StartAudio()); // the dummy device: every damaged sound is decoded
    PlayMusic("data/sfx/Ondrafel.ogg");
    tarn::test::SeedRandom(31u, 2.0);
    auto gameplay = std::make_unique<CGameplay>();
    autopilot::CAutopilot pilot;
    int levels = 0;
    bool hitOnce = false;
    for (int frame = 0; frame < 4000; ++frame)
    {
        // Careless for the last quarter, so that the player is hit and the death picture
        // (damaged too) is drawn.
        pilot.m_Dodge = frame < 3000;
        pilot.Steer(*gameplay);
        gameplay->Update(0.016f);
        CGameplayImpl& game = *gameplay->Impl();
        levels = game.LevelCount() > levels ? game.LevelCount() : levels;
        hitOnce = hitOnce || game.PlayerHit();
        if (game.PlayerHit() && game.DeathTime() > 1.0f)
        {
            gameplay->KeyDown(kButtonFire);
            ASSERT_TRUE(gameplay->IsOver());
            gameplay = std::make_unique<CGameplay>();
        }
    }
    // Shots, hits and the creature need no picture: the game goes on level after level.
    // Without its picture the player is an invisible 0 x 0 sprite that still fires and
    // that no shot can hit.
    EXPECT_GE(levels, 2);
    EXPECT_EQ(hitOnce, GetParam().m_KeepPlayer);
}

INSTANTIATE_TEST_SUITE_P(AllFiles, DamagedData,
                         ::testing::Values(SDamageCase{"Truncated", EDamage::kTruncated, true},
                                           SDamageCase{"Garbage", EDamage::kGarbage, true},
                                           SDamageCase{"Empty", EDamage::kEmpty, true},
                                           SDamageCase{"GarbageEvenThePlayer", EDamage::kGarbage,
                                                       false}),
                         [](const ::testing::TestParamInfo<SDamageCase>& info)
                         { return info.param.m_Name; });
