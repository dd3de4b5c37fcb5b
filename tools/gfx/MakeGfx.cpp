// Writes every picture of the game into the folder given as the first argument; with a
// second argument, also a mock-up of the note wall there (not game data).

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>

#include "common/Random.h"
#include "gfx/Pictures.h"
#include "wall/Palette.h"

using namespace tools;

namespace
{
bool g_Failed = false;

void Save(const CImage& image, const std::string& path)
{
    const bool jpg = path.size() > 4 && path.compare(path.size() - 4, 4, ".jpg") == 0;
    if (!(jpg ? image.WriteJpg(path, 88) : image.WritePng(path)))
    {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        g_Failed = true;
    }
}

/// Cells for the mock-up: a field of one colour (does it read as one solid wall?), a
/// field of random palette colours and the dark canvas colour around them.
std::vector<unsigned> MockupCells()
{
    std::vector<unsigned> cells(kCanvasWidth * kCanvasHeight, 0x003CFF);
    const int kLastNote = int(std::size(kNotePalette)) - 1;
    CRandom random(5);
    for (int y = 2; y < kCanvasHeight - 2; ++y)
        for (int x = 2; x < kCanvasWidth - 2; ++x)
            cells[size_t(y * kCanvasWidth + x)] =
                x < 14 ? 0xFFA76B : kNotePalette[random.Int(0, kLastNote)];
    return cells;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s <data/gfx folder> [mock-up folder]\n", argv[0]);
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const std::vector<CImage> notes = MakeNotes();
    for (size_t i = 0; i < notes.size(); ++i)
        Save(notes[i], dir + NotePictureName(int(i)));
    const CImage background = MakeWallBackground();
    Save(background, dir + kWallBackgroundPicture);
    std::vector<CImage> holes;
    for (int i = 0; i < kBlackHoleCount; ++i)
    {
        holes.push_back(MakeBlackHole(i));
        Save(holes.back(), dir + BlackHolePictureName(i));
    }
    Save(MakeScoreLabel(), dir + kScoreBackgroundPicture);
    for (int d = 0; d < kDigitPictureCount; ++d)
        Save(MakeDigit(d), dir + DigitPictureName(d));
    Save(MakeStars(), dir + "background_stars.png");
    Save(MakeYouDied(), dir + "you_died.png");
    Save(MakePlayer(), dir + "it_guy.png");
    Save(MakeBullet(1), dir + "bullet-01.png");
    Save(MakeBullet(2), dir + "bullet-02.png");
    Save(MakeParticle(1), dir + "particle-01.png");
    Save(MakeParticle(2), dir + "particle-02.png");
    Save(MakeTitle(notes, background, holes), dir + "title_screen.jpg");
    // The icons live beside data/gfx, in data/icon, which the installer copies apart: one
    // picture per size the desktop's icon theme asks for, drawn rather than scaled there.
    std::filesystem::create_directories(dir + "../icon");
    for (int size : {32, 48, 64, 128, 256})
        Save(MakeIcon(notes, background, size),
             dir + "../icon/korvane-" + std::to_string(size) + ".png");
    if (argc > 2)
        Save(RenderWall(MockupCells(), notes, background, {}, 99),
             std::string(argv[2]) + "/wall_mockup.png");
    return g_Failed ? 1 : 0;
}
