#pragma once

#include <cstdlib>

// A property that does not hold ends the run as a finding.
inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}
