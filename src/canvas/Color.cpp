#include "canvas/Color.h"

// The packing is inline in the header: every canvas pixel goes through it several times a
// frame. This file only checks the facts the header relies on.
static_assert(CColor::kRedMask >> CColor::kRedShift == 0xFFu, "red is one byte");
static_assert(CColor::kGreenMask >> CColor::kGreenShift == 0xFFu, "green is one byte");
static_assert(CColor::kBlueMask >> CColor::kBlueShift == 0xFFu, "blue is one byte");
static_assert(CColor::kAlphaMask >> CColor::kAlphaShift == 0xFFu, "alpha is one byte");
