#include "audio/Audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdint>

#include "audio/BeatTrack.h"
#include "util/Log.h"

namespace
{
constexpr int kSampleRate = 44100;  // Hz
constexpr int kOutputChannels = 2;  // stereo
constexpr int kChunkSize = 2048;    // sample frames per mixer buffer
constexpr int kMixingChannels = 16; // sound effects that can sound at once
constexpr int kDriverNameLength = 256;

bool s_AudioRunning = false;
/// SDL_GetTicks() right after the music last started; 0 until then.
uint32_t s_MusicStartTime = 0;
/// The current play-through's music; freed when the next one starts and at exit.
Mix_Music* s_Music = nullptr;
} // namespace

// The lines printed here are the game's own messages, in its own wording: Finnish where
// the design wrote them so, beside English ones. Players see them on the console and the
// tests read them verbatim (the no-sound test counts the "Vaara: " line): do not translate.
bool InitAudio()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
    {
        tarn::Log(tarn::ELogStream::Output, std::string("Ei onnannu ") + SDL_GetError());
        return false;
    }
    // The audio subsystem stays up on failure; the next attempt reuses it.
    if (Mix_OpenAudio(kSampleRate, AUDIO_S16LSB, kOutputChannels, kChunkSize) < 0)
    {
        tarn::Log(tarn::ELogStream::Output,
                  std::string("Vaara: ei kyetty 44100 Hz 16-bit audioon ") + SDL_GetError());
        return false;
    }
    char driverName[kDriverNameLength] = {};
    SDL_AudioDriverName(driverName, sizeof driverName);
    tarn::Log(tarn::ELogStream::Output, driverName);
    Mix_AllocateChannels(kMixingChannels);
    return true;
}

void PlayMusic(const std::string& fileName)
{
    // Without a device every call tries again, so the shell's per-frame restart check
    // retries (and reports) once a frame.
    if (!s_AudioRunning)
    {
        s_AudioRunning = InitAudio();
        if (!s_AudioRunning)
            return;
    }
    Mix_Music* const music = Mix_LoadMUS(fileName.c_str());
    if (!music)
    {
        // The beat track keeps its cursor: there is no new play-through to count from.
        // The game's own message, spacing and all.
        tarn::Log(tarn::ELogStream::Output,
                  "Error! Mix_LoadMUS( " + fileName + ") : " + SDL_GetError());
        return;
    }
    // The track is loaded anew for every play-through; the finished one would otherwise
    // stay in memory, one more for every loop of the music.
    if (s_Music)
        Mix_FreeMusic(s_Music);
    s_Music = music;
    Mix_PlayMusic(music, 0);
    s_MusicStartTime = SDL_GetTicks();
    GetBeatTrack().Reset();
}

bool GetBeatFlag()
{
    // Unsigned: stays right across the tick counter's wrap after 49 days.
    return GetBeatTrack().Query(SDL_GetTicks() - s_MusicStartTime);
}

bool IsAudioRunning()
{
    return s_AudioRunning;
}

void SetAudioRunning(bool running)
{
    s_AudioRunning = running;
}

void ShutdownAudio()
{
    if (s_Music)
    {
        Mix_FreeMusic(s_Music); // halts it first if it still plays
        s_Music = nullptr;
    }
    if (s_AudioRunning)
        Mix_CloseAudio();
    s_AudioRunning = false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
