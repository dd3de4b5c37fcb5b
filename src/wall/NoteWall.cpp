#include "wall/NoteWall.h"

#include "wall/NoteWallImpl.h"

CNoteWall::CNoteWall(float screenWidth, float screenHeight, int columns, int rows)
    : m_Impl(std::make_unique<CNoteWallImpl>(screenWidth, screenHeight, columns, rows))
{
}

CNoteWall::~CNoteWall() = default;

void CNoteWall::SetIntensity(float intensity)
{
    m_Impl->SetIntensity(intensity);
}

void CNoteWall::SetFrameObserver(IWallFrameObserver* observer)
{
    m_Impl->SetFrameObserver(observer);
}

void CNoteWall::Frame(const CSurface* canvas, float dt, int score)
{
    m_Impl->Frame(canvas, dt, score);
}
