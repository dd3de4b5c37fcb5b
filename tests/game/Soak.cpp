// The play-through as a long run: soak FRAMES [--damaged-data] [--no-rss-check]. Every 7 500
// frames the autopilot stops dodging for 2 500. Fails on fewer than three levels or no life lost,
// on shots or particles far above play (a leak), or on 1 MB of resident growth after a 2 000-frame
// warm-up (not under ASan or valgrind). --damaged-data: all data but the player's is garbage.

#include <SDL.h>
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
    auto flag = [&](const std::string& name)
    { return std::find(argv + 1, argv + argc, name) != argv + argc; };
    const bool damaged = flag("--damaged-data");
    bool checkRss = !flag("--no-rss-check");
#if defined(__SANITIZE_ADDRESS__)
    checkRss = false;
#endif
    auto residentBytes = []
    {
        long size = 0, resident = 0;
        std::ifstream("/proc/self/statm") >> size >> resident;
        return resident * sysconf(_SC_PAGESIZE);
    };
    long warmRss = 0;
    std::size_t mostShots = 0, mostParticles = 0;
    CTempDir copy;
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
        CGameplayImpl& game = *parts;
        pilot.Steer(*gameplay, game);
        const int level = game.LevelCount();
        gameplay->Update(kDt);
        levels += game.LevelCount() - level;
        mostShots = std::max(mostShots, game.Bullets().size());
        mostParticles = std::max(mostParticles, game.Particles().size());
        if (frame + 1 == 2000)
            warmRss = residentBytes();
        if (game.PlayerHit() && game.DeathTime() > 1.0f)
        {
            // The key that leaves the death picture, then what the main loop does.
            gameplay->KeyDown(kButtonFire);
            if (gameplay->IsOver())
            {
                gameplay.reset();
                gameplay = autopilot::MakeGameplay(parts);
                ++lives;
            }
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
