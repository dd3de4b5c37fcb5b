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
    int channels = 0;
    uint32_t sampleRate = 0;
    /// Samples per channel: the granule position of the last page.
    int64_t samples = 0;
};

inline SOggInfo ReadOggInfo(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                           std::istreambuf_iterator<char>());
    SOggInfo info;
    auto isPage = [&](size_t at)
    {
        return at + 27 <= bytes.size() && bytes[at] == 'O' && bytes[at + 1] == 'g' &&
               bytes[at + 2] == 'g' && bytes[at + 3] == 'S';
    };
    if (!isPage(0))
        return info;
    // First page: one packet, the identification header "\x01vorbis", version, channels,
    // rate.
    const size_t packet = 27 + bytes[26];
    if (packet + 16 > bytes.size() || bytes[packet] != 1 ||
        std::string(bytes.begin() + long(packet) + 1, bytes.begin() + long(packet) + 7) != "vorbis")
        return info;
    info.channels = bytes[packet + 11];
    info.sampleRate = uint32_t(bytes[packet + 12]) | uint32_t(bytes[packet + 13]) << 8 |
                      uint32_t(bytes[packet + 14]) << 16 | uint32_t(bytes[packet + 15]) << 24;
    for (size_t at = bytes.size() - 27; at > 0; --at)
        if (isPage(at))
        {
            for (int i = 7; i >= 0; --i)
                info.samples = info.samples << 8 | bytes[at + 6 + size_t(i)];
            info.valid = true;
            break;
        }
    return info;
}
