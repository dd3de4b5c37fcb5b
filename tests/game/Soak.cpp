// The play-through as a long run: soak FRAMES [--damaged-data] [--no-rss-check]. Fails on few
// levels or no life lost, on a leak of shots, particles or 1 MB resident after a warm-up.
// --damaged-data: all data but the player's is garbage.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <unistd.h>

#include "Support.h"
#include "audio/Audio.h"
#include "audio/SoundLibrary.h"
#include "game/Autopilot.h"
#include "util/Random.h"

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    const int frames = argc > 1 ? std::atoi(argv[1]) : 20000;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool damaged = std::count(args.begin(), args.end(), "--damaged-data");
#if defined(__SANITIZE_ADDRESS__)
    const bool checkRss = false;
#else
    const bool checkRss = !std::count(args.begin(), args.end(), "--no-rss-check");
#endif
    const auto residentBytes = []
    {
        long size = 0, resident = 0;
        std::ifstream("/proc/self/statm") >> size >> resident;
        return resident * sysconf(_SC_PAGESIZE);
    };
    long warmRss = 0;
    std::size_t mostShots = 0, mostParticles = 0;
    const CTempDir copy;
    if (damaged)
    {
        fs::copy("data", copy / "data", fs::copy_options::recursive);
        for (const auto& entry : fs::recursive_directory_iterator(copy / "data"))
            if (entry.is_regular_file() && entry.path().filename() != "it_guy.png")
                std::ofstream(entry.path(), std::ios::trunc) << "\x89PNG garbage RIFF OggS";
    }
    CCurrentDir cwd(damaged ? copy.Path() : ".");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) != 0 ||
        !SDL_SetVideoMode(32, 24, 32, SDL_SWSURFACE))
        return 2;
    StartAudio(); // sounds loaded and played as in the game, on a silent device
    if (damaged)
        PlayMusic("data/sfx/Ondrafel.ogg");
    tarn::SeedRandom(4242u, 5.0);

    CGameplayImpl* parts = nullptr;
    auto gameplay = autopilot::MakeGameplay(parts);
    autopilot::CAutopilot pilot;
    int lives = 1, levels = 0;
    for (int frame = 0; frame < frames; ++frame)
    {
        pilot.m_Dodge = frame % 7500 < 5000;
        pilot.Steer(*gameplay, *parts);
        const int level = parts->LevelCount();
        gameplay->Update(kDt);
        levels += parts->LevelCount() - level;
        mostShots = std::max(mostShots, parts->Bullets().size());
        mostParticles = std::max(mostParticles, parts->Particles().size());
        if (frame + 1 == 2000)
            warmRss = residentBytes();
        if (!(parts->PlayerHit() && parts->DeathTime() > 1.0f))
            continue;
        gameplay->KeyDown(kButtonFire); // the key that leaves the death picture, then the loop's
        if (gameplay->IsOver())
        {
            gameplay.reset();
            gameplay = autopilot::MakeGameplay(parts);
            ++lives;
        }
    }
    const long growth = frames > 2000 ? residentBytes() - warmRss : 0;
    gameplay.reset();
    ShutdownAudio();
    SDL_Quit();
    const bool ok = levels >= 3 && (frames < 7500 || lives >= 2) && mostShots <= 64 &&
                    mostParticles <= 5000 && (!checkRss || growth < 1024 * 1024);
    std::printf("soak: %d frames, %d levels, %d lives, most shots %zu, most particles %zu, "
                "memory %+ld KiB after the warm-up%s: %s\n",
                frames, levels, lives, mostShots, mostParticles, growth / 1024,
                checkRss ? "" : " (not checked)", ok ? "PASS" : "FAIL");
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
