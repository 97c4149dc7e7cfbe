// hoptrace-bench: the reply intake under bursts and a flood, measured on the real socket,
// the real intake and the real list widget (offscreen), inside the simulated LAN of
// scripts/simlan.sh (make bench). It reports; it asserts nothing.
#include "BurstSender.h"
#include "BenchChild.h"
#include "IntakeRun.h"
#include "PlainReceiveLoop.h"
#include "SearchRun.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kStockBuffer = 212992; // net.core.rmem_max of a stock Debian desktop
constexpr int kProgramBuffer = 4 << 20;
const char* const kProgramAddress = "192.168.1.10"; // lan1 in the simulated LAN

struct Result {
    long listed = 0;
    long long complete = 0;
    double cpu = 0;
    long rss = 0;
    double gap = 0;
    double ended = 0;
    long long sent = 0;
    // The search with unicast targets: how its unicasts left.
    std::size_t unicasts = 0;
    double batchesPerTick = 0;
    long long largestBatch = 0;
    double latestMs = 0; // the last unicast after its tick's broadcast
};

std::string Self()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return std::string(path, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// One case: the receiver in this namespace, the sender in the devices' namespace.
Result RunCase(const std::vector<std::string>& receiver, const std::string& kind, int count)
{
    Result r;
    BenchChild program(receiver);
    if (program.readLine() != "ready") {
        std::fprintf(stderr, "hoptrace-bench: the receiver did not start\n");
        return r;
    }
    {
        BenchChild sender({"nsenter", "-t", std::getenv("SIMLAN_DEVICE_PID"), "-n", Self(), "--send", kind,
                           std::to_string(count), kProgramAddress});
        std::sscanf(sender.readLine().c_str(), "sent %lld", &r.sent);
    }
    const std::string line = program.readLine();
    std::sscanf(line.c_str(), "result listed=%ld complete=%lld cpu=%lf rss=%ld gap=%lf ended=%lf", &r.listed,
                &r.complete, &r.cpu, &r.rss, &r.gap, &r.ended);
    if (const std::size_t at = line.find(" unicasts="); at != std::string::npos)
        std::sscanf(line.c_str() + at, " unicasts=%zu batches=%lf largest=%lld latest=%lf", &r.unicasts,
                    &r.batchesPerTick, &r.largestBatch, &r.latestMs);
    return r;
}

const char* BufferName(int bytes) { return bytes == kStockBuffer ? "stock 212992" : "4 MiB"; }

// The engine's search alone, a fleet answering each of its three requests, with and without
// addresses asked by unicast.
void SearchTable(const std::string& self)
{
    std::printf("\n| searched addresses | fleet | listed | CPU of the search | longest gap between 1 ms ticks | "
                "unicasts | batches a tick | largest batch | last unicast after its tick | search ended "
                "(deadline 3 s) |\n|---|---|---|---|---|---|---|---|---|---|\n");
    for (const int targets : {0, 1024}) {
        const Result run = RunCase({self, "--search", std::to_string(targets)}, "rounds", 1000);
        std::printf("| %d | 1,000 devices x 3 | %ld | %.3f s | %.1f ms | %zu | %.1f | %lld | %.0f ms | %.2f s%s |\n",
                    targets, run.listed, run.cpu, run.gap, run.unicasts, run.batchesPerTick, run.largestBatch,
                    run.latestMs, run.ended, run.ended > 0 && run.ended < 3.1 ? ", at its deadline" : ", LATE");
        std::fflush(stdout);
    }
}

int Drive(const std::vector<int>& onlySizes)
{
    if (std::getenv("SIMLAN_INSIDE") == nullptr || std::getenv("SIMLAN_DEVICE_PID") == nullptr) {
        std::fprintf(stderr,
                     "hoptrace-bench: runs only inside the simulated LAN: "
                     "scripts/simlan.sh --no-sim -- hoptrace-bench (or make bench)\n");
        return 2;
    }
    const std::string self = Self();
    std::printf("| socket buffer | devices | listed | plain loop got | last datagram -> list complete | "
                "CPU per listed reply (plain loop) | CPU s | peak RSS |\n|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);
    for (const int buffer : {kStockBuffer, kProgramBuffer}) {
        for (const int devices : onlySizes.empty() ? std::vector<int>{1000, 10000, 50000} : onlySizes) {
            const Result plain = RunCase({self, "--plain", std::to_string(buffer)}, "burst", devices);
            const Result program = RunCase({self, "--intake", std::to_string(buffer), std::to_string(devices)}, "burst",
                                           devices);
            const double perReply = program.listed > 0 ? program.cpu / program.listed * 1e6 : 0;
            const double plainPerReply = plain.listed > 0 ? plain.cpu / plain.listed * 1e6 : 0;
            std::printf("| %s | %d | %ld | %ld | %.0f ms | %.1f us (%.1f us) | %.2f | %ld MB |\n", BufferName(buffer),
                        devices, program.listed, plain.listed, (program.complete - program.sent) / 1e6, perReply,
                        plainPerReply, program.cpu, program.rss / 1024);
            std::fflush(stdout);
        }
    }
    if (!onlySizes.empty())
        return 0;
    std::printf("\n| socket buffer | flood | listed | longest gap between timer ticks | search ended "
                "(deadline 3 s, 1 s ticks) |\n|---|---|---|---|---|\n");
    for (const int buffer : {kStockBuffer, kProgramBuffer}) {
        const Result flood = RunCase({self, "--intake", std::to_string(buffer), "15000"}, "flood", 10000);
        std::printf("| %s | 10,000 devices, 10,000 copies, 5,000 devices | %ld / 15000 | %.1f ms | %.2f s after "
                    "the start%s |\n",
                    BufferName(buffer), flood.listed, flood.gap, flood.ended,
                    flood.ended > 0 && flood.ended < 4.1 ? ", at its deadline" : ", LATE");
        std::fflush(stdout);
    }
    SearchTable(self);
    return 0;
}
} // namespace

int main(int argc, char* argv[])
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--send" && argc == 5)
        return BurstSender::Run(argv[2], std::atoi(argv[3]), argv[4]);
    if (mode == "--plain" && argc == 3)
        return PlainReceiveLoop::Run(std::atoi(argv[2]));
    if (mode == "--search" && argc == 3) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        int qtArgc = 1;
        return SearchRun::Run(qtArgc, argv, std::atoi(argv[2]));
    }
    if (mode == "--intake" && argc == 4) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        int qtArgc = 1;
        return IntakeRun::Run(qtArgc, argv, std::atoi(argv[2]), std::atoi(argv[3]));
    }
    if (mode == "search" && argc == 2 && std::getenv("SIMLAN_DEVICE_PID") != nullptr) {
        SearchTable(Self());
        return 0;
    }
    // Numbers alone: only bursts of those sizes, no flood.
    std::vector<int> onlySizes;
    for (int i = 1; i < argc && std::atoi(argv[i]) > 0; ++i)
        onlySizes.push_back(std::atoi(argv[i]));
    if (static_cast<int>(onlySizes.size()) == argc - 1)
        return Drive(onlySizes);
    std::fprintf(stderr, "usage: hoptrace-bench (inside scripts/simlan.sh --no-sim)\n");
    return 2;
}
