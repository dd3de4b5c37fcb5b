#pragma once

#include <memory>

#include "actors/PlayerMotion.h"

class CGameplayImpl;

/// One life of the player, as the main loop sees it: a fixed-step update per frame, the
/// five logical buttons, and an over flag after which the loop makes a new one.
class CGameplay
{
public:
    /// The game's gameplay.
    CGameplay();
    /// Drives `impl`, which must not be null (a gameplay made with given parts; whoever
    /// made it may keep a pointer to it for the facade's lifetime).
    explicit CGameplay(std::unique_ptr<CGameplayImpl> impl);
    ~CGameplay();
    CGameplay(const CGameplay&) = delete;
    CGameplay& operator=(const CGameplay&) = delete;

    /// One frame of `dt` seconds; draws and presents it.
    void Update(float dt);
    /// Passes the button to the player; a key more than 1 s after the player was hit ends
    /// the gameplay.
    void KeyDown(EButton button);
    void KeyUp(EButton button);
    bool IsOver() const;

private:
    std::unique_ptr<CGameplayImpl> m_Impl;
};
