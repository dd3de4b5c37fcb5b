#include <cstring>

#include "common/Random.h"
#include "gfx/Pictures.h"

namespace tools
{
namespace
{
/// Paints a small picture from rows of characters; `key` maps a character to a colour,
/// and characters not in it stay clear.
CImage FromRows(const std::vector<const char*>& rows, const char* keys,
                const std::vector<SColor>& colors)
{
    const int w = int(std::strlen(rows[0]));
    CImage image(w, int(rows.size()));
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; x < w; ++x)
            if (const char* k = std::strchr(keys, rows[size_t(y)][x]); k && *k)
                image.Set(x, y, colors[size_t(k - keys)]);
    return image;
}

/// Capitals three pixels wide and five high, for the canvas.
const char* const* PixelGlyph(char c)
{
    static const char* const kY[] = {"#.#", "#.#", ".#.", ".#.", ".#."};
    static const char* const kO[] = {".#.", "#.#", "#.#", "#.#", ".#."};
    static const char* const kU[] = {"#.#", "#.#", "#.#", "#.#", "###"};
    static const char* const kD[] = {"##.", "#.#", "#.#", "#.#", "##."};
    static const char* const kI[] = {"###", ".#.", ".#.", ".#.", "###"};
    static const char* const kE[] = {"###", "#..", "##.", "#..", "###"};
    switch (c)
    {
    case 'Y':
        return kY;
    case 'O':
        return kO;
    case 'U':
        return kU;
    case 'D':
        return kD;
    case 'I':
        return kI;
    case 'E':
        return kE;
    default:
        return nullptr;
    }
}

void PutPixelText(CImage& image, const char* text, int x, int y, SColor color)
{
    for (; *text; ++text, x += 4)
        if (const char* const* glyph = PixelGlyph(*text))
            for (int gy = 0; gy < 5; ++gy)
                for (int gx = 0; gx < 3; ++gx)
                    if (glyph[gy][gx] == '#')
                        image.Set(x + gx, y + gy, color);
}
} // namespace

CImage MakeStars()
{
    // Twice the canvas width, so the drift to the left repeats only every 1.6 s.
    const int w = 2 * kCanvasWidth, h = kCanvasHeight;
    CImage image(w, h);
    CRandom random(4242);
    int placed = 0;
    while (placed < 18)
    {
        const int x = random.Int(0, w - 1);
        const int y = random.Int(0, h - 1);
        bool crowded = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                crowded = crowded || image.Get((x + dx + w) % w, y + dy).a > 0.0f;
        if (crowded)
            continue;
        // Mostly faint stars and a few bright ones; the faint ones only tint the canvas.
        const float brightness = placed % 5 == 0 ? 1.0f : float(random.Range(0.3, 0.75));
        const float blue = float(random.Range(0.85, 1.0));
        image.Set(x, y, {blue * 0.95f + 0.05f, blue * 0.97f + 0.03f, 1.0f, brightness});
        ++placed;
    }
    return image;
}

CImage MakeYouDied()
{
    // The death picture fades in over the whole canvas: a dark veil with two lines of
    // white capitals, outlined in black so they stay readable over anything.
    CImage image(kCanvasWidth, kCanvasHeight, {0, 0, 0, 0.6f});
    CImage letters(kCanvasWidth, kCanvasHeight);
    PutPixelText(letters, "YOU", 11, 5, {1, 1, 1, 1});
    PutPixelText(letters, "DIED", 9, 13, {1, 1, 1, 1});
    for (int y = 0; y < kCanvasHeight; ++y)
        for (int x = 0; x < kCanvasWidth; ++x)
        {
            if (letters.Get(x, y).a > 0.0f)
            {
                image.Set(x, y, {1, 1, 1, 1});
                continue;
            }
            bool touches = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    touches = touches || letters.Get(x + dx, y + dy).a > 0.0f;
            if (touches)
                image.Set(x, y, {0, 0, 0, 1});
        }
    return image;
}

CImage MakePlayer()
{
    // A little figure facing right. The shot leaves from sprite pixel (3, 4): the
    // muzzle of the gun, held forward at chest height.
    return FromRows(
        {
            ".hh.",
            ".ff.",
            "sss.",
            "ss..",
            "sggg",
            ".ll.",
            "l..l",
        },
        "hfsgl",
        {FromRgb(0x1C1C1C), FromRgb(0xFFA76B), FromRgb(0x0CFF00), FromRgb(0x868686),
         FromRgb(0xEEF278)});
}

CImage MakeBullet(int kind)
{
    if (kind == 1)
        return FromRows({"ab"}, "ab", {FromRgb(0xF58E05), FromRgb(0xFFFEA2)});
    // The creature's shot flies left: bright head on the left.
    return FromRows({"ab"}, "ab", {FromRgb(0xFE4B82), FromRgb(0xA30026)});
}

CImage MakeParticle(int kind)
{
    // White, so the particle's own colour shows; the second kind is a 2 x 2 chunk of
    // debris with softer corners.
    if (kind == 1)
        return FromRows({"#"}, "#", {{1, 1, 1, 1}});
    return FromRows({"#+", "+#"}, "#+", {{1, 1, 1, 1}, {1, 1, 1, 0.55f}});
}
} // namespace tools
