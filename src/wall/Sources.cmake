list(APPEND KORVANE_SOURCES
    wall/Camera.cpp
    wall/NoteWall.cpp
    wall/NoteWallImpl.cpp
    wall/Palette.cpp
    wall/ScoreDisplay.cpp
)
