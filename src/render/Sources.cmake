list(APPEND KORVANE_SOURCES
    render/Camera.cpp
    render/Quad.cpp
    render/Texture.cpp
    render/Video.cpp
)
