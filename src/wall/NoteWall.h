#pragma once

#include <memory>

class CSurface;
class CNoteWallImpl;
class IWallFrameObserver;

/// Shows the canvas as a wall of paper notes filling the window: one note per canvas pixel,
/// tinted with its palette-mapped colour and stuck anew only when that colour changes,
/// over a background picture, under flickering black holes, through a camera that twitches
/// every 0.23 s, with the score on top. Owns the whole window picture during play.
class CNoteWall
{
public:
    CNoteWall(float screenWidth, float screenHeight, int columns, int rows);
    ~CNoteWall();
    CNoteWall(const CNoteWall&) = delete;
    CNoteWall& operator=(const CNoteWall&) = delete;

    /// Scales the random offset and tilt of newly stuck notes (1 while a level plays).
    void SetIntensity(float intensity);
    /// Frames from now on tell `observer` their moments; null (the default) tells no one.
    /// Not owned.
    void SetFrameObserver(IWallFrameObserver* observer);
    /// One whole window frame: twitch timer, clear, wall, score (when >= 0), swap.
    void Frame(const CSurface* canvas, float dt, int score);

private:
    std::unique_ptr<CNoteWallImpl> m_Impl;
};
