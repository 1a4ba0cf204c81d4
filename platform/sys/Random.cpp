#include "platform/sys/Random.h"

namespace platform {

Random& processRandom()
{
    static Random generator;
    return generator;
}

int randomNext()
{
    return processRandom().next();
}

void randomSeed(uint32_t seed)
{
    processRandom().seed(seed);
}

} // namespace platform
