#include <gtest/gtest.h>

#include <SDL.h>
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

// Every sound and picture but the player's replaced by garbage at once, under the scripted player
// (the e2e fault script damages one file per run of the real binary): the decoders get them all in
// one process, and the game must play on, hit and death picture included.
class DamagedData : public ::testing::Test
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
        {
            if (!entry.is_regular_file() || entry.path().filename() == "it_guy.png")
                continue;
            const auto size = static_cast<std::size_t>(fs::file_size(entry.path()));
            std::ofstream out(entry.path(), std::ios::binary | std::ios::trunc);
            for (std::size_t i = 0; i < size; ++i)
                out.put(static_cast<char>(random() & 0xFF));
        }
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

TEST_F(DamagedData, AllAtOnceItPlaysOnWithWhatItHas)
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
        pilot.m_Dodge = frame < 3000; // careless at the end, so the death picture is drawn
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
    EXPECT_GE(levels, 2);
    EXPECT_TRUE(hitOnce);
}
