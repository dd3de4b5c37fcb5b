list(APPEND KORVANE_SOURCES
    canvas/Color.cpp
    canvas/Surface.cpp
)
