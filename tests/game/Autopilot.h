#pragma once

// A small scripted player for play-throughs and benchmarks. Header-only test tooling.

#include "actors/Player.h"
#include "canvas/Sprite.h"
#include "canvas/Surface.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"
#include "game/Level.h"
#include "util/MathUtil.h"

namespace autopilot
{
/// Holds fire, keeps its shots on a core row of the creature and, while dodging, steps out
/// of the rows of level shots that come close; when not dodging it holds its fire and steps into
/// them. Moves by tapping a direction (press and release in the same frame), which moves exactly
/// one pixel and leaves no speed, so the player's position stays on whole pixels.
class CAutopilot
{
public:
    static constexpr int kLookAhead = 9; ///< Canvas pixels right of the player it watches.

    bool m_Dodge = true;

    /// The buttons for the coming frame, as the main loop would hand them over.
    void Steer(CGameplay& gameplay)
    {
        CGameplayImpl& game = *gameplay.Impl();
        CPlayer& player = game.Player();
        const CSprite* sprite = player.Sprite();
        if (!sprite)
            return;
        // Not dodging, it also holds its fire: a cleared level would take its shots along.
        if (m_Dodge && !player.IsHeld(kButtonFire))
            gameplay.KeyDown(kButtonFire);
        else if (!m_Dodge && player.IsHeld(kButtonFire))
            gameplay.KeyUp(kButtonFire);

        const int h = sprite->Image() ? sprite->Image()->Height() : 0;
        const int w = sprite->Image() ? sprite->Image()->Width() : 0;
        const int centre = static_cast<int>(static_cast<float>(h) * 0.5f + 0.5f);
        const int top = static_cast<int>(player.Position().y + 0.5f) - centre;
        // The player's y stays in [0, 23] here, where rounding is plain.
        const int minTop = -centre;
        const int maxTop = 23 - centre;

        int aimTop = top;
        int coreRow = -1;
        int shotRow = -1;
        if (!m_Dodge && FindIncomingShotRow(game, player.Position().x, shotRow))
            aimTop = shotRow - h / 2;
        else if (FindCoreRow(game.Level(), top + kShotRow, coreRow))
            aimTop = coreRow - kShotRow;
        aimTop = aimTop < minTop ? minTop : (aimTop > maxTop ? maxTop : aimTop);

        int wanted = aimTop;
        if (m_Dodge)
        {
            const int left = static_cast<int>(player.Position().x) - w / 2 - 1;
            const int right = left + w + kLookAhead;
            auto safe = [&](int t) { return !Threatened(game, t, t + h - 1, left, right); };
            if (!safe(top))
            {
                // Out of the way by the shortest route; stay if there is none.
                wanted = top;
                for (int d = 1; d <= 24; ++d)
                {
                    if (top - d >= minTop && safe(top - d))
                    {
                        wanted = top - d;
                        break;
                    }
                    if (top + d <= maxTop && safe(top + d))
                    {
                        wanted = top + d;
                        break;
                    }
                }
            }
            else if (aimTop != top && !safe(top + (aimTop > top ? 1 : -1)))
                wanted = top; // wait where it is safe
        }
        if (wanted > top)
            Tap(gameplay, kButtonDown);
        else if (wanted < top)
            Tap(gameplay, kButtonUp);
    }

private:
    /// Player shots leave at the sprite's y + 4.
    static constexpr int kShotRow = 4;

    static void Tap(CGameplay& gameplay, int button)
    {
        gameplay.KeyDown(button);
        gameplay.KeyUp(button);
    }

    /// The canvas row of the creature's core cell nearest to `row`.
    static bool FindCoreRow(CLevel& level, int row, int& coreRow)
    {
        if (level.Cleared())
            return false;
        const CCellGrid& grid = level.Grid();
        bool found = false;
        for (int y = 0; y < grid.Height(); ++y)
            for (int x = 0; x < grid.Width(); ++x)
                if (grid.At(x, y) & 1)
                {
                    const int r = level.Origin().y + y;
                    if (!found || tarn::Abs(static_cast<float>(r - row)) <
                                      tarn::Abs(static_cast<float>(coreRow - row)))
                        coreRow = r;
                    found = true;
                }
        return found;
    }

    /// The row of the live level shot nearest to the player on its right.
    static bool FindIncomingShotRow(const CGameplayImpl& game, float playerX, int& row)
    {
        float nearest = 0.0f;
        bool found = false;
        for (const auto& bullet : game.Bullets())
        {
            if (bullet->m_Dead || bullet->m_Kind != CBullet::kLevelShot ||
                bullet->m_Position.x < playerX)
                continue;
            if (!found || bullet->m_Position.x < nearest)
            {
                nearest = bullet->m_Position.x;
                row = static_cast<int>(bullet->m_Position.y);
                found = true;
            }
        }
        return found;
    }

    /// Whether a live level shot between columns left and right flies in rows top ... bottom.
    static bool Threatened(const CGameplayImpl& game, int top, int bottom, int left, int right)
    {
        for (const auto& bullet : game.Bullets())
        {
            if (bullet->m_Dead || bullet->m_Kind != CBullet::kLevelShot)
                continue;
            const int x = static_cast<int>(bullet->m_Position.x);
            const int y = static_cast<int>(bullet->m_Position.y);
            if (x >= left && x <= right && y >= top - 1 && y <= bottom + 1)
                return true;
        }
        return false;
    }
};
} // namespace autopilot
