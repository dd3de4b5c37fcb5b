#pragma once

#include "game/CellGrid.h"

/// Cell bits of a creature.
enum ECellBits : int32_t
{
    kCellCore = 1,   ///< drawn white; a hit clears the level; can fire (code 3)
    kCellRing = 2,   ///< next to a core; a hit widens the wobble
    kCellBody = 4,
    kCellLimbA = 16, ///< present while the beat phase is set
    kCellLimbB = 32, ///< present while the beat phase is clear
    kCellGun = 64,   ///< fires while it also carries the present limb bit
};

/// A new 12 x 8 creature, symmetric about its vertical centre line, with at least two cells
/// of the first limb set alone and at least one cell that is not pure core or ring.
CCellGrid GeneratePattern();
