// WildcardMatch and SplitString on arbitrary bytes. Input: the name, one zero byte, the
// pattern (and for SplitString: the pattern split at the name's first byte or two).

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
    // reach[j]: name[0, i) matches pattern[0, j).
    std::vector<char> reach(pattern.size() + 1, 0);
    reach[0] = 1;
    for (std::size_t j = 0; j < pattern.size() && pattern[j] == '*'; ++j)
        reach[j + 1] = 1;
    for (const char c : name)
    {
        std::vector<char> next(pattern.size() + 1, 0);
        for (std::size_t j = 0; j < pattern.size(); ++j)
        {
            if (pattern[j] == '*')
                next[j + 1] = next[j] || reach[j + 1] || reach[j];
            else
                next[j + 1] = reach[j] && pattern[j] == c;
        }
        reach.swap(next);
    }
    return reach[pattern.size()] != 0;
}

/// `text` with every leftmost non-overlapping occurrence of `delimiter` removed.
std::string Without(const std::string& text, const std::string& delimiter)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();)
    {
        if (!delimiter.empty() && text.compare(i, delimiter.size(), delimiter) == 0)
            i += delimiter.size();
        else
            out += text[i++];
    }
    return out;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = input.find('\0');
    const std::string name = input.substr(0, zero);
    const std::string pattern = zero == std::string::npos ? std::string() : input.substr(zero + 1);

    const bool matched = tarn::WildcardMatch(name, pattern);
    // The pieces are placed at their first occurrences, so some names a glob would take are
    // refused ("*ab" and "abab"), but nothing a glob refuses is ever taken. A pattern without
    // pieces takes every name.
    const bool hasPieces = pattern.find_first_not_of('*') != std::string::npos;
    if (!hasPieces)
        Check(matched);
    else if (matched)
        Check(GlobMatches(name, pattern));
    // Without a star a pattern takes exactly itself.
    if (pattern.find('*') == std::string::npos && !pattern.empty())
        Check(matched == (name == pattern));
    if (name.find('*') == std::string::npos)
        Check(tarn::WildcardMatch(name, name) && tarn::WildcardMatch(name, "*" + name + "*"));

    // SplitString: no empty piece, no piece holds the delimiter, and the pieces are the
    // text without its delimiters.
    const std::string delimiter = name.substr(0, name.empty() ? 0 : 1 + name[0] % 2);
    const std::vector<std::string> pieces = tarn::SplitString(pattern, delimiter);
    std::string joined;
    for (const std::string& piece : pieces)
    {
        Check(!piece.empty());
        Check(delimiter.empty() || piece.find(delimiter) == std::string::npos);
        joined += piece;
    }
    if (!delimiter.empty())
        Check(joined == Without(pattern, delimiter));
    else
        Check(joined == pattern);
    return 0;
}
