list(APPEND KORVANE_SOURCES
    game/Gameplay.cpp
    game/GameplayImpl.cpp
)
