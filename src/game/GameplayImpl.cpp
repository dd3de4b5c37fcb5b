#include "game/GameplayImpl.h"

#include "actors/Particle.h"
#include "audio/SoundLibrary.h"
#include "canvas/Background.h"
#include "canvas/BlendMode.h"
#include "canvas/Sprite.h"
#include "canvas/Surface.h"
#include "game/Level.h"
#include "render/Video.h"
#include "util/MathUtil.h"
#include "util/SwapRemove.h"
#include "wall/NoteWall.h"

namespace
{
const CVector2 kPlayerShotVelocity(60.0f, 0.0f); ///< Canvas px/s.
const CVector2 kPlayerShotOffset(3.0f, 4.0f);    ///< From the player sprite's top left.
constexpr float kLevelShotOffsetX = 2.0f;
} // namespace

CGameplayImpl::CGameplayImpl() : CGameplayImpl(nullptr, nullptr) {}

CGameplayImpl::CGameplayImpl(std::unique_ptr<CSurface> diedLayer,
                             std::unique_ptr<CLevel> firstLevel)
{
    // The player, the lists, the offset and the over flag are made by the member
    // initialisers above; the rest follows in this order.
    m_Canvas = CreateSurface(kCanvasWidth, kCanvasHeight);
    m_NoteWall = std::make_unique<CNoteWall>(static_cast<float>(kVirtualScreenWidth),
                                             static_cast<float>(kVirtualScreenHeight), kCanvasWidth,
                                             kCanvasHeight);
    m_StarLayer = LoadSurface("data/gfx/background_stars.png");
    m_DiedLayer = diedLayer ? std::move(diedLayer) : LoadSurface("data/gfx/you_died.png");
    m_Level = firstLevel ? std::move(firstLevel) : std::make_unique<CLevel>(0);
}

CGameplayImpl::~CGameplayImpl()
{
    m_StarLayer.reset();
    m_DiedLayer.reset();
    m_Canvas.reset();
    m_Level.reset();
    m_NoteWall.reset();
    // Each bullet removes its sprite, then each particle is deleted through its virtual
    // destructor; the player (a member) goes last.
    m_Bullets.clear();
    m_Particles.clear();
}

float CGameplayImpl::DeathOverlayAlpha() const
{
    return tarn::Min(m_DeathTime, 1.0f);
}

float CGameplayImpl::WallIntensity() const
{
    return m_Level->Cleared() ? m_Level->ClearedTime() + 1.0f : 1.0f;
}

void CGameplayImpl::Update(float dt)
{
    // Everything moves and hits first, so the picture shows the state after the hits.
    m_Player.Update(dt, *this);
    m_Level->Update(dt, *this);
    UpdateBullets(dt);
    m_NoteWall->SetIntensity(WallIntensity());
    UpdateParticles(m_Particles, dt);
    if (m_PlayerHit)
        m_DeathTime += dt;
    m_ScrollOffset -= CVector2(kStarSpeed, 0.0f) * dt;

    DrawBackground(m_Canvas.get(), m_StarLayer.get(), &m_ScrollOffset);
    const CRect view{0, 0, kCanvasWidth, kCanvasHeight};
    DrawSprites(m_Canvas.get(), &view);
    m_Level->Draw(*m_Canvas);
    if (m_PlayerHit)
        Blit(m_DiedLayer.get(), nullptr, m_Canvas.get(), nullptr, GetBlendMode(kBlendNormal),
             CColor(1.0f, 1.0f, 1.0f, DeathOverlayAlpha()));
    m_NoteWall->Frame(m_Canvas.get(), dt, m_LevelCount);

    if (m_Level->Cleared() && m_Level->ClearedTime() > kNextLevelDelay)
        NextLevel();
}

void CGameplayImpl::NextLevel()
{
    RepickLevelShotSound();
    ++m_LevelCount;
    // The old level goes before the new one is made; shots, particles, player and the
    // scroll offset carry over.
    m_Level.reset();
    m_Level = std::make_unique<CLevel>(m_LevelCount);
}

void CGameplayImpl::FirePlayerBullet()
{
    const CSprite* sprite = m_Player.Sprite();
    if (!sprite)
        return;
    PlaySound(PlayerShotSound());
    const CVector2 start =
        CVector2(static_cast<float>(sprite->m_X), static_cast<float>(sprite->m_Y)) +
        kPlayerShotOffset;
    m_Bullets.push_back(std::make_unique<CBullet>(CBullet::kShooterPlayer, CBullet::kPlayerShot,
                                                  start, kPlayerShotVelocity,
                                                  "data/gfx/bullet-01.png"));
}

void CGameplayImpl::FireLevelBullet(const CVector2& position, CBullet::EShooter code, float speed)
{
    PlaySound(LevelShotSound());
    const CVector2 start(position.x + kLevelShotOffsetX, position.y);
    m_Bullets.push_back(std::make_unique<CBullet>(
        code, CBullet::kLevelShot, start, CVector2(-speed, 0.0f), "data/gfx/bullet-02.png"));
}

void CGameplayImpl::UpdateBullets(float dt)
{
    for (size_t i = 0; i < m_Bullets.size();)
    {
        if (m_Bullets[i]->m_Dead)
        {
            // The last bullet takes the slot and is handled next, in this same pass.
            tarn::SwapRemove(m_Bullets, i);
            continue;
        }

        CBullet& bullet = *m_Bullets[i];
        bullet.m_PreviousPosition = bullet.m_Position;
        bullet.m_Position += bullet.m_Velocity * dt;
        if (bullet.m_Sprite)
            PlaceCentred(*bullet.m_Sprite, bullet.m_Position.x, bullet.m_Position.y);
        // Left the area: removed at the next visit, but it may still hit now.
        if (OutsidePlayArea(bullet.m_Position))
            bullet.m_Dead = true;

        if (bullet.m_Kind == CBullet::kPlayerShot)
            UpdatePlayerShot(bullet);
        else if (bullet.m_Kind == CBullet::kLevelShot)
            UpdateLevelShot(bullet);
        ++i;
    }
}

void CGameplayImpl::UpdatePlayerShot(CBullet& bullet)
{
    CLevel& level = *m_Level;
    const CCellGrid& grid = level.Grid();
    CSweepTarget target;
    target.origin = level.Origin();
    target.w = grid.Width();
    target.h = grid.Height();
    target.value = [&grid](int x, int y) { return static_cast<uint32_t>(grid.At(x, y)); };
    target.mask = static_cast<uint32_t>(HitCellMask(level.BeatPhase()));

    const CPoint cell = SweptTest(bullet.m_PreviousPosition, bullet.m_Position, target);
    if (cell.x < 0 || cell.y < 0)
        return;
    bullet.m_Dead = true;
    // False while the creature slides in: the shot is spent, nothing breaks.
    if (level.Hit(cell))
    {
        const CVector2 centre(static_cast<float>(target.origin.x + cell.x),
                              static_cast<float>(target.origin.y + cell.y));
        CreateExplosion(&m_Particles, centre, level.Color(), true);
    }
}

void CGameplayImpl::UpdateLevelShot(CBullet& bullet)
{
    CSprite* sprite = m_Player.Sprite();
    if (m_Level->Cleared() || m_PlayerHit || !sprite)
    {
        bullet.m_Dead = true;
        return;
    }
    const CSurface* image = sprite->Image();
    CSweepTarget target;
    target.origin = CPoint{sprite->m_X, sprite->m_Y};
    if (image)
    {
        target.w = image->Width();
        target.h = image->Height();
        target.value = [image](int x, int y) { return image->GetPixel(x, y); };
    }
    // Any non-zero pixel hits, whatever its alpha.
    target.mask = 0xFFFFFFFFu;

    const CPoint hit = SweptTest(bullet.m_PreviousPosition, bullet.m_Position, target);
    if (hit.x < 0 || hit.y < 0)
        return;
    bullet.m_Dead = true;
    m_PlayerHit = true;
    m_Player.RemoveSpriteOnHit();
}
