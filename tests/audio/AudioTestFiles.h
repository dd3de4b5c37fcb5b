#pragma once

#include <cstdint>
#include <string>

/// Writes a 16-bit 44.1 kHz PCM WAV of `frames` frames: a square wave on every channel.
void WriteSquareWav(const std::string& path, int channels, int frames, int16_t amplitude,
                    int halfPeriod = 50);
/// Deletes every registered sound (a test's clean slate; the game never does this).
void DeleteAllSounds();
