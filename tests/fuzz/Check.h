#pragma once

#include <cstdlib>

// A property every input must keep: a fuzz target ends with a finding where one does not hold.
inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}
