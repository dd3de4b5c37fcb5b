#include "common/Random.h"

#include <cassert>
#include <cmath>

namespace tools
{
CValueNoise::CValueNoise(uint64_t seed, int period) : m_Period(period)
{
    assert(period > 0 && period <= 64 && "the lattice holds at most 64 x 64 values");
    CRandom random(seed);
    for (double& v : m_Grid)
        v = random.Unit();
}

double CValueNoise::At(double x, double y) const
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = int(fx);
    const int iy = int(fy);
    // Smoothstep weights hide the lattice's straight lines.
    const double tx = (x - fx) * (x - fx) * (3.0 - 2.0 * (x - fx));
    const double ty = (y - fy) * (y - fy) * (3.0 - 2.0 * (y - fy));
    auto grid = [this](int gx, int gy)
    {
        gx = ((gx % m_Period) + m_Period) % m_Period;
        gy = ((gy % m_Period) + m_Period) % m_Period;
        return m_Grid[gy * 64 + gx];
    };
    const double top = grid(ix, iy) + (grid(ix + 1, iy) - grid(ix, iy)) * tx;
    const double bottom = grid(ix, iy + 1) + (grid(ix + 1, iy + 1) - grid(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}
} // namespace tools
