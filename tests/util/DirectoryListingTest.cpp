#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "util/DirectoryListing.h"

namespace fs = std::filesystem;

namespace
{
class DirectoryListingFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Root = fs::temp_directory_path() /
                 ("korvane-listing-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_Root);
        fs::create_directories(m_Root / "sfx" / "old");
        fs::create_directories(m_Root / "sfx" / "folder.wav");
        for (const char* name : {"boom.wav", "notes.txt", "LOUD.WAV", "a.wav.wav", "zap.wav"})
            std::ofstream(m_Root / "sfx" / name) << "x";
    }
    void TearDown() override { fs::remove_all(m_Root); }

    std::vector<std::string> ListAll(const std::string& search)
    {
        tarn::CDirectoryListing listing;
        listing.List(search);
        std::vector<std::string> names;
        while (!listing.AtEnd())
            names.push_back(listing.NextName());
        return names;
    }

    fs::path m_Root;
};
} // namespace

TEST_F(DirectoryListingFolder, ListsMatchingFilesCaseSensitively)
{
    const std::vector<std::string> names = ListAll((m_Root / "sfx").string() + "/*.wav");
    // "folder.wav" is a folder, tested as "folder.wav." which does not end in ".wav".
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              (std::set<std::string>{"boom.wav", "zap.wav"}));
}

TEST_F(DirectoryListingFolder, PutsSubfoldersFirstAndStarDotStarTakesEveryFolder)
{
    const std::vector<std::string> names = ListAll((m_Root / "sfx").string() + "/*.*");
    ASSERT_EQ(names.size(), 7u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.begin() + 2),
              (std::set<std::string>{"old", "folder.wav"}));
    EXPECT_EQ(std::set<std::string>(names.begin() + 2, names.end()),
              (std::set<std::string>{"boom.wav", "notes.txt", "LOUD.WAV", "a.wav.wav", "zap.wav"}));
}

TEST_F(DirectoryListingFolder, BackslashesAndSurroundingBlanksListTheSame)
{
    std::string search = (m_Root / "sfx").string() + "/*.wav";
    const std::vector<std::string> plain = ListAll(search);
    for (char& c : search)
        if (c == '/')
            c = '\\';
    EXPECT_EQ(ListAll(search), plain);
    EXPECT_EQ(ListAll(" \t" + (m_Root / "sfx").string() + "/*.wav\t "), plain);
}

TEST_F(DirectoryListingFolder, ASecondListReplacesTheNamesAndRewinds)
{
    tarn::CDirectoryListing listing;
    listing.List((m_Root / "sfx").string() + "/*.txt");
    ASSERT_FALSE(listing.AtEnd());
    EXPECT_EQ(listing.NextName(), "notes.txt");
    EXPECT_TRUE(listing.AtEnd());
    listing.Rewind();
    EXPECT_EQ(listing.NextName(), "notes.txt");

    listing.List((m_Root / "sfx").string() + "/LOUD*.WAV");
    ASSERT_FALSE(listing.AtEnd());
    EXPECT_EQ(listing.NextName(), "LOUD.WAV");
    EXPECT_TRUE(listing.AtEnd());
}

TEST(DirectoryListing, MissingFolderListsNothing)
{
    tarn::CDirectoryListing listing;
    listing.List("/nonexistent-korvane-folder/*.wav");
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

TEST(SplitString, DropsEmptyPieces)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(tarn::SplitString("*.wav", "*"), V{".wav"});
    EXPECT_EQ(tarn::SplitString("*.*", "*"), V{"."});
    EXPECT_EQ(tarn::SplitString("*", "*"), V{});
    EXPECT_EQ(tarn::SplitString("a**b*", "*"), (V{"a", "b"}));
}

TEST(ToLower, LowersOnlyAsciiLetters)
{
    EXPECT_EQ(tarn::ToLower("Data/SFX/Boom_07.WAV"), "data/sfx/boom_07.wav");
    EXPECT_EQ(tarn::ToLower("\xC4\xD6"), "\xC4\xD6");
}
