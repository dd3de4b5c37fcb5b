#include "common/StrokeFont.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tools
{
namespace
{
struct SPoint
{
    float x, y;
};
using Stroke = std::vector<SPoint>;

struct SGlyph
{
    float width = 0;
    std::vector<Stroke> strokes;
};

/// Points of an elliptic arc; angles in degrees, counter-clockwise as seen on screen
/// (y grows downwards, so the sine is subtracted).
Stroke Arc(float cx, float cy, float rx, float ry, float from, float to, Stroke start = {})
{
    const int steps = std::max(4, int(std::fabs(to - from) / 10.0f));
    for (int i = 0; i <= steps; ++i)
    {
        const float a = (from + (to - from) * float(i) / float(steps)) * 3.14159265f / 180.0f;
        start.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
    }
    return start;
}

Stroke Then(Stroke stroke, std::initializer_list<SPoint> more)
{
    stroke.insert(stroke.end(), more.begin(), more.end());
    return stroke;
}

SGlyph MakeGlyph(char c)
{
    switch (c)
    {
    case '0':
        return {0.6f, {Arc(0.3f, 0.5f, 0.3f, 0.5f, 0, 360)}};
    case '1':
        return {0.3f, {{{0.0f, 0.2f}, {0.22f, 0.0f}, {0.22f, 1.0f}}}};
    case '2':
        return {0.6f, {Then(Arc(0.3f, 0.3f, 0.3f, 0.3f, 160, -35), {{0.0f, 1.0f}, {0.62f, 1.0f}})}};
    case '3':
        return {0.58f,
                {Then(Arc(0.28f, 0.27f, 0.27f, 0.27f, 150, -90), {}),
                 Arc(0.28f, 0.74f, 0.3f, 0.26f, 90, -150)}};
    case '4':
        return {0.62f, {{{0.46f, 1.0f}, {0.46f, 0.0f}, {0.0f, 0.7f}, {0.64f, 0.7f}}}};
    case '5':
        return {0.6f,
                {Arc(0.3f, 0.68f, 0.3f, 0.32f, 150, -150,
                     {{0.56f, 0.0f}, {0.08f, 0.0f}, {0.04f, 0.45f}})}};
    case '6':
        return {0.6f,
                {Arc(0.32f, 0.52f, 0.3f, 0.5f, 65, 195), Arc(0.3f, 0.72f, 0.28f, 0.28f, 0, 360)}};
    case '7':
        return {0.58f, {{{0.0f, 0.0f}, {0.58f, 0.0f}, {0.2f, 1.0f}}}};
    case '8':
        return {0.6f,
                {Arc(0.3f, 0.25f, 0.24f, 0.25f, 0, 360), Arc(0.3f, 0.74f, 0.3f, 0.26f, 0, 360)}};
    case '9':
        return {0.6f, {Arc(0.3f, 0.28f, 0.28f, 0.28f, 0, 360), {{0.58f, 0.3f}, {0.42f, 1.0f}}}};
    case ' ':
        return {0.35f, {}};
    case 'A':
        return {0.62f,
                {{{0.0f, 1.0f}, {0.31f, 0.0f}, {0.62f, 1.0f}}, {{0.12f, 0.64f}, {0.5f, 0.64f}}}};
    case 'C':
        return {0.6f, {Arc(0.34f, 0.5f, 0.34f, 0.5f, 50, 310)}};
    case 'D':
        return {0.6f,
                {Then(Arc(0.2f, 0.5f, 0.4f, 0.5f, 90, -90, {{0.0f, 0.0f}}),
                      {{0.0f, 1.0f}, {0.0f, 0.0f}})}};
    case 'E':
        return {0.5f,
                {{{0.5f, 0.0f}, {0.0f, 0.0f}, {0.0f, 1.0f}, {0.5f, 1.0f}},
                 {{0.0f, 0.5f}, {0.4f, 0.5f}}}};
    case 'I':
        return {0.0f, {{{0.0f, 0.0f}, {0.0f, 1.0f}}}};
    case 'K':
        return {0.55f,
                {{{0.0f, 0.0f}, {0.0f, 1.0f}},
                 {{0.52f, 0.0f}, {0.0f, 0.6f}},
                 {{0.17f, 0.42f}, {0.56f, 1.0f}}}};
    case 'N':
        return {0.56f, {{{0.0f, 1.0f}, {0.0f, 0.0f}, {0.56f, 1.0f}, {0.56f, 0.0f}}}};
    case 'O':
        return {0.66f, {Arc(0.33f, 0.5f, 0.33f, 0.5f, 0, 360)}};
    case 'P':
        return {0.54f,
                {Then(Arc(0.28f, 0.26f, 0.26f, 0.26f, 90, -90, {{0.0f, 1.0f}, {0.0f, 0.0f}}),
                      {{0.0f, 0.52f}})}};
    case 'R':
        return {0.56f,
                {Then(Arc(0.28f, 0.26f, 0.26f, 0.26f, 90, -90, {{0.0f, 1.0f}, {0.0f, 0.0f}}),
                      {{0.0f, 0.52f}}),
                 {{0.24f, 0.52f}, {0.56f, 1.0f}}}};
    case 'S':
        return {0.56f,
                {Then(Arc(0.28f, 0.25f, 0.26f, 0.25f, 30, 270), {}),
                 Arc(0.28f, 0.75f, 0.28f, 0.25f, 90, -150)}};
    case 'T':
        return {0.6f, {{{0.0f, 0.0f}, {0.6f, 0.0f}}, {{0.3f, 0.0f}, {0.3f, 1.0f}}}};
    case 'U':
        return {0.56f,
                {Then(Arc(0.28f, 0.7f, 0.28f, 0.3f, 180, 360, {{0.0f, 0.0f}}), {{0.56f, 0.0f}})}};
    case 'V':
        return {0.6f, {{{0.0f, 0.0f}, {0.3f, 1.0f}, {0.6f, 0.0f}}}};
    case 'Y':
        return {0.6f, {{{0.0f, 0.0f}, {0.3f, 0.5f}, {0.6f, 0.0f}}, {{0.3f, 0.5f}, {0.3f, 1.0f}}}};
    default:
        return {};
    }
}

bool Known(char c)
{
    return c == ' ' || !MakeGlyph(c).strokes.empty();
}

float DistanceToSegment(SPoint p, SPoint a, SPoint b)
{
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float len2 = dx * dx + dy * dy;
    float t = len2 > 0.0f ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    const float ex = a.x + dx * t - p.x;
    const float ey = a.y + dy * t - p.y;
    return std::sqrt(ex * ex + ey * ey);
}
} // namespace

float GlyphWidth(char c, const STextStyle& style)
{
    return Known(c) ? MakeGlyph(c).width * style.height : 0.0f;
}

float TextWidth(const std::string& text, const STextStyle& style)
{
    float width = 0.0f;
    int count = 0;
    for (char c : text)
    {
        if (!Known(c))
            continue;
        width += GlyphWidth(c, style);
        ++count;
    }
    if (count > 1)
        width += float(count - 1) * style.spacing * style.height;
    return width + style.strokeWidth;
}

void DrawText(CImage& image, const std::string& text, float x, float y, const STextStyle& style)
{
    struct SSegment
    {
        SPoint a, b;
    };
    std::vector<SSegment> segments;
    const float half = style.strokeWidth * 0.5f;
    float penX = x + half;
    for (char c : text)
    {
        if (!Known(c))
            continue;
        const SGlyph glyph = MakeGlyph(c);
        for (const Stroke& stroke : glyph.strokes)
        {
            auto place = [&](SPoint p) -> SPoint
            {
                const float py = y + half + p.y * (style.height - style.strokeWidth);
                const float lean = (1.0f - p.y) * style.slant * style.height;
                return {penX + p.x * style.height + lean, py};
            };
            for (size_t i = 0; i + 1 < stroke.size(); ++i)
                segments.push_back({place(stroke[i]), place(stroke[i + 1])});
            if (stroke.size() == 1)
                segments.push_back({place(stroke[0]), place(stroke[0])});
        }
        penX += glyph.width * style.height + style.spacing * style.height;
    }
    if (segments.empty())
        return;
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (const SSegment& s : segments)
    {
        minX = std::min({minX, s.a.x, s.b.x});
        maxX = std::max({maxX, s.a.x, s.b.x});
        minY = std::min({minY, s.a.y, s.b.y});
        maxY = std::max({maxY, s.a.y, s.b.y});
    }
    const int x0 = int(std::floor(minX - half - 1));
    const int x1 = int(std::ceil(maxX + half + 1));
    const int y0 = int(std::floor(minY - half - 1));
    const int y1 = int(std::ceil(maxY + half + 1));
    for (int py = y0; py <= y1; ++py)
        for (int px = x0; px <= x1; ++px)
        {
            const SPoint p = {px + 0.5f, py + 0.5f};
            float d = 1e9f;
            for (const SSegment& s : segments)
                d = std::min(d, DistanceToSegment(p, s.a, s.b));
            // One pixel of soft edge centred on the pen's outline.
            const float cover = std::clamp(half - d + 0.5f, 0.0f, 1.0f);
            if (cover > 0.0f)
                image.Blend(px, py, style.color, cover);
        }
}
} // namespace tools
