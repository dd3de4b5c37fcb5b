#include "wall/NumberLayout.h"

#include <cstddef>
#include <cstdio>

CNumberLayout LayoutNumber(const CVector2& start, int value,
                           const std::array<int, kDigitPictureCount>& digitWidths)
{
    char text[kMaxNumberLength + 1];
    std::snprintf(text, sizeof text, "%d", value);
    CNumberLayout layout;
    CVector2 cursor = start;
    for (const char* p = text; *p; ++p)
    {
        const int k = *p - '0';
        if (k < 0 || k >= kDigitPictureCount)
            continue;
        layout.m_Digits[static_cast<std::size_t>(layout.m_Count++)] =
            CPlacedDigit{k, cursor.x, cursor.y};
        cursor.x += static_cast<float>(digitWidths[static_cast<std::size_t>(k)]);
    }
    return layout;
}
