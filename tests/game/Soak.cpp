// The scripted play-through as a long run: soak FRAMES [--no-rss-check] [--damaged-data]
// Every 7 500 frames the autopilot stops dodging for 2 500, is hit, and the gameplay is
// replaced as the main loop does. Fails (non-zero exit) if the run clears fewer than three
// levels or loses no life, if shots or particles pass ceilings only a leak would reach, if a
// quiet frame (no new shot, no burst, same level) allocates, or if resident memory grows by
// 1 MB after the warm-up (not under ASan or with --no-rss-check: the figure is the tool's).
// --damaged-data plays in a copy of data/ whose every file but the player's picture is
// garbage (music and sounds decoded at start-up, pictures when first drawn): it must play on.
// On SDL_VIDEODRIVER=dummy: no GL context, everything else of the frame runs.

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <unistd.h>

#include "Support.h"
#include "audio/Audio.h"
#include "audio/SoundLibrary.h"
#include "game/Autopilot.h"
#include "util/Random.h"

namespace
{
constexpr int kWarmUpFrames = 2000;
constexpr int kDodgeCycle = 7500;  ///< Frames per cycle ...
constexpr int kCarelessRun = 2500; ///< ... of which the last ones without dodging.

bool g_CountAllocations = false;
long g_Allocations = 0;

long ResidentBytes()
{
    long size = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

/// Copies data/ into `dir`, every file but the player's picture replaced by garbage.
void CopyDamaged(const std::string& dir)
{
    namespace fs = std::filesystem;
    fs::copy("data", dir + "/data", fs::copy_options::recursive);
    std::mt19937 random(77);
    for (const auto& entry : fs::recursive_directory_iterator(dir + "/data"))
    {
        if (!entry.is_regular_file() || entry.path().filename() == "it_guy.png")
            continue;
        std::string garbage(fs::file_size(entry.path()), '\0');
        for (char& c : garbage)
            c = static_cast<char>(random());
        std::ofstream(entry.path(), std::ios::binary | std::ios::trunc) << garbage;
    }
}
} // namespace

void* operator new(std::size_t size)
{
    g_Allocations += g_CountAllocations ? 1 : 0;
    void* p = std::malloc(size ? size : 1);
    if (!p)
        std::abort();
    return p;
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 20000;
    bool checkRss = frames > kWarmUpFrames;
    bool damaged = false;
    for (int i = 2; i < argc; ++i)
    {
        checkRss = checkRss && std::strcmp(argv[i], "--no-rss-check") != 0;
        damaged = damaged || std::strcmp(argv[i], "--damaged-data") == 0;
    }
#if defined(__SANITIZE_ADDRESS__)
    checkRss = false; // ASan keeps freed memory in quarantine
#endif
    CTempDir copy;
    if (damaged)
        CopyDamaged(copy.Path());
    CCurrentDir cwd(damaged ? copy.Path() : ".");
    // The dummy driver offers 8 bits unless 32 are asked for.
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) != 0 ||
        !SDL_SetVideoMode(32, 24, 32, SDL_SWSURFACE))
    {
        std::fprintf(stderr, "soak: no video: %s\n", SDL_GetError());
        return 2;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    StartAudio(); // sounds loaded and played as in the game, on a silent device
    if (damaged)
        PlayMusic("data/sfx/Ondrafel.ogg");
    tarn::test::SeedRandom(4242u, 5.0);

    auto gameplay = std::make_unique<CGameplay>();
    autopilot::CAutopilot pilot;
    int lives = 1, levels = 0, quietAllocations = 0;
    std::size_t bullets = 0, particles = 0;
    long warmRss = 0, endRss = 0;
    for (int frame = 0; frame < frames; ++frame)
    {
        pilot.m_Dodge = frame % kDodgeCycle < kDodgeCycle - kCarelessRun;
        pilot.Steer(*gameplay);
        CGameplayImpl& game = *gameplay->Impl();
        std::size_t liveShots = 0;
        for (const auto& bullet : game.Bullets())
            liveShots += bullet->m_Dead ? 0 : 1;
        const std::size_t particlesBefore = game.Particles().size();
        const int level = game.LevelCount();
        const bool cleared = game.Level().Cleared();
        g_Allocations = 0;
        g_CountAllocations = true;
        gameplay->Update(kDt);
        g_CountAllocations = false;
        if (game.Bullets().size() <= liveShots && game.Particles().size() <= particlesBefore &&
            game.LevelCount() == level && !cleared)
            quietAllocations += g_Allocations;
        levels += game.LevelCount() - level;
        bullets = std::max(bullets, game.Bullets().size());
        particles = std::max(particles, game.Particles().size());
        if (game.PlayerHit() && game.DeathTime() > 1.0f)
        {
            // The key that leaves the death picture, then what the main loop does.
            gameplay->KeyDown(kButtonFire);
            if (gameplay->IsOver())
            {
                gameplay.reset();
                gameplay = std::make_unique<CGameplay>();
                ++lives;
            }
        }
        if (frame + 1 == kWarmUpFrames)
            warmRss = ResidentBytes();
    }
    endRss = ResidentBytes();
    gameplay.reset();
    ShutdownAudio();
    SDL_Quit();

    std::printf("soak: %d frames, %d levels cleared, %d lives, most shots %zu, most particles "
                "%zu, %d allocations in quiet frames; resident memory %ld KiB after the warm-up, "
                "%+ld KiB at the end%s\n",
                frames, levels, lives, bullets, particles, quietAllocations, warmRss / 1024,
                (endRss - warmRss) / 1024, checkRss ? "" : " (not checked)");
    // Ceilings far above play (a dozen shots, a few thousand particles at a clear).
    const bool ok = levels >= 3 && (frames < kDodgeCycle || lives >= 2) && bullets <= 64 &&
                    particles <= 5000 && quietAllocations == 0 &&
                    (!checkRss || endRss - warmRss < 1024 * 1024);
    std::printf("soak: %s\n", ok ? "PASS" : "FAIL");
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
