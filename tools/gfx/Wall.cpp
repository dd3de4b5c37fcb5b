#include <algorithm>
#include <cmath>

#include "common/Random.h"
#include "gfx/Pictures.h"
#include "wall/NotePlacement.h"

namespace tools
{
namespace
{
/// What one point of a note picture shows: paper of some brightness, or nothing.
struct SPaperPoint
{
    bool paper = false;
    float shade = 1.0f;
};

/// The paper square, centred in the picture.
constexpr float kL = (kNoteSize - kNotePaper) * 0.5f;
constexpr float kR = kL + kNotePaper;
constexpr float kT = kL;
constexpr float kB = kR;

bool InSquare(float x, float y)
{
    return x >= kL && x < kR && y >= kT && y < kB;
}

/// Note 1: flat, with the bottom-right corner folded over (a dog-ear showing the back).
SPaperPoint DogEar(float x, float y)
{
    const float c = 13.0f;
    const float k = kR + kB - c; // the fold line is x + y = k
    if (!InSquare(x, y) || x + y > k)
        return {};
    const float fromFold = (k - x - y) / std::sqrt(2.0f);
    if (x >= kR - c && y >= kB - c)
    {
        // The flap: the paper's back, lit brightest along the rounded fold.
        const float t = fromFold / (c / std::sqrt(2.0f));
        return {true, 0.97f - 0.13f * t + 0.02f * std::exp(-t * t * 40.0f)};
    }
    // The flap's own shadow on the paper just beside its two straight edges.
    float shade = 1.0f;
    if (x >= kR - c - 3.0f && y >= kB - c - 3.0f)
    {
        const float edge = std::min(std::fabs(x - (kR - c)), std::fabs(y - (kB - c)));
        shade -= 0.1f * std::max(0.0f, 1.0f - edge / 3.0f);
    }
    // Light from the top left.
    return {true, shade - 0.05f * ((x - kL) + (y - kT)) / (2.0f * kNotePaper)};
}

/// Note 2: a glue strip along the top; the bottom edge lifts off the wall and curls.
SPaperPoint LiftedBottom(float x, float y)
{
    const float u = (x - kL) / kNotePaper;
    // The lifted edge sags out a little in the middle.
    const float bottom = kB + 1.2f * std::sin(3.14159265f * u);
    if (x < kL || x >= kR || y < kT || y >= bottom)
        return {};
    float shade = 0.99f;
    if (y < kT + 9.0f)
        shade = 0.945f + 0.03f * std::exp(-std::pow((y - kT - 2.0f) / 1.5f, 2.0f));
    const float curl = 11.0f;
    if (y > bottom - curl)
    {
        const float s = (y - (bottom - curl)) / curl;
        shade = 0.99f - 0.14f * s * s + 0.05f * std::exp(-std::pow((s - 0.85f) / 0.08f, 2.0f));
    }
    return {true, shade - 0.03f * u};
}

/// The shadow's reach for note 2: a lifted edge stands off the wall and casts further.
float LiftedBottomShadowDrop(float y)
{
    return 3.0f * std::clamp((y - (kB - 14.0f)) / 14.0f, 0.0f, 1.0f);
}

/// Note 3: slightly turned, creased across, the top-left corner folded down.
SPaperPoint Creased(float x, float y)
{
    const float a = 0.035f;
    const float cx = kNoteSize * 0.5f;
    const float cy = kNoteSize * 0.5f;
    const float ux = (x - cx) * std::cos(a) + (y - cy) * std::sin(a) + cx;
    const float uy = -(x - cx) * std::sin(a) + (y - cy) * std::cos(a) + cy;
    const float c = 9.0f;
    const float k = kL + kT + c; // fold line ux + uy = k
    if (!InSquare(ux, uy) || ux + uy < k)
        return {};
    if (ux < kL + c && uy < kT + c)
    {
        const float t = (ux + uy - k) / c;
        return {true, 0.9f + 0.08f * t};
    }
    // The crease runs from the bottom left towards the upper right.
    const float ax = kL + 6.0f, ay = kB, bx = kR, by = kT + 15.0f;
    const float side = ((bx - ax) * (uy - ay) - (by - ay) * (ux - ax)) /
                       std::sqrt((bx - ax) * (bx - ax) + (by - ay) * (by - ay));
    float shade = side < 0.0f ? 0.99f : 0.945f;
    shade += 0.035f * std::exp(-std::pow((side + 0.8f) / 0.7f, 2.0f));
    shade -= 0.05f * std::exp(-std::pow((side - 0.8f) / 0.7f, 2.0f));
    return {true, shade};
}

CImage RenderNote(int kind, uint64_t seed)
{
    auto paperAt = [kind](float x, float y)
    {
        switch (kind)
        {
        case 0:
            return DogEar(x, y);
        case 1:
            return LiftedBottom(x, y);
        default:
            return Creased(x, y);
        }
    };
    const int n = kNoteSize;
    const int ss = 4; // 4 x 4 samples per pixel for smooth edges
    CImage shadow(n, n);
    CImage paper(n, n);
    CRandom grain(seed);
    CValueNoise fibres(seed + 1, 16);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
        {
            int covered = 0, shaded = 0;
            float shadeSum = 0.0f;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx)
                {
                    const float px = x + (sx + 0.5f) / ss;
                    const float py = y + (sy + 0.5f) / ss;
                    const SPaperPoint p = paperAt(px, py);
                    if (p.paper)
                    {
                        ++covered;
                        shadeSum += p.shade;
                    }
                    const float drop = kind == 1 ? LiftedBottomShadowDrop(py) : 0.0f;
                    if (paperAt(px - 1.5f, py - 2.5f - drop).paper)
                        ++shaded;
                }
            shadow.Set(x, y, {0, 0, 0, 0.5f * float(shaded) / float(ss * ss)});
            if (covered == 0)
                continue;
            const float texture = 0.018f * float(fibres.At(x / 4.0, y / 4.0) - 0.5) +
                                  0.012f * float(grain.Unit() - 0.5);
            const float v = std::clamp(shadeSum / float(covered) + texture, 0.0f, 1.0f);
            paper.Set(x, y, {v, v, v, float(covered) / float(ss * ss)});
        }
    shadow.Blur(2, 3);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            shadow.Blend(x, y, paper.Get(x, y));
    return shadow;
}
} // namespace

std::vector<CImage> MakeNotes()
{
    return {RenderNote(0, 101), RenderNote(1, 202), RenderNote(2, 303)};
}

CImage MakeWallBackground()
{
    // Dark cork: warm brown-grey, blotches at two scales and fine speckles.
    const int w = kVirtualScreenWidth, h = kVirtualScreenHeight;
    CImage image(w, h);
    CValueNoise coarse(7, 16);
    CValueNoise fine(8, 64);
    CRandom speckle(9);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const float blotch = float(coarse.At(x / 64.0, y / 64.0));
            const float grain = float(fine.At(x / 6.0, y / 6.0));
            float v = 0.11f + 0.06f * blotch + 0.05f * grain;
            if (speckle.Unit() < 0.03)
                v *= float(speckle.Range(0.6, 1.35));
            image.Set(x, y, {v * 1.05f, v * 0.86f, v * 0.7f, 1.0f});
        }
    return image;
}

CImage MakeBlackHole(int index)
{
    // Drawn stretched over the whole window; half the window's size is plenty for
    // something this soft and keeps the texture small.
    const int w = 512, h = 384;
    struct SVoid
    {
        float x, y, radius, depth;
    };
    // One or two voids per overlay, spread so the five flicker in different places.
    static const SVoid kVoids[kBlackHoleCount][2] = {
        {{0.22f, 0.3f, 0.2f, 0.85f}, {0.0f, 0.0f, 0.0f, 0.0f}},
        {{0.78f, 0.72f, 0.26f, 0.8f}, {0.95f, 0.1f, 0.1f, 0.5f}},
        {{0.5f, 0.48f, 0.17f, 0.75f}, {0.0f, 0.0f, 0.0f, 0.0f}},
        {{0.1f, 0.85f, 0.24f, 0.85f}, {0.62f, 0.12f, 0.12f, 0.6f}},
        {{0.86f, 0.32f, 0.19f, 0.8f}, {0.33f, 0.7f, 0.09f, 0.55f}},
    };
    CImage image(w, h);
    CValueNoise ragged(1000 + uint64_t(index), 16);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            // Window-shaped coordinates: x in 0 ... 1, y in 0 ... 0.75.
            const float u = (x + 0.5f) / w;
            const float v = (y + 0.5f) / w;
            float alpha = 0.0f;
            for (const SVoid& d : kVoids[index])
            {
                if (d.radius <= 0.0f)
                    continue;
                const float dx = u - d.x;
                const float dy = v - d.y * 0.75f;
                const float angle = std::atan2(dy, dx);
                // A ragged rim: the radius wobbles with the angle.
                const float wobble = 0.85f + 0.3f * float(ragged.At(8.0 + 1.2 * std::cos(angle),
                                                                    8.0 + 1.2 * std::sin(angle)));
                const float r = std::sqrt(dx * dx + dy * dy) / (d.radius * wobble);
                const float a = d.depth * std::exp(-r * r * 1.3f);
                alpha = 1.0f - (1.0f - alpha) * (1.0f - a);
            }
            // Below ~1 % it is invisible anyway; letting it reach 0 there keeps most of the
            // picture clear, and shifting the rest down keeps the fade free of a rim.
            alpha = std::max(0.0f, (alpha - 0.012f) / (1.0f - 0.012f));
            image.Set(x, y, {0.0f, 0.0f, 0.02f, alpha});
        }
    return image;
}

CImage RenderWall(const std::vector<unsigned>& cells, const std::vector<CImage>& notes,
                  const CImage& background, const std::vector<SOverlay>& overlays,
                  unsigned long long seed)
{
    const int columns = kCanvasWidth, rows = kCanvasHeight;
    const int w = kVirtualScreenWidth, h = kVirtualScreenHeight;
    const float cell = float(w / columns);
    const float overhang = kBackgroundOverhang;
    CImage image(w, h, {0, 0, 0, 1});
    image.DrawQuad(background, -overhang, -overhang, w + 2 * overhang, h + 2 * overhang, 0.0f,
                   {1, 1, 1, 1});
    CRandom random(seed);
    // Last row and column first, as the wall does, so each note lies over the notes to
    // its right and below it.
    for (int row = rows - 1; row >= 0; --row)
        for (int column = columns - 1; column >= 0; --column)
        {
            const CImage& p = notes[size_t(random.Int(0, int(notes.size()) - 1))];
            // The game's own placement, at the intensity of a level in play.
            const CNoteGeometry g =
                PlaceNote(p.Width(), p.Height(), column, row, CVector2(cell, cell),
                          CVector2(kNoteMargin, kNoteMargin), 1.0f,
                          [&random](float a, float b) { return float(random.Range(a, b)); });
            image.DrawQuad(p, g.m_Rect.x, g.m_Rect.y, g.m_Rect.width, g.m_Rect.height, g.m_Angle,
                           FromRgb(cells[size_t(row * columns + column)]));
        }
    for (const SOverlay& overlay : overlays)
        image.DrawQuad(*overlay.picture, 0, 0, w, h, 0.0f, {1, 1, 1, overlay.opacity});
    return image;
}
} // namespace tools
