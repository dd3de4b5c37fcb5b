#pragma once

// Private to the gameplay: only the gameplay's own sources and tests include this.

/// One life of the player.
///
/// Placeholder until the game itself lands: it only clears and presents the window each
/// frame, so the shell's loop, pacing and input can run end to end. The real gameplay
/// replaces this class and removes this note.
class CGameplayImpl
{
public:
    void Update(float dt);
    void KeyDown(int button);
    void KeyUp(int button);

    bool PlayerHit() const { return m_PlayerHit; }
    float DeathTime() const { return m_DeathTime; }
    bool Over() const { return m_Over; }
    void SetOver() { m_Over = true; }

    /// Test-only: as if a level shot had hit the player `deathTime` seconds ago.
    void SetPlayerHitForTest(float deathTime)
    {
        m_PlayerHit = true;
        m_DeathTime = deathTime;
    }

private:
    bool m_PlayerHit = false;
    float m_DeathTime = 0.0f; ///< Seconds since the player was hit.
    bool m_Over = false;
};
