list(APPEND KORVANE_SOURCES
    app/CommandLine.cpp
    app/Gamepad.cpp
    app/MainLoop.cpp
    app/TitleScreen.cpp
)
