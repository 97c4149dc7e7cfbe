#pragma once

#include "common/AdapterTable.h"
#include "devices/CommandChannel.h"
#include "devices/CommissioningRecorder.h"
#include "devices/CommandRequest.h"
#include "devices/Datagrams.h"
#include "devices/DeviceListing.h"
#include "devices/ExpectedSettings.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct NetworkServices;

// Exit codes of hoptrace-cli.
enum CliExit : int {
    ExitOk = 0,
    ExitNotFoundOrNotApplied = 1, // also: `ping` found the address in use
    ExitBadArguments = 2,
    ExitPortInUse = 3,
    ExitInterrupted = 130, // Ctrl-C: a command under way is recorded as cancelled
};

// The verbs, on the platform's network services. Results go to standard output,
// messages to standard error.
class CliCommands final {
public:
    explicit CliCommands(NetworkServices& network);

    // searchAddresses: asked by unicast as well, for devices the broadcast does not reach.
    // Addresses every search of the verb also asks by unicast (host order, sorted), beside the
    // broadcast: devices behind a router.
    void searchAlso(std::vector<std::uint32_t> addresses) { searchAddresses_ = std::move(addresses); }

    int list(double seconds, ListingFormat format);
    // Reboot or Load defaults: the datagram the window sends, to the device's address.
    int unicastCommand(const std::string& mac, TavikDatagram::DeviceRequest request, double seconds,
                       double waitSeconds);
    // SetIP or SetDHCP, broadcast out of every adapter as the panel sends it.
    int setupCommand(const std::string& mac, const ExpectedSettings& expected, double seconds, double waitSeconds);
    int ping(const std::string& address);
    // A set-up plan from a file: checked whole, then one search, then each row in order, sent
    // and verified as set-ip and set-dhcp are (with dryRun, only printed). A device that
    // already has its row's values is left alone.
    int apply(const std::string& planPath, double seconds, double waitSeconds, bool dryRun);

private:
    // Binds the port and reads the adapters; an exit code when that fails.
    std::optional<int> prepare();
    // One search of the engine for `seconds`, the event loop turning until it ends or `enough`
    // holds for what was heard: the request at once and every second, the end at the deadline.
    // Each of unicastTargets off the adapters' networks gets the request by unicast as well.
    std::vector<FoundDevice> search(double seconds,
                                    const std::function<bool(const std::vector<FoundDevice>&)>& enough = {},
                                    const std::vector<std::uint32_t>& unicastTargets = {});
    // Lets `seconds` pass with the event loop running.
    void pause(double seconds);
    std::optional<FoundDevice> find(const std::string& mac, double seconds);
    // SetIP or SetDHCP with `expected` (its port the device's own when none is given), sent
    // and verified, or with dryRun only printed.
    int setUp(const FoundDevice& device, const ExpectedSettings& expected, double waitSeconds, bool dryRun);
    // Runs the command through the engine, then verifies it by searching for `waitSeconds`.
    // mustGoQuiet: the command reboots the device, so an answer at once means it never arrived.
    int run(const CommandRequest& request, double waitSeconds, bool mustGoQuiet);
    std::string searchedAdapters() const;

    NetworkServices& network_;
    std::vector<NicRecord> nics_;
    AdapterTable table_; // the same adapters, for the engine's send rule
    std::vector<std::uint32_t> searchAddresses_;
    CommandChannel channel_; // every command sent passes here
    CommissioningRecorder recorder_{channel_, table_, "hoptrace-cli"};
};
