#pragma once

#include <ctime>

// One clock for every process of a run: the monotonic clock is shared across network
// namespaces, so the sender's "last datagram" and the receiver's "list complete" compare.
inline long long MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}
