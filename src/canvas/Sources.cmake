list(APPEND KORVANE_SOURCES
    canvas/Background.cpp
    canvas/BlendMode.cpp
    canvas/Color.cpp
    canvas/Sprite.cpp
    canvas/Surface.cpp
)
