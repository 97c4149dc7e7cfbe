#pragma once

// The engine's search alone on the real socket and timers, with `targets` addresses asked by
// unicast beside the broadcast (the command line's cadence: at once and every second, the end at
// 3 s): prints "ready", then the CPU of the search, its timer gaps and how its unicasts left.
namespace SearchRun {
int Run(int argc, char* argv[], int targets);
}
