list(APPEND KORVANE_SOURCES
    util/DirectoryListing.cpp
    util/Log.cpp
    util/Random.cpp
    util/Vector2.cpp
)
