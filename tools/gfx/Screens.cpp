#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

#include "common/Random.h"
#include "common/StrokeFont.h"
#include "gfx/Pictures.h"

namespace tools
{
namespace
{
const STextStyle& DigitStyle()
{
    static const STextStyle style = []
    {
        STextStyle s;
        s.height = 30.0f;
        s.strokeWidth = 4.5f;
        s.slant = 0.06f;
        return s;
    }();
    return style;
}

/// A slightly turned paper strip with a soft shadow, drawn into `image`.
void DrawPaperStrip(CImage& image, float x, float y, float w, float h, float angle, SColor paper,
                    uint64_t seed)
{
    const float cx = x + w * 0.5f;
    const float cy = y + h * 0.5f;
    auto inside = [&](float px, float py)
    {
        const float dx = px - cx;
        const float dy = py - cy;
        const float ux = dx * std::cos(angle) + dy * std::sin(angle);
        const float uy = -dx * std::sin(angle) + dy * std::cos(angle);
        return std::fabs(ux) < w * 0.5f && std::fabs(uy) < h * 0.5f;
    };
    CImage shadow(image.Width(), image.Height());
    CImage strip(image.Width(), image.Height());
    CValueNoise fibres(seed, 32);
    const int ss = 4;
    for (int py = 0; py < image.Height(); ++py)
        for (int px = 0; px < image.Width(); ++px)
        {
            int covered = 0, shaded = 0;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx)
                {
                    const float fx = px + (sx + 0.5f) / ss;
                    const float fy = py + (sy + 0.5f) / ss;
                    covered += inside(fx, fy);
                    shaded += inside(fx - 2.0f, fy - 3.0f);
                }
            shadow.Set(px, py, {0, 0, 0, 0.45f * float(shaded) / float(ss * ss)});
            if (covered == 0)
                continue;
            // Lighter towards the top left, with a faint fibre texture.
            const float light = 1.0f - 0.06f * (py - y) / h - 0.03f * (px - x) / w +
                                0.025f * float(fibres.At(px / 5.0, py / 5.0) - 0.5);
            strip.Set(px, py,
                      {paper.r * light, paper.g * light, paper.b * light,
                       float(covered) / float(ss * ss)});
        }
    shadow.Blur(2, 3);
    for (int py = 0; py < image.Height(); ++py)
        for (int px = 0; px < image.Width(); ++px)
        {
            image.Blend(px, py, shadow.Get(px, py));
            image.Blend(px, py, strip.Get(px, py));
        }
}

/// A capital of the title, written in canvas cells: seven rows, three to five cells wide.
struct STitleGlyph
{
    char letter;
    const char* rows[7];
};

/// On a wall of tilted notes a three-cell O with square corners reads as D and a
/// three-cell N as M. The O gets four cells and round corners, the N five and a diagonal
/// of three steps, the K arms that leave its stem. With one clear column between letters
/// the word takes 30 of the 32 columns; a five-cell V would leave no margin, so the
/// three-cell V comes to a point two rows tall (one row reads as U).
const STitleGlyph kTitleGlyphs[] = {
    {'K', {"#.#", "#.#", "##.", "#..", "##.", "#.#", "#.#"}},
    {'O', {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."}},
    {'R', {"##.", "#.#", "#.#", "##.", "#.#", "#.#", "#.#"}},
    {'V', {"#.#", "#.#", "#.#", "#.#", "#.#", ".#.", ".#."}},
    {'A', {".#.", "#.#", "#.#", "###", "#.#", "#.#", "#.#"}},
    {'N', {"#...#", "##..#", "##..#", "#.#.#", "#..##", "#..##", "#...#"}},
    {'E', {"###", "#..", "#..", "##.", "#..", "#..", "###"}},
};

const STitleGlyph& TitleGlyph(char c)
{
    for (const STitleGlyph& glyph : kTitleGlyphs)
        if (glyph.letter == c)
            return glyph;
    assert(!"TitleGlyph: no glyph for this letter; add it to kTitleGlyphs");
    return kTitleGlyphs[0];
}

int GlyphWidth(const STitleGlyph& glyph)
{
    return int(std::strlen(glyph.rows[0]));
}
} // namespace

CImage MakeDigit(int digit)
{
    const STextStyle& style = DigitStyle();
    const std::string text(1, char('0' + digit));
    // Two clear pixels on either side set the digits apart when they stand side by side.
    const int w = int(std::ceil(TextWidth(text, style) + style.slant * style.height)) + 4;
    CImage image(w, 32, {1, 1, 1, 0});
    DrawText(image, text, 2.0f, 1.0f, style);
    return image;
}

CImage MakeScoreLabel()
{
    const int w = 216, h = 64;
    CImage image(w, h);
    DrawPaperStrip(image, 6, 4, 202, 52, -0.012f, FromRgb(0xFFFEA2), 77);
    // A strip of tape holding it to the wall.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 30; ++x)
            image.Blend(96 + x + y / 3, y, {0.95f, 0.95f, 0.9f, 0.45f});
    STextStyle ink;
    ink.height = 15.0f;
    ink.strokeWidth = 2.6f;
    ink.slant = 0.08f;
    ink.color = FromRgb(0x1C1C1C);
    DrawText(image, "SCORE", 12.0f, 25.0f, ink);
    // A pen line under the writing area.
    for (int x = kScoreTextX - 2; x < w - 14; ++x)
        for (int y = 51; y <= 52; ++y)
            image.Blend(x, y, FromRgb(0x1C1C1C), y == 51 ? 0.5f : 0.2f);
    return image;
}

CImage MakeTitle(const std::vector<CImage>& notes, const CImage& background,
                 const std::vector<CImage>& blackHoles)
{
    const int columns = kCanvasWidth, rows = kCanvasHeight;
    std::vector<unsigned> cells(size_t(columns * rows), 0x003CFF);
    auto put = [&](int x, int y, unsigned rgb)
    {
        if (x >= 0 && y >= 0 && x < columns && y < rows)
            cells[size_t(y * columns + x)] = rgb;
    };
    CRandom random(31337);
    // A few stray notes, none in or beside the title's rows: a pale note in a letter's
    // gap turns an N into an M. The row is drawn before the column, the order in which
    // the compiler used to evaluate one call's arguments, so the others stay where they were.
    const int titleTop = 2, titleRows = 7;
    for (int i = 0; i < 22; ++i)
    {
        const int y = random.Int(0, rows - 1);
        const int x = random.Int(0, columns - 1);
        if (y < titleTop - 1 || y > titleTop + titleRows)
            put(x, y, i % 4 == 0 ? 0xFFFEA2 : (i % 2 ? 0x399FD0 : 0x868686));
    }
    // KORVANE in notes, each letter a colour of the creatures, one clear column between
    // letters, centred.
    const char* title = "KORVANE";
    const unsigned letterColors[] = {0xFFA76B, 0xFD6E8E, 0xEEF278, 0xCDFA6D,
                                     0xF58E05, 0xFE4B82, 0xE7D326};
    int titleWidth = -1;
    for (int i = 0; title[i]; ++i)
        titleWidth += GlyphWidth(TitleGlyph(title[i])) + 1;
    int x = (columns - titleWidth) / 2;
    for (int i = 0; title[i]; ++i)
    {
        const STitleGlyph& glyph = TitleGlyph(title[i]);
        for (int gy = 0; gy < titleRows; ++gy)
            for (int gx = 0; gx < GlyphWidth(glyph); ++gx)
                if (glyph.rows[gy][gx] == '#')
                    put(x + gx, titleTop + gy, letterColors[i]);
        x += GlyphWidth(glyph) + 1;
    }
    // The player on the left, a shot on its way to a creature on the right.
    const char* player[] = {".hh.", ".ff.", "sss.", "ss..", "sggg", ".ll.", "l..l"};
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 4; ++x)
        {
            const char c = player[y][x];
            const unsigned rgb = c == 'h'   ? 0x1C1C1C
                                 : c == 'f' ? 0xFFA76B
                                 : c == 's' ? 0x0CFF00
                                 : c == 'g' ? 0x868686
                                 : c == 'l' ? 0xEEF278
                                            : 0;
            if (rgb)
                put(4 + x, 13 + y, rgb);
        }
    put(10, 17, 0xF58E05);
    put(11, 17, 0xFFFEA2);
    put(14, 17, 0xF58E05);
    put(15, 17, 0xFFFEA2);
    const char* creature[] = {
        "#....##....#", ".#..####..#.", "..##cccc##..", ".###.##.###.",
        "..########..", "...#.##.#...", "..#..##..#..", ".#...##...#.",
    };
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
        {
            const char c = creature[y][x];
            if (c != '.')
                put(18 + x, 12 + y, c == 'c' ? 0xFFFFFF : 0x875EE3);
        }
    CImage image = RenderWall(cells, notes, background,
                              {{&blackHoles[1], 0.5f}, {&blackHoles[3], 0.5f}}, 2024);
    // The prompt, written by hand on a strip of paper stuck over the wall.
    STextStyle ink;
    ink.height = 38.0f;
    ink.strokeWidth = 5.0f;
    ink.slant = 0.08f;
    ink.color = FromRgb(0x1C1C1C);
    const std::string prompt = "PRESS ANY KEY";
    const float textWidth = TextWidth(prompt, ink);
    const float stripW = textWidth + 80.0f;
    CImage strip(int(stripW) + 24, 110);
    DrawPaperStrip(strip, 8, 8, stripW, 84, 0.015f, FromRgb(0xFFFEA2), 55);
    DrawText(strip, prompt, 8 + (stripW - textWidth) * 0.5f, 30.0f, ink);
    const int sx = (kVirtualScreenWidth - strip.Width()) / 2;
    const int sy = 660;
    for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < strip.Width(); ++x)
            image.Blend(sx + x, sy + y, strip.Get(x, y));
    return image;
}
} // namespace tools

namespace tools
{
CImage MakeIcon(const std::vector<CImage>& notes, const CImage& background, int size)
{
    // A small creature on the wall: its limbs in one level colour around a white core,
    // cropped from a wall render and scaled to the icon's size.
    const int columns = kCanvasWidth, rows = kCanvasHeight;
    std::vector<unsigned> cells(size_t(columns * rows), 0x003CFF);
    const char* creature[] = {"#...#", ".###.", "##c##", ".###.", "#.#.#"};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            if (creature[y][x] != '.')
                cells[size_t((y + 1) * columns + x + 1)] =
                    creature[y][x] == 'c' ? 0xFFFFFF : 0xFD6E8E;
    const CImage wall = RenderWall(cells, notes, background, {}, 7);
    const int side = 7 * 32;
    // Each icon pixel averages n x n bilinear samples spread over the wall pixels it
    // covers: one sample alone would skip most of them at 32 px, seven wall pixels apart.
    const float scale = float(side) / float(size);
    const int n = std::max(1, int(std::ceil(2.0f * scale)));
    CImage icon(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            SColor sum;
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx)
                {
                    const SColor c =
                        wall.Sample((x + (sx + 0.5f) / n) * scale, (y + (sy + 0.5f) / n) * scale);
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                }
            const float count = float(n * n);
            icon.Set(x, y, {sum.r / count, sum.g / count, sum.b / count, 1.0f});
        }
    return icon;
}
} // namespace tools
