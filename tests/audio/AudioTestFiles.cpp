#include "audio/AudioTestFiles.h"

#include <fstream>

#include "audio/SoundLibrary.h"

void WriteSquareWav(const std::string& path, int channels, int frames, int16_t amplitude,
                    int halfPeriod)
{
    // `value` as a little-endian field of `bytes` bytes (the host is little-endian too).
    const auto field = [](uint32_t value, int bytes)
    { return std::string(reinterpret_cast<const char*>(&value), bytes); };
    const uint32_t rate = 44100, bytesPerFrame = 2 * channels, dataBytes = bytesPerFrame * frames;
    // RIFF header, format block (PCM, channels, rate, bytes a second, a frame, bits), data.
    std::string out = "RIFF" + field(36 + dataBytes, 4) + "WAVEfmt " + field(16, 4) + field(1, 2) +
                      field(channels, 2) + field(rate, 4) + field(rate * bytesPerFrame, 4) +
                      field(bytesPerFrame, 2) + field(16, 2) + "data" + field(dataBytes, 4);
    for (int i = 0; i < frames * channels; ++i)
        out += field(
            static_cast<uint16_t>((i / channels / halfPeriod) % 2 ? -amplitude : amplitude), 2);
    std::ofstream(path, std::ios::binary) << out;
}

void DeleteAllSounds()
{
    while (MixerFile::HasRegistry() && !MixerFile::List().empty())
        delete MixerFile::List().front();
}
