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

namespace tarn::detail
{
/// byte / 255 for every byte, so that reading a pixel costs no divisions. The compiler
/// folds the divisions with the same IEEE single-precision rounding as at run time.
struct CByteToFloat
{
    float value[256] = {};
    constexpr CByteToFloat()
    {
        for (int v = 0; v < 256; ++v)
            value[v] = static_cast<float>(v) / 255.0f;
    }
};
inline constexpr CByteToFloat kByteToFloat;

inline float ChannelFromPixel(uint32_t pixel, uint32_t mask, int shift)
{
    return kByteToFloat.value[(pixel & mask) >> shift];
}

// int(c * 255) & 0xFF. Converting a float outside int's range (or a NaN) to int is
// undefined, so those values, which no drawing produces, store 0 instead.
inline uint32_t ChannelToPixel(float c, int shift)
{
    const float scaled = c * 255.0f;
    if (!(scaled > -2147483648.0f && scaled < 2147483648.0f))
        return 0;
    const int32_t t = static_cast<int32_t>(scaled);
    return (static_cast<uint32_t>(t) & 0xFFu) << shift;
}
} // namespace tarn::detail

inline CColor CColor::FromPixel(uint32_t pixel)
{
    using tarn::detail::ChannelFromPixel;
    return CColor(ChannelFromPixel(pixel, kRedMask, kRedShift),
                  ChannelFromPixel(pixel, kGreenMask, kGreenShift),
                  ChannelFromPixel(pixel, kBlueMask, kBlueShift),
                  ChannelFromPixel(pixel, kAlphaMask, kAlphaShift));
}

inline uint32_t CColor::ToPixel() const
{
    using tarn::detail::ChannelToPixel;
    return ChannelToPixel(r, kRedShift) | ChannelToPixel(g, kGreenShift) |
           ChannelToPixel(b, kBlueShift) | ChannelToPixel(a, kAlphaShift);
}
