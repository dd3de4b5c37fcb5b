list(APPEND KORVANE_SOURCES
    wall/CameraTransformer.cpp
    wall/NoteWall.cpp
    wall/NoteWallImpl.cpp
    wall/Palette.cpp
    wall/ScoreDisplay.cpp
)
