// The listing's path helpers on arbitrary search strings.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "util/DirectoryListing.h"

namespace
{
using tarn::CDirectoryListing;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

std::string Trim(const std::string& s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string search(reinterpret_cast<const char*>(data), size);

    const std::string normal = CDirectoryListing::NormalisePath(search);
    Check(normal.find('\\') == std::string::npos);
    Check(search == "." ? normal == "./*.*" : normal.size() == search.size());
    Check(CDirectoryListing::NormalisePath(normal) == normal);

    // Every search string names a folder and asks for all of it.
    const std::string folder = CDirectoryListing::SearchFolder(search);
    Check(EndsWith(folder, "/*.*"));
    Check(folder.find('\\') == std::string::npos);
    // ... and that folder is the start of the search string, up to a slash of it ("./" when
    // there is none). Not idempotent: "///" searches "//*.*", which searches "/*.*".
    const std::string trimmed = Trim(normal);
    const std::string head = folder.substr(0, folder.size() - 3);
    Check(folder == "./*.*" || trimmed.compare(0, head.size(), head) == 0);

    // A pattern is one name: no folder separator left in it.
    const std::string pattern = CDirectoryListing::FilePattern(search);
    Check(pattern.find('\\') == std::string::npos);
    if (normal.find('/') != std::string::npos)
        Check(pattern.find('/') == std::string::npos && pattern.find('.') != std::string::npos);
    // The pattern matches what it names when it has no star.
    if (!pattern.empty() && pattern.find('*') == std::string::npos)
        Check(tarn::WildcardMatch(pattern, pattern));
    return 0;
}
