#include "audio/SoundLibrary.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "audio/Audio.h"
#include "audio/SoundOutput.h"
#include "util/DirectoryListing.h"
#include "util/Log.h"

namespace
{
constexpr uint32_t kThrottleMs = 100; // a repeat of the same sound within this is dropped
const char* const kSoundFolder = "data/sfx/";
const char* const kSoundPattern = "data/sfx/*.wav";

/// The one sound remembered by PlaySound: only back-to-back repeats are dropped.
struct SThrottle
{
    std::string lastName;
    uint32_t lastTime = 0; // ms
};

SThrottle& Throttle()
{
    static SThrottle throttle;
    return throttle;
}

/// The game's clock and mixer.
class CMixerOutput : public ISoundOutput
{
public:
    uint32_t Ticks() override { return SDL_GetTicks(); }
    // Channel -1: the first free one; when all are busy the sound is simply not heard.
    void Play(Mix_Chunk* chunk) override { Mix_PlayChannelTimed(-1, chunk, 0, -1); }
};

CMixerOutput g_MixerOutput;
ISoundOutput* g_Output = &g_MixerOutput;
} // namespace

MixerFile::MixerFile(const std::string& key, const std::string& openPath) : m_Name(key)
{
    const std::string& path = openPath.empty() ? key : openPath;
    // Mix_LoadWAV_RW closes the source itself (free-the-source flag 1).
    SDL_RWops* const source = SDL_RWFromFile(path.c_str(), "rb");
    m_Chunk = source ? Mix_LoadWAV_RW(source, 1) : nullptr;
    // The game's own message, word for word: players and the tests read it.
    if (!m_Chunk)
        tarn::Log(tarn::ELogStream::Output, "Error! Couldn't load: " + path);
}

MixerFile::~MixerFile()
{
    Mix_FreeChunk(m_Chunk);
    m_Chunk = nullptr;
}

MixerFile* FindOrLoad(const std::string& name, const std::string& openPath)
{
    for (MixerFile* file : MixerFile::List())
        if (file->Name() == name)
            return file;
    return new MixerFile(name, openPath); // registers itself; lives until deleted
}

void PlayUnthrottled(const std::string& name)
{
    MixerFile* const file = FindOrLoad(name);
    if (file->Chunk())
    {
        g_Output->Play(file->Chunk());
        return;
    }
    // A failed load is dropped, so the next request tries the file again.
    delete file;
}

void PlaySound(const std::string& name)
{
    SThrottle& throttle = Throttle();
    // Unsigned subtraction: right across the tick counter's wrap.
    if (g_Output->Ticks() - throttle.lastTime < kThrottleMs && name == throttle.lastName)
        return;
    PlayUnthrottled(name);
    throttle.lastName = name;
    // After playing: a slow first load does not eat the window.
    throttle.lastTime = g_Output->Ticks();
}

bool StartAudio()
{
    const bool opened = InitAudio();
    if (opened)
    {
        SetAudioRunning(true);
        LoadAllSounds();
    }
    return opened;
}

void LoadAllSounds()
{
    tarn::CDirectoryListing listing;
    listing.List(kSoundPattern);
    while (!listing.AtEnd())
    {
        // Keyed by the lower-cased path, as the game asks for its sounds; opened by the
        // listed name, which is the one a case-sensitive file system knows.
        const std::string listed = kSoundFolder + listing.NextName();
        FindOrLoad(tarn::ToLower(listed), listed);
    }
}

void SetSoundOutput(ISoundOutput* output)
{
    g_Output = output ? output : &g_MixerOutput;
    Throttle() = SThrottle();
}
