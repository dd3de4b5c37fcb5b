#include "audio/AudioTestFiles.h"

#include <fstream>

#include "audio/SoundLibrary.h"

void WriteSquareWav(const std::string& path, int channels, int frames, int16_t amplitude,
                    int halfPeriod)
{
    std::string out;
    // A little-endian field of `bytes` bytes.
    const auto put = [&out](uint32_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const uint32_t rate = 44100;
    const uint32_t bytesPerFrame = 2u * static_cast<uint32_t>(channels);
    const uint32_t dataBytes = bytesPerFrame * static_cast<uint32_t>(frames);
    out += "RIFF";
    put(36 + dataBytes, 4);
    out += "WAVEfmt ";
    put(16, 4); // size of the format block
    put(1, 2);  // PCM
    put(static_cast<uint32_t>(channels), 2);
    put(rate, 4);
    put(rate * bytesPerFrame, 4); // bytes per second
    put(bytesPerFrame, 2);        // block align
    put(16, 2);                   // bits per sample
    out += "data";
    put(dataBytes, 4);
    for (int i = 0; i < frames * channels; ++i)
        put(static_cast<uint16_t>((i / channels / halfPeriod) % 2 ? -amplitude : amplitude), 2);
    std::ofstream(path, std::ios::binary) << out;
}

void DeleteAllSounds()
{
    while (MixerFile::HasRegistry() && !MixerFile::List().empty())
        delete MixerFile::List().front();
}
