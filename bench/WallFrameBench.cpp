// The whole note wall frame through GL (Mesa under Xvfb) next to a bare program that issues
// the same GL calls for the same quads: the difference is what the wall itself costs.
// Needs an X display: xvfb-run -a ./build/bench/wall_frame_bench

#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "GlFloor.h"
#include "canvas/CanvasSize.h"
#include "canvas/Surface.h"
#include "render/Quad.h"
#include "render/Texture.h"
#include "render/Video.h"
#include "util/Random.h"
#include "wall/NoteWallImpl.h"
#include "wall/Palette.h"
#include "wall/WallLayout.h"

namespace
{
std::string g_PictureFolder; ///< Removed when the run ends.

void SavePicture(const std::string& name, int w, int h, Uint8 r, Uint8 g, Uint8 b)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
    SDL_SaveBMP(s, name.c_str()); // IMG_Load knows a BMP by its contents, not its name.
    SDL_FreeSurface(s);
}

/// Stand-ins for the game's pictures at plausible sizes, in a temporary folder that becomes
/// the working directory.
void MakeGamePictures()
{
    char pattern[] = "/tmp/korvane-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made)
        std::abort();
    const std::string root = made;
    g_PictureFolder = root;
    mkdir((root + "/data").c_str(), 0755);
    mkdir((root + "/data/gfx").c_str(), 0755);
    const std::string gfx = root + "/" + kPictureFolder;
    const int w = kVirtualScreenWidth, h = kVirtualScreenHeight;
    SavePicture(gfx + kWallBackgroundPicture, w, h, 40, 40, 60);
    for (int i = 0; i < kNotePictureCount; ++i)
        SavePicture(gfx + NotePictureName(i), 80, 80, 250, 250, 240);
    for (int i = 0; i < kBlackHoleCount; ++i)
        SavePicture(gfx + BlackHolePictureName(i), w, h, 0, 0, 0);
    SavePicture(gfx + kScoreBackgroundPicture, 200, 60, 255, 255, 255);
    for (int k = 0; k < kDigitPictureCount; ++k)
        SavePicture(gfx + DigitPictureName(k), 20, 30, 255, 255, 255);
    if (chdir(root.c_str()) != 0)
        std::abort();
}

std::unique_ptr<CSurface> MakeCanvas()
{
    tarn::SeedRandom(1u, 2.0);
    std::unique_ptr<CSurface> canvas = CreateSurface(kCanvasWidth, kCanvasHeight);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            canvas->SetPixel(x, y, RandomLevelColor().ToPixel());
    return canvas;
}

struct CSetup
{
    std::unique_ptr<CNoteWallImpl> m_Wall;
    std::unique_ptr<CSurface> m_Canvas;
    std::vector<glfloor::CRawQuad> m_Quads;
};

constexpr int kScore = 12;

CSetup& Setup()
{
    static CSetup s_Setup = []
    {
        CSetup s;
        if (!InitVideo(kVirtualScreenWidth, kVirtualScreenHeight, false, "Korvane"))
            std::abort();
        MakeGamePictures();
        s.m_Wall = std::make_unique<CNoteWallImpl>(
            float(kVirtualScreenWidth), float(kVirtualScreenHeight), kCanvasWidth, kCanvasHeight);
        s.m_Canvas = MakeCanvas();
        // One twitch so the camera is off its rest pose and some black holes show; frames of
        // dt 0 then keep that pose, so every frame draws the same quads.
        tarn::SeedRandom(5u, 3.0);
        s.m_Wall->Twitch();
        s.m_Wall->Frame(s.m_Canvas.get(), 0.0f, kScore);
        glfloor::CaptureFrame(*s.m_Wall, kScore, s.m_Quads);
        return s;
    }();
    return s_Setup;
}

void BM_WallFrame(benchmark::State& state)
{
    CSetup& s = Setup();
    for (auto _ : state)
    {
        s.m_Wall->Frame(s.m_Canvas.get(), 0.0f, kScore);
        glFinish();
    }
    state.counters["quads"] = static_cast<double>(s.m_Quads.size());
}

void BM_BareGlFrame(benchmark::State& state)
{
    CSetup& s = Setup();
    for (auto _ : state)
    {
        glfloor::DrawClearAndQuads(s.m_Quads);
        SDL_GL_SwapBuffers();
        glFinish();
    }
    state.counters["quads"] = static_cast<double>(s.m_Quads.size());
}

// Alternating the two keeps a load change on the shared machine from favouring one.
// Real time: most of a frame is spent in the rasterizer's own threads. Registered twice,
// alternating, so a load change on the shared machine does not favour one of them.
BENCHMARK(BM_WallFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareGlFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WallFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareGlFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY"))
    {
        std::printf("wall_frame_bench needs an X display (run it under xvfb-run)\n");
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!g_PictureFolder.empty())
        std::system(("rm -rf '" + g_PictureFolder + "'").c_str());
    return 0;
}
