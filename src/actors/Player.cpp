#include "actors/Player.h"

#include "actors/FireBulletInterface.h"
#include "canvas/Sprite.h"

namespace
{
bool IsButton(EButton button)
{
    return button >= 0 && button < kButtonCount;
}
} // namespace

CPlayer::CPlayer() : m_Sprite(CreateSprite("data/gfx/it_guy.png")) {}

CPlayer::~CPlayer()
{
    RemoveSpriteOnHit();
}

void CPlayer::KeyDown(EButton button)
{
    if (!IsButton(button))
        return;
    m_Buttons.set(button);
    m_Motion.Nudge(button);
}

void CPlayer::KeyUp(EButton button)
{
    if (IsButton(button))
        m_Buttons.reset(button);
}

bool CPlayer::IsHeld(EButton button) const
{
    return IsButton(button) && m_Buttons[button];
}

void CPlayer::RemoveSpriteOnHit()
{
    RemoveSprite(m_Sprite);
    m_Sprite = nullptr;
}

void CPlayer::Update(float dt, IFireBulletInterface& gameplay)
{
    if (!m_Sprite)
        return;

    // Assigned, not added: a held button shoots on the first update after the cooldown
    // has run out, so at 0.016 s steps every 15th update.
    m_FireCooldown -= dt;
    if (m_FireCooldown < 0.0f && m_Buttons[kButtonFire])
    {
        gameplay.FirePlayerBullet();
        m_FireCooldown = kFireCooldown;
    }

    m_Motion.Step(m_Buttons, dt);
    PlaceCentred(*m_Sprite, m_Motion.m_Position.x, m_Motion.m_Position.y);
}
