#pragma once

#include <string>

struct SDL_Surface;
struct SDL_Rect;

/// An OpenGL texture made from a picture file: its GL name, the picture's own size in
/// pixels (before enlargement to powers of two) and the texture coordinates that cover
/// exactly the picture. Got only through GetTexture; never freed.
struct CTexture
{
    unsigned int m_Name = 0;
    int m_Width = 0;
    int m_Height = 0;
    float m_UMin = 0.0f;
    float m_VMin = 0.0f;
    float m_UMax = 0.0f;
    float m_VMax = 0.0f;
};

/// The cached texture of the picture file, loading it on the first request. Null when the
/// picture cannot be loaded; a failure is reported (LogPictureLoadFailure), remembered and
/// never retried. Needs InitVideo.
CTexture* GetTexture(const std::string& fileName);
/// Uploads every picture of the cache again under its own GL name, from the image kept
/// with it; after a video mode change, which may have made a new GL context. Answers how
/// many. Textures made outside the cache (MakeTexture) are not among them.
int ReloadTextures();
/// Uncached: decodes and uploads the file; null on failure.
CTexture* LoadTexture(const std::string& fileName);
/// Turns `surface` into a GL texture, enlarged to powers of two with its transparent
/// texels' colour repaired. Writes uMin, vMin, uMax, vMax. False when the enlarged image
/// cannot be made. The new texture stays bound.
bool MakeTexture(SDL_Surface* surface, unsigned int& textureName, float textureCoordinates[4]);
/// Gives fully transparent pixels the mean colour of their opaque neighbours and copies the
/// picture's last column and row into the enlarged margin. `image` is 32-bit.
void BleedEdges(SDL_Surface* image, const SDL_Rect& pictureRect);

/// The smallest power of two not below n (n >= 1); a power of two stays itself.
int NextPowerOfTwo(int n);

/// Size of the enlarged image of a picture and the texture coordinates that stop at the
/// picture's own area (uMin = vMin = 0).
struct CTextureLayout
{
    int m_Width = 0;
    int m_Height = 0;
    float m_UMax = 0.0f;
    float m_VMax = 0.0f;
};
/// Pure: powers of two for both sizes, uMax = width / enlarged width, likewise vMax.
CTextureLayout ComputeTextureLayout(int width, int height);
