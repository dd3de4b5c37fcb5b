#include "canvas/Color.h"

namespace
{
float ChannelFromPixel(uint32_t pixel, uint32_t mask, int shift)
{
    return static_cast<float>((pixel & mask) >> shift) / 255.0f;
}

// int(c * 255) & 0xFF. Converting a float outside int's range (or a NaN) to int is
// undefined, so those values, which no drawing produces, store 0 instead.
uint32_t ChannelToPixel(float c, int shift)
{
    const float scaled = c * 255.0f;
    if (!(scaled > -2147483648.0f && scaled < 2147483648.0f))
        return 0;
    const int32_t t = static_cast<int32_t>(scaled);
    return (static_cast<uint32_t>(t) & 0xFFu) << shift;
}
} // namespace

CColor CColor::FromPixel(uint32_t pixel)
{
    return CColor(ChannelFromPixel(pixel, kRedMask, kRedShift),
                  ChannelFromPixel(pixel, kGreenMask, kGreenShift),
                  ChannelFromPixel(pixel, kBlueMask, kBlueShift),
                  ChannelFromPixel(pixel, kAlphaMask, kAlphaShift));
}

uint32_t CColor::ToPixel() const
{
    return ChannelToPixel(r, kRedShift) | ChannelToPixel(g, kGreenShift) |
           ChannelToPixel(b, kBlueShift) | ChannelToPixel(a, kAlphaShift);
}
