// The listing's string helpers on arbitrary bytes. Input: a name, one zero byte, a pattern;
// the whole input is also a search string.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "util/DirectoryListing.h"

namespace
{
/// A plain glob over bytes, '*' any run: what a match must at least be.
bool GlobMatches(const std::string& name, const std::string& pattern)
{
    // reach[j]: the name so far matches pattern[0, j).
    std::vector<char> reach(pattern.size() + 1, 0);
    reach[0] = 1;
    for (std::size_t j = 0; j < pattern.size() && pattern[j] == '*'; ++j)
        reach[j + 1] = 1;
    for (const char c : name)
    {
        std::vector<char> next(pattern.size() + 1, 0);
        for (std::size_t j = 0; j < pattern.size(); ++j)
            next[j + 1] = pattern[j] == '*' ? next[j] || reach[j + 1] : reach[j] && pattern[j] == c;
        reach.swap(next);
    }
    return reach[pattern.size()] != 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = input.find('\0');
    const std::string name = input.substr(0, zero);
    const std::string pattern = zero == std::string::npos ? std::string() : input.substr(zero + 1);

    // The pieces are placed at their first occurrences, so some names a glob would take are
    // refused ("*ab" and "abab"), but nothing a glob refuses is ever taken; a pattern of
    // stars only ("", "*", "**") takes every name.
    const auto check = [](bool condition)
    {
        if (!condition)
            std::abort();
    };
    const bool matched = tarn::WildcardMatch(name, pattern);
    const bool starsOnly = pattern.find_first_not_of('*') == std::string::npos;
    check(starsOnly ? matched : !matched || GlobMatches(name, pattern));

    // Every search names a folder to list whole and a pattern without a folder in it.
    const std::string folder = tarn::CDirectoryListing::SearchFolder(input);
    check(folder.size() >= 4 && folder.compare(folder.size() - 4, 4, "/*.*") == 0);
    check(tarn::CDirectoryListing::FilePattern(input).find_first_of("/\\") == std::string::npos);
    return 0;
}
