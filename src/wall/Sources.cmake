list(APPEND KORVANE_SOURCES
    wall/CameraTransformer.cpp
    wall/NoteGrid.cpp
    wall/NoteWall.cpp
    wall/NoteWallImpl.cpp
    wall/NumberLayout.cpp
    wall/Palette.cpp
    wall/ScoreDisplay.cpp
    wall/WallPictures.cpp
    wall/WallQuad.cpp
)
