#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "Support.h"

#include "util/DirectoryListing.h"

namespace
{
std::vector<std::string> ListAll(const std::string& search)
{
    tarn::CDirectoryListing listing;
    listing.List(search);
    std::vector<std::string> names;
    while (!listing.AtEnd())
        names.push_back(listing.NextName());
    return names;
}
} // namespace

TEST(DirectoryListing, ListsSubfoldersFirstThenMatchingFilesCaseSensitively)
{
    CTempDir root;
    std::filesystem::create_directories(root / "sfx/old");
    std::filesystem::create_directories(root / "sfx/folder.wav");
    for (const char* name : {"boom.wav", "notes.txt", "LOUD.WAV", "a.wav.wav", "zap.wav"})
        std::ofstream(root / "sfx/" + name) << "x";
    using Set = std::set<std::string>;

    const std::vector<std::string> all = ListAll(root / "sfx/*.*");
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(Set(all.begin(), all.begin() + 2), (Set{"old", "folder.wav"}));
    // "folder.wav" is a folder, tested as "folder.wav." which does not end in ".wav".
    const std::vector<std::string> wavs = ListAll(root / "sfx/*.wav");
    EXPECT_EQ(Set(wavs.begin(), wavs.end()), (Set{"boom.wav", "zap.wav"}));
    std::string backslashed = " \t" + root / "sfx/*.wav\t ";
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    EXPECT_EQ(ListAll(backslashed), wavs);
    EXPECT_TRUE(ListAll("/nonexistent-korvane-folder/*.wav").empty());

    tarn::CDirectoryListing listing;
    listing.List(root / "sfx/*.txt");
    EXPECT_EQ(listing.NextName(), "notes.txt");
    EXPECT_TRUE(listing.AtEnd());
    listing.Rewind();
    EXPECT_EQ(listing.NextName(), "notes.txt");
    listing.List(root / "sfx/LOUD*.WAV");
    EXPECT_EQ(listing.NextName(), "LOUD.WAV");
    EXPECT_TRUE(listing.AtEnd());
}

TEST(DirectoryListing, SearchFolderAndPatternSplitTheSpecification)
{
    using L = tarn::CDirectoryListing;
    struct Case
    {
        const char* search;
        const char* folder;
        const char* pattern;
    } cases[] = {
        {"data/sfx/*.wav", "data/sfx/*.*", "*.wav"},
        {"*.wav", "./*.*", "*.wav"},
        {".", "./*.*", "*.*"},
        {"data\\sfx\\*.wav", "data/sfx/*.*", "*.wav"},
        {"  data/sfx/  ", "data/sfx/*.*", "*.*"},
        {"data//x", "data/*.*", "*.*"},
        {"data/sfx/readme", "data/sfx/*.*", "*.*"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(L::SearchFolder(c.search), c.folder) << c.search;
        EXPECT_EQ(L::FilePattern(c.search), c.pattern) << c.search;
    }
}

TEST(WildcardMatch, AnchorsBothEndsUnlessAStarOpensThem)
{
    struct Case
    {
        const char* name;
        const char* pattern;
        bool match;
    } cases[] = {
        {"boom.wav", "*.wav", true},   {"a.wav.wav", "*.wav", false},
        {"boom.WAV", "*.wav", false},  {"boom", "*.*", false},
        {"old.", "*.*", true},         {"anything", "*", true},
        {"anything", "", true},        {"boom.wav", "boom*", true},
        {"xboom.wav", "boom*", false}, {"b?om", "b?om", true},
        {"boom", "b?om", false},       {"fire_07.wav", "fire*7*", true},
        {"abc", "a*b*c", true},        {"acb", "a*b*c", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tarn::WildcardMatch(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
}

TEST(ToLower, LowersOnlyAsciiLetters)
{
    EXPECT_EQ(tarn::ToLower("Data/SFX/Boom_07.WAV"), "data/sfx/boom_07.wav");
    EXPECT_EQ(tarn::ToLower("\xC4\xD6"), "\xC4\xD6");
}
