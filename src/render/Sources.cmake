list(APPEND KORVANE_SOURCES
    render/Quad.cpp
    render/Texture.cpp
    render/Video.cpp
)
