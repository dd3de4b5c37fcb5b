list(APPEND KORVANE_SOURCES
    game/CellGrid.cpp
    game/Gameplay.cpp
    game/GameplayImpl.cpp
    game/Level.cpp
    game/PatternGenerator.cpp
)
