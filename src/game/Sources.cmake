list(APPEND KORVANE_SOURCES
    game/CellGrid.cpp
    game/Gameplay.cpp
    game/GameplayImpl.cpp
    game/PatternGenerator.cpp
)
