#include "game/Gameplay.h"

#include <cassert>
#include <utility>

#include "game/GameplayImpl.h"

namespace
{
/// A key ends the gameplay only this long (seconds, strictly more) after the player was hit.
constexpr float kRestartDelay = 1.0f;
} // namespace

CGameplay::CGameplay() : CGameplay(std::make_unique<CGameplayImpl>()) {}

CGameplay::CGameplay(std::unique_ptr<CGameplayImpl> impl) : m_Impl(std::move(impl))
{
    assert(m_Impl && "a gameplay facade needs its gameplay");
}

CGameplay::~CGameplay() = default;

void CGameplay::Update(float dt)
{
    m_Impl->Update(dt);
}

void CGameplay::KeyDown(EButton button)
{
    m_Impl->Player().KeyDown(button);
    if (m_Impl->PlayerHit() && m_Impl->DeathTime() > kRestartDelay)
        m_Impl->SetOver();
}

void CGameplay::KeyUp(EButton button)
{
    m_Impl->Player().KeyUp(button);
}

bool CGameplay::IsOver() const
{
    return m_Impl->Over();
}
