list(APPEND KORVANE_SOURCES
    actors/Particle.cpp
)
