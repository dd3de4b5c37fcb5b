#include "util/Vector2.h"

#include <cmath>

float CVector2::Length() const
{
    return std::sqrt(x * x + y * y);
}

CVector2 CVector2::Normalised() const
{
    const float length = Length();
    if (!(length > 0.0f))
        return CVector2();
    return CVector2(x / length, y / length);
}

CVector2 CVector2::Rotated(float angle) const
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return CVector2(x * c - y * s, x * s + y * c);
}
