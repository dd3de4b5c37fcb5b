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
        if (c.alpha)
        {
            EXPECT_GT(p.Coverage(0.5f), 0.0) << "nothing visible";
        }
    }
}

TEST(Pictures, NotesArePaleSquaresThatOverlapTheirNeighboursSlightly)
{
    std::vector<SPicture> notes;
    for (int i = 1; i <= 3; ++i)
        notes.push_back(Load(Numbered("post-it-0", i, ".png")));
    for (size_t i = 0; i < notes.size(); ++i)
    {
        SCOPED_TRACE(i + 1);
        const SPicture& n = notes[i];
        ASSERT_TRUE(n.loaded);
        ASSERT_EQ(n.Width(), n.Height());
        // The wall draws a note picture p pixels wide as a quad of 32 + 2 * (32 / p * 24)
        // screen pixels over a 32-pixel cell, jittered by up to 2.4 pixels per axis.
        const float quad = 32.0f + 2.0f * (32.0f / float(n.Width()) * 24.0f);
        const float toScreen = quad / float(n.Width());
        // The paper along the middle row and column: where it is nearly opaque.
        int left = n.Width(), right = -1, top = n.Height(), bottom = -1;
        for (int k = 0; k < n.Width(); ++k)
        {
            if (n.At(k, n.Height() / 2).a > 0.9f)
                left = std::min(left, k), right = std::max(right, k);
            if (n.At(n.Width() / 2, k).a > 0.9f)
                top = std::min(top, k), bottom = std::max(bottom, k);
        }
        const float paperW = float(right - left + 1) * toScreen;
        const float paperH = float(bottom - top + 1) * toScreen;
        EXPECT_GE(paperW, 32.0f + 2.0f * 2.4f) << "neighbours would show gaps";
        EXPECT_GE(paperH, 32.0f + 2.0f * 2.4f) << "neighbours would show gaps";
        EXPECT_LE(paperW, 44.0f) << "notes would bury their neighbours";
        EXPECT_LE(paperH, 44.0f) << "notes would bury their neighbours";
        // Light grey to white, so the tint gives the palette colour.
        double sum = 0;
        int count = 0;
        for (int y = 0; y < n.Height(); ++y)
            for (int x = 0; x < n.Width(); ++x)
                if (n.At(x, y).a > 0.99f)
                {
                    const CColor c = n.At(x, y);
                    sum += (c.r + c.g + c.b) / 3.0;
                    ++count;
                }
        ASSERT_GT(count, 0);
        EXPECT_GT(sum / count, 0.9);
        // The corners belong to the margin: shadow at most, never paper.
        EXPECT_LT(n.At(0, 0).a, 0.1f);
        EXPECT_LT(n.At(n.Width() - 1, n.Height() - 1).a, 0.5f);
    }
    // Three different notes, not one picture three times.
    for (size_t i = 0; i < notes.size(); ++i)
        for (size_t j = i + 1; j < notes.size(); ++j)
        {
            int differing = 0;
            for (int y = 0; y < notes[i].Height(); ++y)
                for (int x = 0; x < notes[i].Width(); ++x)
                    differing += notes[i].pixels->GetPixel(x, y) != notes[j].pixels->GetPixel(x, y);
            EXPECT_GT(differing, 100) << "notes " << i + 1 << " and " << j + 1;
        }
}

TEST(Pictures, BlackHolesAreMostlyClearVoidsInDifferentPlaces)
{
    std::vector<std::pair<double, double>> centres;
    for (int i = 1; i <= 5; ++i)
    {
        SCOPED_TRACE(i);
        const SPicture h = Load(Numbered("black_hole_0", i, ".png"));
        ASSERT_TRUE(h.loaded);
        EXPECT_LT(h.Coverage(0.05f), 0.5) << "should be mostly transparent";
        EXPECT_GT(h.Coverage(0.5f), 0.0) << "should have a dark core";
        double sx = 0, sy = 0, sw = 0;
        for (int y = 0; y < h.Height(); ++y)
            for (int x = 0; x < h.Width(); ++x)
            {
                const CColor c = h.At(x, y);
                EXPECT_LT(c.r + c.g + c.b, 0.3f);
                sx += c.a * x / h.Width();
                sy += c.a * y / h.Height();
                sw += c.a;
            }
        centres.push_back({sx / sw, sy / sw});
    }
    for (size_t i = 0; i < centres.size(); ++i)
        for (size_t j = i + 1; j < centres.size(); ++j)
            EXPECT_GT(std::abs(centres[i].first - centres[j].first) +
                          std::abs(centres[i].second - centres[j].second),
                      0.05)
                << "holes " << i + 1 << " and " << j + 1 << " darken the same place";
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
        if (height >= 0)
        {
            EXPECT_EQ(digit.Height(), height) << "digit " << d;
        }
        height = digit.Height();
    }
    EXPECT_LE(textX + 3 * widest, label.Width());
    EXPECT_LE(textY + height, label.Height());
    EXPECT_LE(798 + label.Width(), 1024) << "the label must stay inside the window";
    // Proportional: a one is narrower than a zero.
    EXPECT_LT(Load("num_01.png").Width(), Load("num_00.png").Width());
}

TEST(Pictures, StarLayerIsSparse)
{
    const SPicture stars = Load("background_stars.png");
    ASSERT_TRUE(stars.loaded);
    const double lit = stars.Coverage(0.0f);
    EXPECT_GT(lit, 0.002);
    EXPECT_LT(lit, 0.05);
    // Varied brightness: some faint, some full.
    float faintest = 1.0f, brightest = 0.0f;
    for (int y = 0; y < stars.Height(); ++y)
        for (int x = 0; x < stars.Width(); ++x)
            if (const float a = stars.At(x, y).a; a > 0.0f)
                faintest = std::min(faintest, a), brightest = std::max(brightest, a);
    EXPECT_LT(faintest, 0.6f);
    EXPECT_GT(brightest, 0.95f);
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
            if (guy.At(x, y).a == 0.0f)
            {
                EXPECT_EQ(guy.pixels->GetPixel(x, y), 0u) << x << ", " << y;
            }
}

TEST(Pictures, ParticlesAreWhiteSoTheirColourShows)
{
    for (const char* name : {"particle-01.png", "particle-02.png"})
    {
        const SPicture p = Load(name);
        ASSERT_TRUE(p.loaded) << name;
        for (int y = 0; y < p.Height(); ++y)
            for (int x = 0; x < p.Width(); ++x)
                if (p.At(x, y).a > 0.0f)
                {
                    EXPECT_EQ(p.At(x, y).r, 1.0f) << name;
                    EXPECT_EQ(p.At(x, y).g, 1.0f) << name;
                    EXPECT_EQ(p.At(x, y).b, 1.0f) << name;
                }
    }
}

TEST(Pictures, DeathPictureShowsLettersOverAVeil)
{
    const SPicture died = Load("you_died.png");
    ASSERT_TRUE(died.loaded);
    int white = 0, veiled = 0;
    for (int y = 0; y < died.Height(); ++y)
        for (int x = 0; x < died.Width(); ++x)
        {
            const CColor c = died.At(x, y);
            white += c.a == 1.0f && c.r == 1.0f && c.g == 1.0f && c.b == 1.0f;
            veiled += c.a > 0.0f;
        }
    // Two lines of capitals need some tens of pixels; the veil covers the canvas.
    EXPECT_GE(white, 40);
    EXPECT_EQ(veiled, 32 * 24);
}
} // namespace
