list(APPEND KORVANE_SOURCES
    actors/Particle.cpp
    actors/Bullet.cpp
    actors/Player.cpp
    actors/PlayerMotion.cpp
    actors/Sweep.cpp
)
