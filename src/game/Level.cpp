#include "game/Level.h"

#include <cassert>
#include <cstddef>
#include <utility>
#include <vector>

#include "actors/Bullet.h"
#include "actors/FireBulletInterface.h"
#include "actors/Particle.h"
#include "audio/Audio.h"
#include "canvas/Surface.h"
#include "game/PatternGenerator.h"
#include "util/Random.h"
#include "wall/Palette.h"

namespace
{
constexpr float kRestX = 18.0f; ///< Canvas pixels: where cell (0, 0) rests.
constexpr float kRestY = 8.0f;
constexpr float kEntrySpeed = 10.0f;   ///< Canvas pixels per second while sliding in.
constexpr float kWobbleFactor = 2.5f;  ///< Radians per second per unit of wobble speed.
constexpr float kSinkSpeed = 6.0f;     ///< Canvas pixels per second after the clear.
constexpr float kIntervalStep = 0.75f; ///< Fire interval factor per difficulty step.
constexpr float kSpeedStep = 1.15f;    ///< Shot speed factor per difficulty step.

/// Cells drawn (and solid) in the level colour: ring, body and the present limb set.
int32_t DrawMask(bool beatPhase)
{
    return beatPhase ? (kCellRing | kCellBody | kCellLimbA) : (kCellRing | kCellBody | kCellLimbB);
}

int32_t GunMask(bool beatPhase)
{
    return beatPhase ? kCellLimbA : kCellLimbB;
}
} // namespace

int32_t HitCellMask(bool beatPhase)
{
    return kCellCore | DrawMask(beatPhase);
}

CLevel::CLevel(int number) : CLevel(number, GeneratePattern(), GetBeatFlag) {}

CLevel::CLevel(int number, CCellGrid grid, BeatSource beatSource)
    : m_Grid(std::move(grid)), m_Origin{static_cast<int>(kRestX), static_cast<int>(kRestY)},
      m_Rest(kRestX, kRestY), m_Color(RandomLevelColor()), m_BeatSource(beatSource)
{
    assert(m_BeatSource && "a level needs a beat source");
    // Interval and speed step up every second level, from levels 3 and 4 on; rounding to
    // float after each step gives the table's exact values (0.6328125, 22.8131...).
    const int intervalSteps = number <= 2 ? 0 : (number - 3) / 2 + 1;
    const int speedSteps = number <= 3 ? 0 : (number - 4) / 2 + 1;
    for (int i = 0; i < intervalSteps; ++i)
        m_FireInterval *= kIntervalStep;
    for (int i = 0; i < speedSteps; ++i)
        m_ShotSpeed *= kSpeedStep;
}

void CLevel::Update(float dt, IFireBulletInterface& gameplay)
{
    m_BeatPhase = m_BeatSource();

    if (m_EntryTimer < 0.0f)
    {
        // Slides from x = 37 to 17: int() truncates 37.84 in the first frame and a value just
        // under 18 in the last. y stays. Nothing else happens while entering.
        m_EntryTimer += dt;
        m_Origin.x = static_cast<int>(m_Rest.x - static_cast<float>(m_EntryTimer * kEntrySpeed));
        return;
    }

    if (m_WobbleRadius > 0.0f)
    {
        // Above radius 3 the circling speed turns erratic: a new random speed every frame.
        float speed = m_WobbleRadius;
        if (m_WobbleRadius > 3.0f)
            speed = tarn::RandomFloat(1.0f, m_WobbleRadius);
        m_WobbleAngle += speed * kWobbleFactor * dt;
        const CVector2 v = CVector2(m_WobbleRadius, 0.0f).Rotated(m_WobbleAngle);
        m_Origin.x = static_cast<int>(m_Rest.x + v.x);
        m_Origin.y = static_cast<int>(m_Rest.y + v.y);
    }

    m_FireCountdown -= dt;

    if (!m_Cleared)
    {
        if (m_FireCountdown < 0.0f)
            Fire(gameplay);
        return;
    }

    if (m_ClearedTime == 0.0f)
    {
        const CVector2 centre(static_cast<float>(m_Origin.x) + m_Grid.Width() * 0.5f,
                              static_cast<float>(m_Origin.y) + m_Grid.Height() * 0.5f);
        CreateRingExplosion(gameplay.GetParticles(), centre, m_Color);
    }
    m_ClearedTime += dt;
    Crumble(gameplay);
}

void CLevel::Fire(IFireBulletInterface& gameplay)
{
    const int width = m_Grid.Width();
    const int height = m_Grid.Height();

    // Rows in a shuffled order, so the shots do not always leave from the top gun.
    std::vector<int> order(static_cast<std::size_t>(height));
    for (int i = 0; i < height; ++i)
        order[static_cast<std::size_t>(i)] = i;
    for (int i = 0; i < height; ++i)
        std::swap(order[static_cast<std::size_t>(i)],
                  order[static_cast<std::size_t>(tarn::RandomInt(0, height - 1))]);

    const int32_t mask = GunMask(m_BeatPhase);
    CBullet::EShooter code = CBullet::kShooterLevelGun;
    bool chosen = false;
    int cellX = 0;
    int cellY = 0;
    for (int i = 0; i < height && !chosen; ++i)
    {
        const int r = order[static_cast<std::size_t>(i)];
        for (int x = 0; x < width; ++x)
        {
            const int32_t v = m_Grid.At(x, r);
            if ((v & kCellGun) && (v & mask))
                chosen = true;
            else if (v & kCellCore)
            {
                chosen = true;
                code = CBullet::kShooterLevelCore;
            }
            if (chosen)
            {
                cellX = x;
                cellY = r;
                break;
            }
        }
    }
    if (!chosen)
    {
        // No armed gun and no core left: fire from the middle of the creature.
        cellX = static_cast<int>(width * 0.5f);
        cellY = static_cast<int>(height * 0.5f);
    }

    m_FireCountdown = m_FireInterval;
    gameplay.FireLevelBullet(
        CVector2(static_cast<float>(m_Origin.x + cellX), static_cast<float>(m_Origin.y + cellY)),
        code, m_ShotSpeed);
}

bool CLevel::Hit(CPoint cell)
{
    if (m_EntryTimer < 0.0f)
        return false;
    if (!m_Grid.InRange(cell.x, cell.y))
        return true;

    // The order matters: body + ring (6) goes without widening the wobble, only a pure
    // ring cell widens it, and any one core clears the level.
    int32_t& v = m_Grid.At(cell.x, cell.y);
    if (v & (kCellLimbA | kCellLimbB | kCellBody))
        v = 0;
    else if (v & kCellRing)
    {
        v = 0;
        m_WobbleRadius += 1.0f;
    }
    else if (v & kCellCore)
    {
        v = 0;
        m_Cleared = true;
    }
    return true;
}

void CLevel::Crumble(IFireBulletInterface& gameplay)
{
    assert(m_Grid.Width() > 0 && m_Grid.Height() > 0 && "a creature needs at least one cell");
    const int r = tarn::RandomInt(0, m_Grid.Height() - 1);
    const int x = tarn::RandomInt(0, m_Grid.Width() - 1);
    // Sinking replaces the wobble's y; x keeps wobbling.
    m_Origin.y = static_cast<int>(m_Rest.y + static_cast<float>(m_ClearedTime * kSinkSpeed));
    int32_t& v = m_Grid.At(x, r);
    if (v == 0)
        return;
    v = 0;
    CreateExplosion(
        gameplay.GetParticles(),
        CVector2(static_cast<float>(m_Origin.x + x), static_cast<float>(m_Origin.y + r)), m_Color,
        false);
}

void CLevel::Draw(CSurface& canvas) const
{
    const int32_t mask = DrawMask(m_BeatPhase);
    const uint32_t color = m_Color.ToPixel();
    const uint32_t white = CColor(1.0f, 1.0f, 1.0f, 1.0f).ToPixel();
    for (int y = 0; y < m_Grid.Height(); ++y)
    {
        for (int x = 0; x < m_Grid.Width(); ++x)
        {
            // SetPixel skips points off the canvas (while entering, sinking, wobbling).
            const int32_t v = m_Grid.At(x, y);
            if (v & mask)
                canvas.SetPixel(m_Origin.x + x, m_Origin.y + y, color);
            else if (v & kCellCore)
                canvas.SetPixel(m_Origin.x + x, m_Origin.y + y, white);
        }
    }
}
