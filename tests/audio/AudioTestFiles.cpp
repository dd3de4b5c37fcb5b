#include "audio/AudioTestFiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "audio/SoundLibrary.h"

namespace
{
void PutU16(std::string& out, uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void PutU32(std::string& out, uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}
} // namespace

void WriteSquareWav(const std::string& path, int channels, int frames, int16_t amplitude,
                    int halfPeriod)
{
    const uint32_t rate = 44100;
    const uint32_t bytesPerFrame = 2u * static_cast<uint32_t>(channels);
    const uint32_t dataBytes = bytesPerFrame * static_cast<uint32_t>(frames);
    std::string out = "RIFF";
    PutU32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    PutU32(out, 16); // size of the format block
    PutU16(out, 1);  // PCM
    PutU16(out, static_cast<uint32_t>(channels));
    PutU32(out, rate);
    PutU32(out, rate * bytesPerFrame); // bytes per second
    PutU16(out, bytesPerFrame);        // block align
    PutU16(out, 16);                   // bits per sample
    out += "data";
    PutU32(out, dataBytes);
    for (int i = 0; i < frames; ++i)
    {
        const int16_t v = (i / halfPeriod) % 2 == 0 ? amplitude : static_cast<int16_t>(-amplitude);
        for (int c = 0; c < channels; ++c)
            PutU16(out, static_cast<uint16_t>(v));
    }
    WriteBytes(path, out);
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<int16_t> ReadSamples(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        const auto lo = static_cast<uint8_t>(bytes[2 * i]);
        const auto hi = static_cast<uint8_t>(bytes[2 * i + 1]);
        samples[i] = static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
    }
    return samples;
}

int PeakOf(const std::vector<int16_t>& samples)
{
    int peak = 0;
    for (int16_t s : samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

void DeleteAllSounds()
{
    while (MixerFile::HasRegistry() && !MixerFile::List().empty())
        delete MixerFile::List().front();
}
