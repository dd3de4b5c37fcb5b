#pragma once

#include <memory>
#include <vector>

class CParticle;
/// The gameplay's particles; explosions append, the gameplay updates and owns them.
using CParticleList = std::vector<std::unique_ptr<CParticle>>;
