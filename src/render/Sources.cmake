list(APPEND KORVANE_SOURCES
    render/Video.cpp
)
