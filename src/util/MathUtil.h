#pragma once

namespace tarn
{
inline float Min(float a, float b) { return a < b ? a : b; }
inline float Max(float a, float b) { return a > b ? a : b; }
/// max(lo, min(v, hi)): the upper bound is applied first.
inline float Clamp(float v, float lo, float hi) { return Max(lo, Min(v, hi)); }
inline int ClampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline float Abs(float v) { return v < 0.0f ? -v : v; }
/// -1 for negative values, 1 otherwise (zero included).
inline float Sign(float v) { return v < 0.0f ? -1.0f : 1.0f; }
} // namespace tarn
