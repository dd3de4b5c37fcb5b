#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>
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
    EXPECT_EQ(ListAll(root / "sfx/LOUD*.WAV"), std::vector<std::string>{"LOUD.WAV"});
    EXPECT_TRUE(ListAll("/nonexistent-korvane-folder/*.wav").empty());

    tarn::CDirectoryListing listing;
    listing.List(root / "sfx/*.txt");
    EXPECT_EQ(listing.NextName(), "notes.txt");
    EXPECT_TRUE(listing.AtEnd());
    listing.Rewind();
    EXPECT_EQ(listing.NextName(), "notes.txt");
}

TEST(DirectoryListing, SearchFolderAndPatternSplitTheSearch)
{
    using L = tarn::CDirectoryListing;
    // The search, its folder and its pattern.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"data/sfx/*.wav", "data/sfx/*.*", "*.wav"},
        {"*.wav", "./*.*", "*.wav"},
        {".", "./*.*", "*.*"},
        {"data\\sfx\\*.wav", "data/sfx/*.*", "*.wav"},
        {" data/sfx/*.wav\t", "data/sfx/*.*", "*.wav"},
        {"data//x", "data/*.*", "*.*"},
        {"data/sfx/readme", "data/sfx/*.*", "*.*"}};
    for (const auto& [search, folder, pattern] : cases)
    {
        EXPECT_EQ(L::SearchFolder(search), folder) << search;
        EXPECT_EQ(L::FilePattern(search), pattern) << search;
    }
}

TEST(WildcardMatch, AnchorsBothEndsUnlessAStarOpensThem)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"boom.wav", "*.wav", true},   {"boom", "*.*", false},          {"old.", "*.*", true},
        {"anything", "*", true},       {"anything", "", true},          {"boom.wav", "boom*", true},
        {"xboom.wav", "boom*", false}, {"boom", "b?om", false},         {"abc", "a*b*c", true},
        {"acb", "a*b*c", false},       {"fire_07.wav", "fire*7*", true}};
    for (const auto& [name, pattern, match] : cases)
        EXPECT_EQ(tarn::WildcardMatch(name, pattern), match) << name << " ~ " << pattern;
    EXPECT_EQ(tarn::ToLower("Data/SFX/Boom_07.WAV\xC4"), "data/sfx/boom_07.wav\xC4");
}
