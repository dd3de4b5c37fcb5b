#pragma once

#include <list>
#include <string>
#include <vector>

// `tarn` holds the engine's utilities, the parts that know nothing of this game: the folder
// listing, messages (Log), random numbers, small maths, swap-removal, the Windows build's
// picture loader and the registry of live objects (audio/AutoList.h). The game's own
// classes (CSprite, CGameplay, CNoteWall, ...) and each subsystem's free functions stay
// global, as the game's design splits them; the folders, not namespaces, are its layers.
namespace tarn
{
/// Lists the entries of one folder whose names match a wildcard pattern, from one
/// search string such as "data/sfx/*.wav". The matching is ours, on the names the
/// system reports: case-sensitive, '*' the only wildcard. Subfolders come first, then files.
class CDirectoryListing
{
public:
    /// Replaces the names with the entries matching `search` and rewinds. A folder that does
    /// not exist or cannot be read gives an empty listing, silently.
    void List(const std::string& search);
    bool AtEnd() const { return m_Cursor == m_Names.end(); }
    /// The name at the cursor (without folder); advances. Only call while !AtEnd().
    std::string NextName();
    void Rewind() { m_Cursor = m_Names.begin(); }

    /// "." becomes "./*.*"; backslashes become slashes.
    static std::string NormalisePath(std::string search);
    /// The folder to enumerate followed by "/*.*" ("./*.*" when the search has no folder).
    static std::string SearchFolder(std::string search);
    /// The name pattern: the part after the last '/', or "*.*" when that part has no dot.
    static std::string FilePattern(std::string search);

private:
    std::list<std::string> m_Names;
    std::list<std::string>::iterator m_Cursor = m_Names.begin();
};

/// Pieces of `text` between occurrences of `delimiter`; empty pieces are dropped.
std::vector<std::string> SplitString(const std::string& text, const std::string& delimiter);
/// `pattern` with '*' matching any run of characters; everything else matches itself.
bool WildcardMatch(const std::string& name, const std::string& pattern);
/// A copy with the letters A to Z lowered; other bytes unchanged.
std::string ToLower(const std::string& text);
} // namespace tarn
