#pragma once

/// A pair of single-precision floats: positions, velocities, offsets, zoom.
/// Every operation rounds to float, so results match the game's stored steps.
struct CVector2
{
    float x = 0.0f;
    float y = 0.0f;

    constexpr CVector2() = default;
    constexpr CVector2(float ax, float ay) : x(ax), y(ay) {}

    CVector2 operator+(const CVector2& o) const { return CVector2(x + o.x, y + o.y); }
    CVector2 operator-(const CVector2& o) const { return CVector2(x - o.x, y - o.y); }
    CVector2 operator*(float s) const { return CVector2(x * s, y * s); }
    CVector2& operator+=(const CVector2& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    CVector2& operator-=(const CVector2& o)
    {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    bool operator==(const CVector2& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CVector2& o) const { return !(*this == o); }

    /// sqrt(x*x + y*y) in single precision.
    float Length() const;
    /// Unit vector in the same direction; the zero vector (length not above 0) stays zero.
    CVector2 Normalised() const;
    /// Turned by `angle` radians: (x cos a - y sin a, x sin a + y cos a).
    CVector2 Rotated(float angle) const;
};
