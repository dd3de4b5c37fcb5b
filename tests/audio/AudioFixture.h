#pragma once

#include <gtest/gtest.h>

#include <SDL.h>
#include <filesystem>
#include <memory>
#include <string>

#include "audio/Audio.h"
#include "audio/AudioTestFiles.h"
#include "audio/SoundLibrary.h"

/// A test running in its own folder holding data/sfx/, with SDL's clock started and the
/// audio state put back afterwards (the registry emptied, the mixer closed, the real clock).
class CAudioFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_Dir.Path().empty());
        std::filesystem::create_directories(m_Dir / "data/sfx");
        m_Cwd = std::make_unique<CCurrentDir>(m_Dir.Path());
        ASSERT_EQ(SDL_Init(SDL_INIT_NOPARACHUTE), 0) << SDL_GetError();
    }
    void TearDown() override
    {
        DeleteAllSounds();
        ShutdownAudio();
        tarn::test::SetSoundClock({});
        SDL_Quit();
        m_Cwd.reset();
    }

    /// StartAudio with its standard output, which the test checks.
    std::string StartAudioCaptured()
    {
        ::testing::internal::CaptureStdout();
        StartAudio();
        return ::testing::internal::GetCapturedStdout();
    }

    CTempDir m_Dir;
    std::unique_ptr<CCurrentDir> m_Cwd;
};
