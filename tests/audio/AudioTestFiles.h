#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Support.h"

/// Writes a 16-bit PCM WAV at 44.1 kHz: a square wave of `amplitude` (half-period
/// `halfPeriod` frames) lasting `frames` frames, on every channel.
void WriteSquareWav(const std::string& path, int channels, int frames, int16_t amplitude,
                    int halfPeriod = 50);
/// Writes any bytes to a file (for broken or non-sound files).
void WriteBytes(const std::string& path, const std::string& bytes);
/// The whole file as signed 16-bit little-endian samples.
std::vector<int16_t> ReadSamples(const std::string& path);
/// Largest absolute sample value (0 for an empty or silent stream).
int PeakOf(const std::vector<int16_t>& samples);

/// Deletes every registered sound (a test's clean slate; the game never does this).
void DeleteAllSounds();
