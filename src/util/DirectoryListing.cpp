#include "util/DirectoryListing.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace tarn
{
namespace
{
const char* const kTrimmed = " \t";

std::string Trim(const std::string& s)
{
    const std::string::size_type first = s.find_first_not_of(kTrimmed);
    if (first == std::string::npos)
        return std::string();
    const std::string::size_type last = s.find_last_not_of(kTrimmed);
    return s.substr(first, last - first + 1);
}

// Enumerates the folder of a "folder/*.*" search string; the trailing "*.*" only says
// "everything", so it is cut off before asking the file system.
template <typename Visit> void EnumerateFolder(const std::string& search, Visit visit)
{
    std::string folder = search;
    const std::string::size_type slash = folder.rfind('/');
    folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
    if (folder.empty())
        folder = "/";

    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error)
        return;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error))
    {
        if (error)
            return;
        std::error_code typeError;
        const bool isFolder = it->is_directory(typeError);
        visit(it->path().filename().string(), isFolder && !typeError);
    }
}
} // namespace

void CDirectoryListing::List(const std::string& search)
{
    m_Names.clear();
    const std::string pattern = FilePattern(search);
    const std::string folder = SearchFolder(search);
    for (int pass = 0; pass < 2; ++pass)
    {
        const bool wantFolders = pass == 0;
        EnumerateFolder(folder,
                        [&](const std::string& name, bool isFolder)
                        {
                            if (name.empty() || name == "." || name == ".." ||
                                isFolder != wantFolders)
                                return;
                            // A folder is tested as "name." so that "*.*" takes every folder.
                            const std::string tested = isFolder ? name + "." : name;
                            if (WildcardMatch(tested, pattern))
                                m_Names.push_back(name);
                        });
    }
    Rewind();
}

std::string CDirectoryListing::NextName()
{
    std::string name = *m_Cursor;
    ++m_Cursor;
    return name;
}

std::string CDirectoryListing::NormalisePath(std::string search)
{
    if (search == ".")
        search = "./*.*";
    for (char& c : search)
        if (c == '\\')
            c = '/';
    return search;
}

std::string CDirectoryListing::SearchFolder(std::string search)
{
    const std::string s = Trim(NormalisePath(search));
    const std::string::size_type slash = s.rfind('/');
    if (slash == std::string::npos)
        return "./*.*";
    const std::string folder = s.substr(0, slash);
    if (!folder.empty() && folder.back() == '/')
        return folder + "*.*";
    return folder + "/*.*";
}

std::string CDirectoryListing::FilePattern(std::string search)
{
    const std::string s = Trim(NormalisePath(search));
    const std::string::size_type slash = s.rfind('/');
    if (slash == std::string::npos)
        return s;
    const std::string last = s.substr(slash + 1);
    return last.find('.') != std::string::npos ? last : std::string("*.*");
}

std::vector<std::string> SplitString(const std::string& text, const std::string& delimiter)
{
    std::vector<std::string> pieces;
    std::string rest = text;
    if (delimiter.empty())
    {
        if (!rest.empty())
            pieces.push_back(rest);
        return pieces;
    }
    std::string::size_type at;
    while ((at = rest.find(delimiter)) != std::string::npos)
    {
        if (at != 0)
            pieces.push_back(rest.substr(0, at));
        rest.erase(0, at + delimiter.size());
    }
    if (!rest.empty())
        pieces.push_back(rest);
    return pieces;
}

bool WildcardMatch(const std::string& name, const std::string& pattern)
{
    const std::vector<std::string> pieces = SplitString(pattern, "*");
    const bool anchoredStart = pattern.empty() || pattern.front() != '*';
    const bool anchoredEnd = pattern.empty() || pattern.back() != '*';
    std::string::size_type start = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i)
    {
        const std::string& piece = pieces[i];
        const std::string::size_type pos = name.find(piece, start);
        if (pos == std::string::npos)
            return false;
        if (i == 0 && anchoredStart && pos != 0)
            return false;
        if (i + 1 == pieces.size() && anchoredEnd && pos + piece.size() != name.size())
            return false;
        start = pos + piece.size();
    }
    return true;
}

std::string ToLower(const std::string& text)
{
    std::string lowered = text;
    for (char& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}
} // namespace tarn
