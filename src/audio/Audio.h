#pragma once

#include <string>

/// Opens the audio device (44.1 kHz, signed 16-bit, stereo, 2048-frame chunks, 16 mixing
/// channels) and prints the driver's name. On failure prints why and answers false.
bool InitAudio();
/// Plays the music file once from the start, recording the start time and resetting the
/// beat track. Opens the device first if it is not running; prints and returns on failure.
/// The previous music object is freed.
void PlayMusic(const std::string& fileName);
/// Whether the beat track's cursor for the current music start is odd.
bool GetBeatFlag();
/// Whether the device is open.
bool IsAudioRunning();
void SetAudioRunning(bool running);
/// Frees the music and closes the mixer (at exit).
void ShutdownAudio();
