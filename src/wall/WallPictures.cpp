#include "wall/WallPictures.h"

#include <string>

#include "render/Texture.h"
#include "wall/WallLayout.h"

CWallPictures CWallPictures::Load()
{
    CWallPictures p;
    const std::string folder = kPictureFolder;
    p.m_Background = GetTexture(folder + kWallBackgroundPicture);
    for (int i = 0; i < kNotePictureCount; ++i)
        p.m_Notes.push_back(GetTexture(folder + NotePictureName(i)));
    for (int i = 0; i < kBlackHoleCount; ++i)
        p.m_BlackHoles.push_back(GetTexture(folder + BlackHolePictureName(i)));
    p.m_ScoreBackground = GetTexture(folder + kScoreBackgroundPicture);
    for (int k = 0; k < kDigitPictureCount; ++k)
        p.m_Digits.push_back(GetTexture(folder + DigitPictureName(k)));
    return p;
}
