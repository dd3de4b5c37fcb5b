#pragma once

#include <cstdint>

/// A colour as four float channels, nominally 0 ... 1, with the canvas's fixed 32-bit
/// packing: red in bits 0-7, green 8-15, blue 16-23, alpha 24-31 (bytes R, G, B, A in
/// memory). The packing never changes, so it is held as constants, not per colour.
struct CColor
{
    static constexpr uint32_t kRedMask = 0x000000FFu;
    static constexpr uint32_t kGreenMask = 0x0000FF00u;
    static constexpr uint32_t kBlueMask = 0x00FF0000u;
    static constexpr uint32_t kAlphaMask = 0xFF000000u;
    static constexpr int kRedShift = 0;
    static constexpr int kGreenShift = 8;
    static constexpr int kBlueShift = 16;
    static constexpr int kAlphaShift = 24;

    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    constexpr CColor() = default;
    constexpr CColor(float red, float green, float blue, float alpha)
        : r(red), g(green), b(blue), a(alpha)
    {
    }

    /// Each channel = its byte / 255.
    static CColor FromPixel(uint32_t pixel);
    /// Each channel: int(c * 255) truncated toward zero, low 8 bits kept. No clamping:
    /// 1.004 stores 0 (256 wraps) and -0.5 stores 129.
    uint32_t ToPixel() const;

    CColor operator*(float s) const { return CColor(r * s, g * s, b * s, a * s); }
    /// Channel-wise product (modulation).
    CColor operator*(const CColor& o) const { return CColor(r * o.r, g * o.g, b * o.b, a * o.a); }
    CColor operator+(const CColor& o) const { return CColor(r + o.r, g + o.g, b + o.b, a + o.a); }
    bool operator==(const CColor& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
