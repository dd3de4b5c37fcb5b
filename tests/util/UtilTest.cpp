#include <cmath>
#include <set>

#include "Support.h"
#include "util/DirectoryListing.h"
#include "util/MathUtil.h"
#include "util/Random.h"

TEST(Random, ParkMillerStepsMatchTheMinimalStandardScaleAndNeverStickPast2038)
{
    // Its 10 000th state from 1 is 1043618065; each step returns its state times the scale.
    tarn::SeedRandom(1u, 1.0);
    double u = 0.0;
    for (int i = 0; i < 10000; ++i)
        u = tarn::RandomUnit();
    EXPECT_EQ(u, 1043618065 * 4.656612875e-10);
    tarn::SeedRandom(99u, 1.0);
    const int first = tarn::RandomInt(0, 1 << 30);
    tarn::SeedRandom(99u, 1.0);
    EXPECT_EQ(tarn::RandomInt(0, 1 << 30), first) << "the seed fixes the integers too";
    std::set<int> seen;
    for (int i = 0; i < 1000; ++i)
        seen.insert(tarn::RandomInt(-1, 1));
    EXPECT_EQ(seen, (std::set<int>{-1, 0, 1}));
    // From state 1 the step gives 16807 / (2^31 - 1).
    EXPECT_FLOAT_EQ(tarn::RandomFloat(1.0f, 5.0f), 1.0f + 4.0f * 7.826369e-06f);

    // 0 and 2^31 - 1 are fixed points of the step; 2^32 - 1 is the largest 32-bit clock seed.
    for (double state : {0.0, 2147483647.0, 2147483653.0, 4294967295.0})
    {
        tarn::SeedRandom(1u, state);
        const double u = tarn::RandomUnit(), v = tarn::RandomUnit(); // in (0, 1], not stuck
        EXPECT_THAT((std::vector<double>{u, v}), Each(AllOf(Gt(0.0), Le(1.0)))) << state;
        EXPECT_NE(u, v) << state;
    }
}

TEST(Vector2, NormalisedKeepsZeroAndRotationTurnsFromXTowardY)
{
    EXPECT_EQ(CVector2().Normalised(), CVector2());
    EXPECT_EQ(CVector2(3.0f, 4.0f).Normalised(), CVector2(0.6f, 0.8f));
    const CVector2 r = CVector2(1.0f, 2.0f).Rotated(std::atan2(0.8f, 0.6f)); // cos 0.6, sin 0.8
    EXPECT_THAT((std::vector<float>{r.x, r.y}), Pointwise(FloatNear(1e-5f), {-1.0f, 2.0f}));
    EXPECT_EQ(tarn::Sign(0.0f), 1.0f) << "friction on a player at rest";
}

TEST(DirectoryListing, TheSearchIsTrimmedDefaultsToHereAndPatternsAnchorUnlessAStarOpens)
{
    const char* const search = " data\\sfx/*.wav\t";
    EXPECT_EQ(tarn::CDirectoryListing::SearchFolder(search), "data/sfx/*.*");
    EXPECT_EQ(tarn::CDirectoryListing::FilePattern(search), "*.wav");
    EXPECT_EQ(tarn::CDirectoryListing::SearchFolder("*.wav"), "./*.*");
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"boom.wav", "*.wav", true}, {"boom", "*.*", false},      {"old.", "*.*", true},
        {"anything", "", true},      {"boom.wav", "boom*", true}, {"xboom.wav", "boom*", false},
        {"boom", "b?om", false},     {"abc", "a*b*c", true},      {"acb", "a*b*c", false}};
    for (const auto& [name, pattern, match] : cases)
        EXPECT_EQ(tarn::WildcardMatch(name, pattern), match) << name << " ~ " << pattern;
}
