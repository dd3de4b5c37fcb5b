#pragma once

#include <cstdint>
#include <string>

#include "audio/AutoList.h"

class ISoundOutput;

struct Mix_Chunk;

/// One loaded sound effect, registered by its key (the path it was asked for).
class MixerFile : public tarn::CAutoList<MixerFile>
{
public:
    /// Loads `openPath` (or `key` when empty) and registers under `key`. On failure prints
    /// "Error! Couldn't load: " and the name; the object still exists with a null chunk.
    explicit MixerFile(const std::string& key, const std::string& openPath = std::string());
    ~MixerFile() override;

    Mix_Chunk* Chunk() const { return m_Chunk; }
    const std::string& Name() const { return m_Name; }

private:
    Mix_Chunk* m_Chunk = nullptr;
    std::string m_Name;
};

/// The registered file whose key equals `name` exactly (case-sensitive), or a new one
/// registered under `name` and loaded from `openPath` (from `name` when empty). The new one
/// is returned even when its load failed (null chunk). The registry owns nothing: callers
/// delete a file only to drop it.
MixerFile* FindOrLoad(const std::string& name, const std::string& openPath = std::string());
/// Plays the sound at once on the first free channel, however recently it last played; a
/// failed load is deleted instead.
void PlayUnthrottled(const std::string& name);
/// PlayUnthrottled, unless the same name was played less than 100 ms ago.
void PlaySound(const std::string& name);
/// InitAudio; on success marks audio running and preloads every "data/sfx/*.wav".
bool StartAudio();
/// Preloads every WAV of the sound folder under its lower-cased path, each opened by the
/// name the folder lists (which may have capitals).
void LoadAllSounds();

/// From now on the library reads its clock and plays through `output` (null: the game's
/// own), and the throttle forgets the last sound it played. Not owned.
void SetSoundOutput(ISoundOutput* output);
