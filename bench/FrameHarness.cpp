// The real gameplay (real data, sounds loaded, the play-through's autopilot at the keys) for
// N frames without the 16 ms pacing, each frame timed from a glFinish to the next, and after
// each game frame the floor: the same quads through the bare GL calls, nothing else.
// Usage, from the repository root under an X display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./build/bench/frame_harness [frames]
// Prints median and 90th percentile of every part of the frame and the game's frame as a
// ratio to the floor's.

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "GlFloor.h"
#include "app/MainLoop.h"
#include "audio/SoundLibrary.h"
#include "game/Autopilot.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"
#include "render/Video.h"
#include "util/Random.h"
#include "wall/NoteWall.h"
#include "wall/WallFrameObserver.h"

namespace
{
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

/// The moments of the last wall frame, and the wall that drew it.
class CStamps : public IWallFrameObserver
{
public:
    void OnFrameMoment(EMoment moment, const CNoteWallImpl& wall) override
    {
        m_Moments[moment] = Clock::now();
        m_Wall = &wall;
    }
    Clock::time_point At(EMoment moment) const { return m_Moments[moment]; }

    const CNoteWallImpl* m_Wall = nullptr;

private:
    Clock::time_point m_Moments[kMomentCount];
};

/// One named series of per-frame milliseconds.
struct CSeries
{
    const char* m_Name;
    std::vector<double> m_Ms;

    double At(double q) const
    {
        std::vector<double> sorted = m_Ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted[static_cast<std::size_t>(q * static_cast<double>(sorted.size() - 1) + 0.5)];
    }
    void Print() const { std::printf("  %-38s %8.3f %8.3f\n", m_Name, At(0.5), At(0.9)); }
};

/// The median of the per-frame ratios a[i] / b[i]: the paired comparison is fair to both
/// even when the shared machine's load changes during the run.
double PairedRatio(const CSeries& a, const CSeries& b, double q)
{
    std::vector<double> r(a.m_Ms.size());
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] = a.m_Ms[i] / b.m_Ms[i];
    std::sort(r.begin(), r.end());
    return r[static_cast<std::size_t>(q * static_cast<double>(r.size() - 1) + 0.5)];
}
} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 300;
    // Full screen: the desktop's size, the game's 4:3 area in it (and the floor's too).
    const bool fullscreen = argc > 2 && std::string(argv[2]) == "--fullscreen";
    if (frames < 2 || (argc > 2 && !fullscreen))
    {
        std::fprintf(stderr, "usage: frame_harness [frames >= 2] [--fullscreen]\n");
        return 2;
    }
    if (!std::getenv("DISPLAY"))
    {
        std::fprintf(stderr, "frame_harness needs an X display (run it under xvfb-run)\n");
        return 2;
    }
    // The game's own start: window, sounds loaded (a silent device when none is asked for).
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!InitVideo(kVirtualScreenWidth, kVirtualScreenHeight, fullscreen, "Korvane"))
        return 1;
    StartAudio();
    std::printf("GL renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    tarn::SeedRandom(99u, 3.0);
    CStamps stamps;
    CGameplayImpl* parts = nullptr;
    auto gameplay = autopilot::MakeGameplay(parts);
    parts->NoteWall().SetFrameObserver(&stamps);
    autopilot::CAutopilot pilot;
    std::vector<glfloor::CRawQuad> quads;
    quads.reserve(1024);

    CSeries game{"game frame", {}}, cpu{"CPU work", {}}, sim{"simulation + canvas", {}},
        notes{"palette mapping + note bookkeeping", {}}, glCalls{"GL calls", {}},
        render{"renderer wait (swap + glFinish)", {}}, swap{"swap", {}}, finish{"glFinish", {}};
    CSeries floor{"floor frame", {}}, floorCalls{"GL calls", {}},
        floorRender{"renderer wait (swap + glFinish)", {}};
    std::vector<double> quadCounts;
    int lives = 1;
    int bestLevel = 0;

    for (int i = 0; i < frames; ++i)
    {
        // The scripted input stands for the events the main loop would hand over; it is
        // not the game's work and stays outside the clock.
        pilot.Steer(*gameplay, *parts);
        if (parts->PlayerHit() && parts->DeathTime() > 1.0f)
            gameplay->KeyDown(kButtonFire);
        const int score = parts->LevelCount(); // what this frame's wall shows

        glFinish();
        const Clock::time_point t0 = Clock::now();
        gameplay->Update(kTimeStep);
        const bool replaced = gameplay->IsOver();
        if (replaced)
        {
            // As the main loop does, inside the frame.
            gameplay.reset();
            gameplay = autopilot::MakeGameplay(parts);
            parts->NoteWall().SetFrameObserver(&stamps);
            ++lives;
        }
        const Clock::time_point t1 = Clock::now();
        glFinish();
        const Clock::time_point t2 = Clock::now();

        const double notesMs = Ms(stamps.At(IWallFrameObserver::kNotesEnd) -
                                  stamps.At(IWallFrameObserver::kNotesStart));
        const double swapMs =
            Ms(stamps.At(IWallFrameObserver::kSwapEnd) - stamps.At(IWallFrameObserver::kDrawEnd));
        game.m_Ms.push_back(Ms(t2 - t0));
        sim.m_Ms.push_back(Ms(stamps.At(IWallFrameObserver::kFrameStart) - t0) +
                           Ms(t1 - stamps.At(IWallFrameObserver::kSwapEnd)));
        notes.m_Ms.push_back(notesMs);
        glCalls.m_Ms.push_back(Ms(stamps.At(IWallFrameObserver::kDrawEnd) -
                                  stamps.At(IWallFrameObserver::kFrameStart)) -
                               notesMs);
        cpu.m_Ms.push_back(Ms(t1 - t0) - swapMs);
        swap.m_Ms.push_back(swapMs);
        finish.m_Ms.push_back(Ms(t2 - t1));
        render.m_Ms.push_back(swapMs + Ms(t2 - t1));
        bestLevel = std::max(bestLevel, parts->LevelCount());

        // The floor: this frame's quads again, through nothing but the GL calls. The
        // capture is made before the clock starts. A replaced gameplay's old wall is gone:
        // the floor then repeats the previous frame's quads.
        if (!replaced)
            glfloor::CaptureFrame(*stamps.m_Wall, score, quads);
        quadCounts.push_back(static_cast<double>(quads.size()));
        glFinish();
        const Clock::time_point f0 = Clock::now();
        glfloor::DrawClearAndQuads(quads);
        const Clock::time_point f1 = Clock::now();
        glfloor::Swap();
        glFinish();
        const Clock::time_point f2 = Clock::now();
        floor.m_Ms.push_back(Ms(f2 - f0));
        floorCalls.m_Ms.push_back(Ms(f1 - f0));
        floorRender.m_Ms.push_back(Ms(f2 - f1));
    }

    std::sort(quadCounts.begin(), quadCounts.end());
    std::printf("%d frames, %d lives, best level %d, quads per frame %.0f to %.0f (median %.0f)\n",
                frames, lives, bestLevel, quadCounts.front(), quadCounts.back(),
                quadCounts[quadCounts.size() / 2]);
    std::printf("  %-38s %8s %8s\n", "milliseconds", "median", "p90");
    for (const CSeries* s : {&game, &cpu, &sim, &notes, &glCalls, &render, &swap, &finish})
        s->Print();
    std::printf("floor (the same quads, bare GL):\n");
    for (const CSeries* s : {&floor, &floorCalls, &floorRender})
        s->Print();
    std::printf("game / floor: %.3f at the median, %.3f at p90 (of the per-frame ratios: "
                "median %.3f, p90 %.3f)\n",
                game.At(0.5) / floor.At(0.5), game.At(0.9) / floor.At(0.9),
                PairedRatio(game, floor, 0.5), PairedRatio(game, floor, 0.9));

    gameplay.reset();
    SDL_Quit();
    return 0;
}
