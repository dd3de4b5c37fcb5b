#pragma once

// A scripted player for the play-throughs, the long runs and the benchmarks.

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

#include "canvas/Sprite.h"
#include "canvas/Surface.h"
#include "game/Gameplay.h"
#include "game/GameplayImpl.h"
#include "game/Level.h"
#include "game/PatternGenerator.h"

namespace autopilot
{
/// A gameplay as the main loop makes it; `game` is set to its parts, valid while it lives.
inline std::unique_ptr<CGameplay> MakeGameplay(CGameplayImpl*& game)
{
    auto made = std::make_unique<CGameplayImpl>();
    game = made.get();
    return std::make_unique<CGameplay>(std::move(made));
}

/// It keeps its shots (from the sprite's y + 4) on the nearest core row; dodging, it fires and
/// steps out of close level shots' rows first. It moves by taps: a pixel each, no speed left.
class CAutopilot
{
public:
    bool m_Dodge = true;

    /// The buttons for the coming frame; `game` is the parts of `gameplay`.
    void Steer(CGameplay& gameplay, CGameplayImpl& game)
    {
        const CSprite* sprite = game.Player().Sprite();
        if (!sprite)
            return;
        m_Dodge ? gameplay.KeyDown(kButtonFire) : gameplay.KeyUp(kButtonFire);
        const int h = sprite->Image() ? sprite->Image()->Height() : 0;
        const int w = sprite->Image() ? sprite->Image()->Width() : 0;
        const int centre = static_cast<int>(static_cast<float>(h) * 0.5f + 0.5f);
        // The player's y stays in [0, 23], where rounding is plain.
        const int top = static_cast<int>(game.Player().Position().y + 0.5f) - centre;
        const int left = static_cast<int>(game.Player().Position().x) - w / 2 - 1;

        const CLevel& level = game.Level();
        const CCellGrid& grid = level.Grid();
        int aim = 1000; // none yet
        for (int y = 0; y < grid.Height() && !level.Cleared(); ++y)
        {
            const int shotTop = level.Origin().y + y - 4;
            for (int x = 0; x < grid.Width(); ++x)
                if ((grid.At(x, y) & kCellCore) && std::abs(shotTop - top) < std::abs(aim - top))
                    aim = shotTop;
        }
        aim = aim == 1000 ? top : std::clamp(aim, -centre, kCanvasHeight - 1 - centre);

        // Rows are threatened by a live level shot up to 9 pixels right of the picture.
        auto safe = [&](int t)
        {
            for (const auto& b : game.Bullets())
            {
                const int bx = int(b->m_Position.x), by = int(b->m_Position.y);
                if (!b->m_Dead && b->m_Kind == CBullet::kLevelShot && bx >= left &&
                    bx <= left + w + 9 && by >= t - 1 && by <= t + h)
                    return false;
            }
            return true;
        };
        int wanted = aim;
        if (m_Dodge && !safe(top))
        {
            // Out of the way by the shortest route; stay if there is none.
            wanted = top;
            for (int d = 1; d <= 24 && wanted == top; ++d)
                if (top - d >= -centre && safe(top - d))
                    wanted = top - d;
                else if (top + d <= kCanvasHeight - 1 - centre && safe(top + d))
                    wanted = top + d;
        }
        else if (m_Dodge && aim != top && !safe(top + (aim > top ? 1 : -1)))
            wanted = top; // wait where it is safe
        const EButton button = wanted > top ? kButtonDown : kButtonUp;
        if (wanted != top)
        {
            gameplay.KeyDown(button);
            gameplay.KeyUp(button);
        }
    }
};
} // namespace autopilot
