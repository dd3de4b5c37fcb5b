#pragma once

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
    /// Where Update reads the beat phase once a frame.
    using BeatSource = bool (*)();

    /// Level number n sets the difficulty: fire interval 2 * 0.75^k1, shot speed 15 * 1.15^k2.
    /// The creature is GeneratePattern()'s, the beat phase the music's GetBeatFlag().
    explicit CLevel(int number);
    /// The same with the creature and the beat source given (a hand-made creature, a beat
    /// held still). `beatSource` must not be null.
    CLevel(int number, CCellGrid grid, BeatSource beatSource);

    void Update(float dt, IFireBulletInterface& gameplay);
    /// Writes the visible cells onto the canvas (no blending).
    void Draw(CSurface& canvas) const;
    /// A player shot met cell `cell` (relative to the origin). False while entering; true
    /// otherwise (show an explosion), also for an empty cell.
    bool Hit(CPoint cell);

    bool Cleared() const { return m_Cleared; }
    float ClearedTime() const { return m_ClearedTime; }
    const CCellGrid& Grid() const { return m_Grid; }
    CPoint Origin() const { return m_Origin; }
    bool BeatPhase() const { return m_BeatPhase; }
    const CColor& Color() const { return m_Color; }
    float WobbleRadius() const { return m_WobbleRadius; }
    float EntryTimer() const { return m_EntryTimer; }

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
    float m_FireInterval = 2.0f; ///< Seconds between shots.
    float m_ShotSpeed = 15.0f;   ///< Canvas pixels per second.
    BeatSource m_BeatSource;
};
