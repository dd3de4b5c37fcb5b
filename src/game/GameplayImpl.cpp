#include "game/GameplayImpl.h"

#include "render/Video.h"

void CGameplayImpl::Update(float dt)
{
    (void)dt;
    ClearScreen();
    SwapScreen();
}

void CGameplayImpl::KeyDown(int button)
{
    (void)button;
}

void CGameplayImpl::KeyUp(int button)
{
    (void)button;
}
