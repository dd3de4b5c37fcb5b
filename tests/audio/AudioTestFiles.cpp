#include "audio/AudioTestFiles.h"

#include <fstream>

#include "audio/SoundLibrary.h"

namespace
{
/// `value` as a little-endian field of `bytes` bytes.
std::string Field(uint32_t value, int bytes)
{
    std::string field;
    for (int i = 0; i < bytes; ++i)
        field += static_cast<char>((value >> (8 * i)) & 0xFF);
    return field;
}
} // namespace

void WriteSquareWav(const std::string& path, int channels, int frames, int16_t amplitude,
                    int halfPeriod)
{
    const uint32_t rate = 44100, bytesPerFrame = 2 * channels, dataBytes = bytesPerFrame * frames;
    // RIFF header, format block (PCM, channels, rate, bytes a second, a frame, bits), data.
    std::string out = "RIFF" + Field(36 + dataBytes, 4) + "WAVEfmt " + Field(16, 4) + Field(1, 2) +
                      Field(channels, 2) + Field(rate, 4) + Field(rate * bytesPerFrame, 4) +
                      Field(bytesPerFrame, 2) + Field(16, 2) + "data" + Field(dataBytes, 4);
    for (int i = 0; i < frames * channels; ++i)
        out += Field(
            static_cast<uint16_t>((i / channels / halfPeriod) % 2 ? -amplitude : amplitude), 2);
    std::ofstream(path, std::ios::binary) << out;
}

void DeleteAllSounds()
{
    while (MixerFile::HasRegistry() && !MixerFile::List().empty())
        delete MixerFile::List().front();
}
