#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

/// What the tests need to know of an Ogg Vorbis file, read straight from its pages.
struct SOggInfo
{
    bool valid = false;
    uint32_t sampleRate = 0;
    int64_t samples = 0; ///< per channel: the granule position of the last page
};

inline SOggInfo ReadOggInfo(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto byte = [&](size_t at) { return uint64_t(uint8_t(b[at])); };
    SOggInfo info;
    // The first page holds one packet, "\x01vorbis", version, channels, rate.
    const size_t packet = b.size() > 27 ? 27 + byte(26) : 0;
    if (b.compare(0, 4, "OggS") != 0 || packet + 16 > b.size() ||
        b.compare(packet, 7, "\x01vorbis"))
        return info;
    for (int i = 3; i >= 0; --i)
        info.sampleRate = uint32_t(info.sampleRate << 8 | byte(packet + 12 + size_t(i)));
    const size_t last = b.rfind("OggS");
    if (last == std::string::npos || last + 27 > b.size())
        return info;
    for (int i = 7; i >= 0; --i)
        info.samples = int64_t(uint64_t(info.samples) << 8 | byte(last + 6 + size_t(i)));
    info.valid = true;
    return info;
}
