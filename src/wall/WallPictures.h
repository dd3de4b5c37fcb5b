#pragma once

#include <vector>

struct CTexture;

/// Every picture the wall draws; null entries are missing pictures and draw nothing.
/// Passed to the wall rather than fetched by it, so a test or benchmark builds a wall
/// with pictures of any size, or none.
struct CWallPictures
{
    const CTexture* m_Background = nullptr;
    std::vector<const CTexture*> m_Notes;      ///< kNotePictureCount note pictures.
    std::vector<const CTexture*> m_BlackHoles; ///< kBlackHoleCount full-screen overlays.
    const CTexture* m_ScoreBackground = nullptr;
    std::vector<const CTexture*> m_Digits; ///< Digit pictures 0 ... 9.

    /// Through the picture cache, in the game's order: background, notes, black holes,
    /// score background, digits. Needs InitVideo when the files exist.
    static CWallPictures Load();
};
