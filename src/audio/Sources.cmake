list(APPEND KORVANE_SOURCES
    audio/Audio.cpp
    audio/BeatTrack.cpp
    audio/SoundLibrary.cpp
)
