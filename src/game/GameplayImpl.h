#pragma once

// Private to the gameplay: only the gameplay's own sources and tests include this.

#include <memory>
#include <vector>

#include "actors/Bullet.h"
#include "actors/FireBulletInterface.h"
#include "actors/Player.h"
#include "canvas/CanvasSize.h"
#include "util/Vector2.h"

class CLevel;
class CNoteWall;
class CSurface;

/// One life of the player: owns the player, the level, the shots and particles, the canvas
/// with its star and death pictures, and the note wall that shows the canvas. Levels follow
/// each other without end; after a hit the death picture fades in and the facade ends the
/// gameplay on a key.
class CGameplayImpl : public IFireBulletInterface
{
public:
    static constexpr float kStarSpeed = 40.0f;     ///< Canvas px/s, the layer drifts left.
    static constexpr float kNextLevelDelay = 2.5f; ///< Seconds after the clear, strictly more.

    /// The game's gameplay: the death picture is "data/gfx/you_died.png", the first level is
    /// level 0.
    CGameplayImpl();
    /// The same with the death picture and the first level given instead of made, each in
    /// its turn of the construction order; a null one is made as the game makes it.
    CGameplayImpl(std::unique_ptr<CSurface> diedLayer, std::unique_ptr<CLevel> firstLevel);
    ~CGameplayImpl() override;

    /// One frame: player, level, shots and hits, particles, then the canvas composed and
    /// shown on the wall (clears, draws and swaps the window), then maybe the next level.
    void Update(float dt);
    /// Replaces the level by the next one; re-picks the level-shot sound first.
    void NextLevel();

    void FirePlayerBullet() override;
    void FireLevelBullet(const CVector2& position, CBullet::EShooter code, float speed) override;
    CParticleList* GetParticles() override { return &m_Particles; }

    CPlayer& Player() { return m_Player; }
    CLevel& Level() { return *m_Level; }
    CNoteWall& NoteWall() { return *m_NoteWall; }
    const std::vector<std::unique_ptr<CBullet>>& Bullets() const { return m_Bullets; }
    const CParticleList& Particles() const { return m_Particles; }
    const CSurface& Canvas() const { return *m_Canvas; }
    int LevelCount() const { return m_LevelCount; }
    bool PlayerHit() const { return m_PlayerHit; }
    /// Seconds since the player was hit; 0 before.
    float DeathTime() const { return m_DeathTime; }
    /// Opacity of the death picture over the canvas: fades in over the first second.
    float DeathOverlayAlpha() const;
    /// Intensity handed to the wall this frame: 1 while the level plays, then grows with
    /// the time since the clear.
    float WallIntensity() const;
    bool Over() const { return m_Over; }
    void SetOver() { m_Over = true; }

private:
    void UpdateBullets(float dt);
    void UpdatePlayerShot(CBullet& bullet);
    void UpdateLevelShot(CBullet& bullet);

    CPlayer m_Player;
    std::unique_ptr<CNoteWall> m_NoteWall;
    std::unique_ptr<CSurface> m_Canvas;
    std::unique_ptr<CSurface> m_StarLayer;
    CVector2 m_ScrollOffset; ///< Canvas pixels; decreases without bound, the blit wraps it.
    std::unique_ptr<CLevel> m_Level;
    std::vector<std::unique_ptr<CBullet>> m_Bullets;
    CParticleList m_Particles;
    int m_LevelCount = 0; ///< Levels cleared; also the current level's number and the score.
    bool m_PlayerHit = false;
    float m_DeathTime = 0.0f; ///< Seconds since the player was hit.
    std::unique_ptr<CSurface> m_DiedLayer;
    bool m_Over = false;
};
