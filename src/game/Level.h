#pragma once

#include <functional>
#include <utility>

#include "canvas/Color.h"
#include "game/CellGrid.h"
#include "util/Rect.h"
#include "util/Vector2.h"

class CSurface;
class IFireBulletInterface;

/// The cell bits a player shot hits while the beat phase is `beatPhase`: the cores and the
/// cells drawn in the level colour (ring, body and the limb set of that phase).
int32_t HitCellMask(bool beatPhase);

/// One generated creature: slides in from the right, circles about its rest position,
/// fires level shots on a countdown, shows one limb set or the other with the music's beat,
/// and once a core cell is hit bursts, sinks and crumbles.
class CLevel
{
public:
    /// Level number n sets the difficulty: fire interval 2 * 0.75^k1, shot speed 15 * 1.15^k2.
    explicit CLevel(int number);

    void Update(float dt, IFireBulletInterface& gameplay);
    /// Writes the visible cells onto the canvas (no blending).
    void Draw(CSurface& canvas) const;
    /// A player shot met cell `cell` (relative to the origin). False while entering; true
    /// otherwise (show an explosion), also for an empty cell.
    bool Hit(CPoint cell);

    bool Cleared() const { return m_Cleared; }
    float ClearedTime() const { return m_ClearedTime; }
    const CCellGrid& Grid() const { return m_Grid; }
    CCellGrid& Grid() { return m_Grid; }
    CPoint Origin() const { return m_Origin; }
    bool BeatPhase() const { return m_BeatPhase; }
    const CColor& Color() const { return m_Color; }
    float FireInterval() const { return m_FireInterval; }
    float ShotSpeed() const { return m_ShotSpeed; }
    float WobbleRadius() const { return m_WobbleRadius; }
    float EntryTimer() const { return m_EntryTimer; }

    /// Test-only: replaces the generated creature with a hand-made one.
    void SetGridForTest(const CCellGrid& grid) { m_Grid = grid; }
    /// Test-only: where Update reads the beat phase instead of the music's GetBeatFlag()
    /// (an empty function restores the music).
    void SetBeatSourceForTest(std::function<bool()> source) { m_BeatSource = std::move(source); }

private:
    void Fire(IFireBulletInterface& gameplay);
    void Crumble(IFireBulletInterface& gameplay);

    bool m_Cleared = false;
    CCellGrid m_Grid;
    CPoint m_Origin;
    CVector2 m_Rest;
    bool m_BeatPhase = false;
    CColor m_Color;
    float m_WobbleRadius = 1.0f;
    float m_WobbleAngle = 0.0f; ///< Radians.
    float m_EntryTimer = -2.0f; ///< Seconds; negative while sliding in.
    float m_ClearedTime = 0.0f; ///< Seconds since the clear; 0 while the level plays.
    float m_FireCountdown = 0.0f;
    float m_FireInterval = 2.0f;        ///< Seconds between shots.
    float m_ShotSpeed = 15.0f;          ///< Canvas pixels per second.
    std::function<bool()> m_BeatSource; ///< Test-only; empty in the game.
};
