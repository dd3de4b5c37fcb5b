list(APPEND KORVANE_SOURCES
    util/DirectoryListing.cpp
    util/Random.cpp
    util/Vector2.cpp
)
