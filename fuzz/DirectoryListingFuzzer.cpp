// The listing's string helpers on arbitrary bytes (the sanitizers watch every access).
// Input: a name, one zero byte, a pattern; the whole input is also a search string.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "util/DirectoryListing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = input.find('\0');
    const std::string name = input.substr(0, zero);
    const std::string pattern = zero == std::string::npos ? std::string() : input.substr(zero + 1);

    // A pattern of stars only ("", "*", "**") takes every name; every search names a folder
    // to list whole and a pattern without a folder in it.
    const bool matched = tarn::WildcardMatch(name, pattern);
    const std::string folder = tarn::CDirectoryListing::SearchFolder(input);
    if ((!matched && pattern.find_first_not_of('*') == std::string::npos) || folder.size() < 4 ||
        folder.compare(folder.size() - 4, 4, "/*.*") != 0 ||
        tarn::CDirectoryListing::FilePattern(input).find_first_of("/\\") != std::string::npos)
        std::abort();
    return 0;
}
