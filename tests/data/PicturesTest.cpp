#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "canvas/Color.h"
#include "canvas/Surface.h"

namespace
{
/// A picture as IMG_Load gives it, plus a copy in the canvas packing for reading pixels.
struct SPicture
{
    bool loaded = false;
    bool hasAlpha = false; ///< the file itself carries an alpha channel
    std::unique_ptr<CSurface> pixels;

    int Width() const { return pixels->Width(); }
    int Height() const { return pixels->Height(); }
    CColor At(int x, int y) const { return CColor::FromPixel(pixels->GetPixel(x, y)); }
    /// Share of pixels whose alpha is above `level`.
    double Coverage(float level) const
    {
        int count = 0;
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x)
                count += At(x, y).a > level;
        return double(count) / double(Width() * Height());
    }
};

SPicture Load(const std::string& name)
{
    SPicture picture;
    SDL_Surface* raw = IMG_Load(("data/gfx/" + name).c_str());
    picture.loaded = raw != nullptr;
    picture.hasAlpha = raw && raw->format->Amask != 0;
    picture.pixels = std::make_unique<CSurface>(ConvertToCanvasFormat(raw));
    if (raw)
        SDL_FreeSurface(raw);
    return picture;
}

std::string Numbered(const char* prefix, int n, const char* suffix)
{
    return prefix + std::to_string(n) + suffix;
}

TEST(Pictures, EveryPictureLoadsWithItsSizeAndAlpha)
{
    struct SCase
    {
        std::string name;
        int minW, minH, maxW, maxH;
        bool alpha;
    };
    std::vector<SCase> cases = {
        {"title_screen.jpg", 1024, 768, 1024, 768, false},
        // Drawn stretched to 1088 x 832; at most 1024 a side keeps its texture small.
        {"background-03.jpg", 256, 192, 1024, 1024, false},
        {"score_background.png", 100, 48, 226, 200, true},
        {"background_stars.png", 32, 24, 4096, 4096, true},
        {"you_died.png", 32, 24, 32, 24, true},
        {"it_guy.png", 4, 5, 8, 8, true},
        {"bullet-01.png", 1, 1, 3, 3, true},
        {"bullet-02.png", 1, 1, 3, 3, true},
        {"particle-01.png", 1, 1, 3, 3, true},
        {"particle-02.png", 1, 1, 3, 3, true},
    };
    for (int i = 1; i <= 3; ++i)
        cases.push_back({Numbered("post-it-0", i, ".png"), 49, 49, 512, 512, true});
    for (int i = 1; i <= 5; ++i)
        cases.push_back({Numbered("black_hole_0", i, ".png"), 256, 192, 1024, 768, true});
    for (int d = 0; d <= 9; ++d)
        cases.push_back({Numbered("num_0", d, ".png"), 4, 16, 64, 48, true});
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        const SPicture p = Load(c.name);
        ASSERT_TRUE(p.loaded) << IMG_GetError();
        EXPECT_GE(p.Width(), c.minW);
        EXPECT_GE(p.Height(), c.minH);
        EXPECT_LE(p.Width(), c.maxW);
        EXPECT_LE(p.Height(), c.maxH);
        EXPECT_EQ(p.hasAlpha, c.alpha);
        EXPECT_TRUE(!c.alpha || p.Coverage(0.5f) > 0.0) << "nothing visible";
    }
}

TEST(Pictures, ThreeDigitScoreFitsTheLabel)
{
    const SPicture label = Load("score_background.png");
    ASSERT_TRUE(label.loaded);
    // The label is drawn at (798, -1), the digits from (881, 15), side by side.
    const int textX = 881 - 798, textY = 15 + 1;
    int widest = 0, height = -1;
    for (int d = 0; d <= 9; ++d)
    {
        const SPicture digit = Load(Numbered("num_0", d, ".png"));
        ASSERT_TRUE(digit.loaded);
        widest = std::max(widest, digit.Width());
        EXPECT_TRUE(height < 0 || digit.Height() == height) << "digit " << d;
        height = digit.Height();
    }
    EXPECT_LE(textX + 3 * widest, label.Width());
    EXPECT_LE(textY + height, label.Height());
    EXPECT_LE(798 + label.Width(), 1024) << "the label must stay inside the window";
    // Proportional: a one is narrower than a zero.
    EXPECT_LT(Load("num_01.png").Width(), Load("num_00.png").Width());
}

TEST(Pictures, PlayerHoldsItsGunWhereTheShotLeaves)
{
    const SPicture guy = Load("it_guy.png");
    ASSERT_TRUE(guy.loaded);
    // Shots start at sprite (x + 3, y + 4).
    EXPECT_GT(guy.At(3, 4).a, 0.99f);
    // Level shots hit any non-zero pixel word, alpha or not: clear pixels must be zero.
    for (int y = 0; y < guy.Height(); ++y)
        for (int x = 0; x < guy.Width(); ++x)
            EXPECT_TRUE(guy.At(x, y).a > 0.0f || guy.pixels->GetPixel(x, y) == 0u)
                << x << ", " << y;
}

TEST(Pictures, ParticlesAreWhiteSoTheirColourShows)
{
    for (const char* name : {"particle-01.png", "particle-02.png"})
    {
        const SPicture p = Load(name);
        ASSERT_TRUE(p.loaded) << name;
        for (int y = 0; y < p.Height(); ++y)
            for (int x = 0; x < p.Width(); ++x)
                EXPECT_TRUE(p.At(x, y).a == 0.0f || (p.pixels->GetPixel(x, y) | 0xFF000000u) == ~0u)
                    << name << " " << x << ", " << y;
    }
}

} // namespace
