#pragma once

// Where the digits of a number go, pure arithmetic: the score display draws from this
// layout, and a test checks it without pictures or a window.

#include <array>

#include "util/Vector2.h"
#include "wall/WallLayout.h"

/// Longest decimal text of an int: "-2147483648".
constexpr int kMaxNumberLength = 11;

/// One digit picture of a number and its top-left corner, screen pixels.
struct CPlacedDigit
{
    int m_Digit = 0;
    float m_X = 0.0f;
    float m_Y = 0.0f;
};

struct CNumberLayout
{
    std::array<CPlacedDigit, kMaxNumberLength> m_Digits;
    int m_Count = 0;
};

/// The digits of `value` in decimal, left to right from `start`, each advancing the next by
/// its own picture width (0 for a missing picture). Characters that are not digits (a
/// minus sign) are skipped. Pure.
CNumberLayout LayoutNumber(const CVector2& start, int value,
                           const std::array<int, kDigitPictureCount>& digitWidths);
