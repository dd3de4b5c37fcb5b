#pragma once

// Where the note wall puts its parts, in pixels of the 1024 x 768 virtual screen, and the
// pictures it draws. The game, the GL floor of the benchmarks and the picture generators in
// tools/ use this header, and tests/e2e/wall.py reads the score's place and the picture
// names from it: keep each a `constexpr float` or `constexpr char[]` with a plain literal.

#include <string>

/// Top-left corner of the score background picture, drawn without the camera.
inline constexpr float kScoreBackgroundX = 798.0f;
inline constexpr float kScoreBackgroundY = -1.0f;
/// Top-left corner of the score's first digit.
inline constexpr float kScoreNumberX = 881.0f;
inline constexpr float kScoreNumberY = 15.0f;

/// How far the background reaches past each edge of the screen, so the twitching camera
/// never shows its border.
inline constexpr float kBackgroundOverhang = 32.0f;

inline constexpr int kNotePictureCount = 3;
/// Full-screen overlays, each shown at a random opacity after every twitch.
inline constexpr int kBlackHoleCount = 5;
inline constexpr int kDigitPictureCount = 10;

/// The folder the game reads its pictures from, and the wall's pictures by name in it.
inline constexpr char kPictureFolder[] = "data/gfx/";
inline constexpr char kWallBackgroundPicture[] = "background-03.jpg";
inline constexpr char kScoreBackgroundPicture[] = "score_background.png";
/// Note picture i (0 ... 2): post-it-01.png to post-it-03.png.
inline std::string NotePictureName(int i)
{
    return "post-it-0" + std::to_string(i + 1) + ".png";
}
/// Black hole i (0 ... 4): black_hole_01.png to black_hole_05.png.
inline std::string BlackHolePictureName(int i)
{
    return "black_hole_0" + std::to_string(i + 1) + ".png";
}
/// Digit picture k (0 ... 9): num_00.png to num_09.png.
inline std::string DigitPictureName(int k)
{
    return "num_0" + std::to_string(k) + ".png";
}
