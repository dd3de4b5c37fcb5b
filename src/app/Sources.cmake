list(APPEND KORVANE_SOURCES
    app/MainLoop.cpp
    app/TitleScreen.cpp
)
