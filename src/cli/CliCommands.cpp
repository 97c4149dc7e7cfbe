#include "CliCommands.h"

#include "common/Latin1.h"

#include "devices/AdapterBroadcast.h"
#include "devices/AddressList.h"
#include "devices/Datagrams.h"
#include "devices/DeviceCommandRun.h"
#include "devices/DeviceSearch.h"
#include "devices/FreeAddressTest.h"
#include "devices/NicRecords.h"
#include "devices/SetupDatagrams.h"
#include "devices/SetupPlan.h"
#include "platform/AdapterList.h"
#include "platform/Clock.h"
#include "platform/DottedQuad.h"
#include "platform/EventWaiter.h"
#include "platform/Interruption.h"
#include "platform/Pinger.h"
#include "platform/PlatformFactory.h"
#include "platform/TimerFactory.h"
#include "platform/UdpSocket.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <iostream>

namespace {

// A device stops answering once it takes a reboot; asking before that would find it still up.
constexpr double kGoneQuietSeconds = 1.5;
// A rebooting device misses at least the first list request after that pause; one that
// answers it has not rebooted.
constexpr double kFirstRequestRound = 1.0;

// The device's settings for the terminal: its bytes as characters, in UTF-8.
std::string Settings(const DeviceReply& r)
{
    const std::string bytes = r.assignment + " " + r.address + ":" + std::to_string(r.port) + " mask " + r.mask
        + " gateway " + r.gateway + " DNS " + r.dns;
    return AnsiBytesToText(bytes).toStdString();
}

void Say(const std::string& line) { std::cerr << line << '\n'; }

// A reply that shows `settings`, to print what a command would ask for in the words of a reply.
DeviceReply ReplyShowing(const ExpectedSettings& settings)
{
    DeviceReply reply;
    reply.assignment = settings.dhcp.value_or(false) ? "DHCP" : "fixed";
    reply.address = settings.address;
    reply.port = settings.port.value_or(0);
    reply.mask = settings.mask;
    reply.gateway = settings.gateway;
    reply.dns = settings.dns;
    return reply;
}

} // namespace

CliCommands::CliCommands(NetworkServices& network) : network_(network)
{
    // A log that cannot be written never stops the command.
    QObject::connect(&recorder_, &CommissioningRecorder::writeFailed, &recorder_, [](const QString& reason) {
        Say("The commissioning log could not be written: " + reason.toStdString());
    });
}

std::optional<int> CliCommands::prepare()
{
    const auto adapters = network_.adapters.adapters();
    if (!adapters) {
        Say("The PC's adapters cannot be read.");
        return ExitNotFoundOrNotApplied;
    }
    nics_.clear();
    bool anyAddress = false;
    for (const AdapterInfo& adapter : *adapters) {
        if (!AdapterQualifies(adapter))
            continue;
        nics_.push_back(ToNicRecord(adapter));
        anyAddress = anyAddress || ParseDottedQuad(adapter.ipAddress).has_value();
    }
    if (!anyAddress) {
        Say("No adapter has an IPv4 address: there is no network to search.");
        return ExitNotFoundOrNotApplied;
    }
    for (std::size_t i = 0; i < nics_.size(); ++i)
        table_.store(static_cast<int>(i) + 1, nics_[i]);
    table_.setCount(nics_.size());
    network_.socket.close();
    if (!network_.socket.bind(TavikDatagram::Port)) {
        Say(std::string(TavikDatagram::PortInUseText));
        return ExitPortInUse;
    }
    return std::nullopt;
}

std::string CliCommands::searchedAdapters() const
{
    std::string text;
    for (std::size_t i = 0; i < nics_.size(); ++i) {
        const auto prefix = MaskPrefixLength(nics_[i].subnet);
        text += (text.empty() ? "" : ", ") + std::string("NIC #") + std::to_string(i + 1) + " " + nics_[i].name + " ("
            + nics_[i].ip + (prefix ? "/" + std::to_string(*prefix) : "") + ")";
    }
    return text;
}

std::vector<FoundDevice> CliCommands::search(double seconds,
                                             const std::function<bool(const std::vector<FoundDevice>&)>& enough,
                                             const std::vector<std::uint32_t>& unicastTargets)
{
    DeviceSearch search(network_.clock, network_.timers, network_.socket, table_);
    bool ended = false;
    QObject::connect(&search, &DeviceSearch::finished, &search, [&ended] { ended = true; });
    if (enough)
        QObject::connect(&search, &DeviceSearch::turnEnded, &search, [&] {
            if (!ended && enough(search.devices())) {
                search.finish();
                ended = true;
            }
        });
    search.clear();
    search.start({.seconds = seconds,
                  .requestAtStart = true,
                  .endAtDeadline = true,
                  .keepDevices = true,
                  .unicastTargets = unicastTargets});
    while (!ended && !Interrupted())
        network_.waiter.waitForEvent(1.0);
    search.finish();
    return search.devices();
}

void CliCommands::pause(double seconds)
{
    const double start = network_.clock.elapsedSeconds();
    for (double passed = 0.0; passed < seconds && !Interrupted(); passed = network_.clock.elapsedSeconds() - start)
        network_.waiter.waitForEvent(seconds - passed);
}

int CliCommands::list(double seconds, ListingFormat format)
{
    if (const auto failed = prepare())
        return *failed;
    const auto devices = ListDevices(search(seconds, {}, searchAddresses_), nics_, searchAddresses_);
    std::string searched = searchedAdapters();
    if (!searchAddresses_.empty()) {
        const std::size_t routed = AddressList::OffEveryAdapterSubnet(searchAddresses_, nics_).size();
        searched += " and " + std::to_string(routed) + " address(es) by unicast";
        if (routed < searchAddresses_.size())
            searched += " (" + std::to_string(searchAddresses_.size() - routed)
                + " more lie on the adapters' networks, where the broadcast asks them)";
    }
    if (devices.empty())
        Say("No webserver answered on " + searched + ".");
    else
        Say("Searched " + searched + ": " + std::to_string(devices.size()) + " webserver(s).");
    std::cout << FormatListing(devices, format) << std::flush;
    return ExitOk;
}

std::optional<FoundDevice> CliCommands::find(const std::string& mac, double seconds)
{
    const auto hasIt = [&](const std::vector<FoundDevice>& devices) {
        return std::any_of(devices.begin(), devices.end(),
                           [&](const FoundDevice& d) { return SameMac(d.reply.mac, mac); });
    };
    for (const FoundDevice& device : search(seconds, hasIt, searchAddresses_))
        if (SameMac(device.reply.mac, mac))
            return device;
    Say(mac + " did not answer on " + searchedAdapters() + ".");
    return std::nullopt;
}

int CliCommands::run(const CommandRequest& request, double waitSeconds, bool mustGoQuiet)
{
    DeviceCommandRun command(network_.clock, network_.timers, network_.socket, table_, channel_);
    {
        // The engine's intake hears the device's answer while the setup copies go out.
        DeviceSearch intake(network_.clock, network_.timers, network_.socket, table_);
        QObject::connect(&intake, &DeviceSearch::replyRead, &command, &DeviceCommandRun::replyRead);
        QObject::connect(&command, &DeviceCommandRun::sendRefused, &command, [&] {
            if (request.kind == CommandKind::Reboot || request.kind == CommandKind::LoadDefaults) {
                Say("Network error! The system refused to send to " + request.address + ".");
                command.conclude(std::nullopt);
                return;
            }
            Say("Network error! A copy could not leave any adapter.");
            command.resume();
        });
        command.start(request, false);
        while (command.running() && !Interrupted())
            network_.waiter.waitForEvent(1.0);
    }
    // Ctrl-C: the command ends here, and the log says it was cancelled.
    const auto cancelled = [&] {
        command.cancel();
        std::cout << request.mac << ": cancelled\n";
        return ExitInterrupted;
    };
    if (Interrupted())
        return cancelled();
    if (!command.awaitingOutcome())
        return ExitNotFoundOrNotApplied; // refused before it left
    pause(kGoneQuietSeconds);
    // Replies to requests sent before the command are no answer to it.
    while (network_.socket.take()) { }
    std::optional<DeviceReply> last;
    const auto back = [&](const std::vector<FoundDevice>& devices) {
        for (const FoundDevice& d : devices)
            if (SameMac(d.reply.mac, request.mac)) {
                last = d.reply;
                return Matches(d.reply, request.expected);
            }
        return false;
    };
    // A device reached by address is looked for there again, and at its new address.
    std::vector<std::uint32_t> targets = searchAddresses_;
    if (const auto moved = ParseDottedQuad(request.expected.address); moved && !request.alsoUnicastTo.empty())
        targets.push_back(*moved);
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    double firstHeard = waitSeconds;
    for (const FoundDevice& d : search(waitSeconds, back, targets))
        if (SameMac(d.reply.mac, request.mac))
            firstHeard = d.firstHeard;
    if (Interrupted())
        return cancelled();
    const bool stayedUp = last && mustGoQuiet && firstHeard < kFirstRequestRound;
    CommandOutcome outcome = CommandOutcome::NotSeen;
    QObject::connect(&command, &DeviceCommandRun::concluded, &command,
                     [&outcome](CommandOutcome value) { outcome = value; });
    command.conclude(last, stayedUp);
    const std::string& mac = request.mac;
    const int total = static_cast<int>(waitSeconds + kGoneQuietSeconds);
    switch (outcome) {
    case CommandOutcome::SeenWithNewValues:
        std::cout << mac << ": applied (" << Settings(*last) << ")\n";
        return ExitOk;
    case CommandOutcome::SeenWithOtherValues:
        if (stayedUp)
            std::cout << mac << ": answered all along, so the command did not reach it\n";
        else
            std::cout << mac << ": seen with other settings (" << Settings(*last) << ")\n";
        break;
    case CommandOutcome::Confirmed:
        std::cout << mac << ": showed the settings sent, then was not seen after " << total << " s\n";
        break;
    case CommandOutcome::NotSeen:
    case CommandOutcome::Cancelled:
        std::cout << mac << ": not seen after " << total << " s\n";
        break;
    }
    return ExitNotFoundOrNotApplied;
}

int CliCommands::unicastCommand(const std::string& mac, TavikDatagram::DeviceRequest request, double seconds,
                                double waitSeconds)
{
    if (const auto failed = prepare())
        return *failed;
    const auto device = find(mac, seconds);
    if (!device)
        return ExitNotFoundOrNotApplied;
    const std::vector<FoundDevice> all{*device};
    const DeviceFacts facts = ListDevices(all, nics_, searchAddresses_).front().facts;
    if (facts.subnetMismatch)
        Say(SubnetMismatchText(device->reply.address, facts) + " If it does not come back, that is why.");
    // Reboot and Load defaults carry no settings: back at the same address is what can be checked.
    const CommandKind kind = request == TavikDatagram::DeviceRequest::Reboot ? CommandKind::Reboot
                                                                             : CommandKind::LoadDefaults;
    return run(UnicastCommandFor(kind, device->reply.mac, device->reply.address, device->interfaceIndex, device->reply),
               waitSeconds, true);
}

int CliCommands::setupCommand(const std::string& mac, const ExpectedSettings& expected, double seconds,
                              double waitSeconds)
{
    if (const auto failed = prepare())
        return *failed;
    const auto device = find(mac, seconds);
    if (!device)
        return ExitNotFoundOrNotApplied;
    return setUp(*device, expected, waitSeconds, false);
}

int CliCommands::setUp(const FoundDevice& device, const ExpectedSettings& expected, double waitSeconds, bool dryRun)
{
    ExpectedSettings wanted = expected;
    if (!wanted.port)
        wanted.port = device.reply.port; // the panel's port box holds the device's port
    const std::string port = std::to_string(*wanted.port);
    TavikSetup::OctetBoxTexts boxes;
    std::optional<TavikSetup::Octets> fixedAddress;
    if (!*wanted.dhcp) {
        const std::string* rows[] = {&wanted.address, &wanted.mask, &wanted.gateway, &wanted.dns};
        for (int row = 0; row < 4; ++row) {
            const std::uint32_t value = *ParseDottedQuad(*rows[row]);
            for (int i = 0; i < 4; ++i)
                boxes[4 * row + i] = std::to_string((value >> (24 - 8 * i)) & 0xff);
        }
        fixedAddress = {TavikSetup::OctetValue(boxes[0]), TavikSetup::OctetValue(boxes[1]),
                        TavikSetup::OctetValue(boxes[2]), TavikSetup::OctetValue(boxes[3])};
    }
    // The same rule as the window's panel, also for the port taken from the device's reply.
    switch (TavikSetup::SettingThatCutsOff(TavikSetup::PortValue(port), fixedAddress)) {
    case TavikSetup::CutOffSetting::Port:
        Say(device.reply.mac + " gives no port (0), and port 0 would leave it unreachable: give one with --port.");
        return ExitBadArguments;
    case TavikSetup::CutOffSetting::Address:
        Say(wanted.address + " is no address a device can be reached at.");
        return ExitBadArguments;
    case TavikSetup::CutOffSetting::None:
        break;
    }
    const std::string datagram = *wanted.dhcp ? TavikSetup::SetDHCPRequest(port, device.reply.mac)
                                              : TavikSetup::SetIPRequest(boxes, port, device.reply.mac);
    // The device is to show what went out, read back from the request as the window's panel reads it.
    CommandRequest command = SetupCommandFor(device.reply.mac, device.reply.address, device.interfaceIndex,
                                             device.reply, datagram);
    const std::vector<FoundDevice> all{device};
    if (ListDevices(all, nics_, searchAddresses_).front().facts.reachedByAddress)
        command.alsoUnicastTo = device.senderAddress;
    if (dryRun) {
        std::cout << device.reply.mac << ": would send " << CommandKindName(command.kind) << " ("
                  << Settings(ReplyShowing(command.expected)) << ")\n";
        return ExitOk;
    }
    return run(command, waitSeconds, false);
}

int CliCommands::apply(const std::string& planPath, double seconds, double waitSeconds, bool dryRun)
{
    QFile file(QString::fromStdString(planPath));
    if (!file.open(QIODevice::ReadOnly)) {
        Say(planPath + ": " + file.errorString().toStdString());
        return ExitBadArguments;
    }
    // The whole plan is checked before anything is sent: a mistake in its last row must not
    // leave half a fleet moved.
    const SetupPlan plan = SetupPlan::Read(file.readAll().toStdString());
    for (const PlanProblem& problem : plan.problems())
        Say(planPath + (problem.line ? ":" + std::to_string(problem.line) : std::string()) + ": " + problem.text);
    if (!plan.problems().empty())
        return ExitBadArguments;
    if (const auto failed = prepare())
        return *failed;
    const std::vector<FoundDevice> found = search(seconds, {}, searchAddresses_);
    int failures = 0;
    for (const PlanRow& row : plan.rows()) {
        if (Interrupted())
            return ExitInterrupted;
        const auto device = std::find_if(found.begin(), found.end(),
                                         [&](const FoundDevice& d) { return SameMac(d.reply.mac, row.mac); });
        if (device == found.end()) {
            std::cout << row.mac << ": not found\n";
            ++failures;
            continue;
        }
        if (Matches(device->reply, row.settings)) {
            std::cout << row.mac << ": unchanged (" << Settings(device->reply) << ")\n";
            continue;
        }
        failures += setUp(*device, row.settings, waitSeconds, dryRun) != ExitOk;
    }
    return failures ? ExitNotFoundOrNotApplied : ExitOk;
}

int CliCommands::ping(const std::string& address)
{
    if (!ParseDottedQuad(address)) {
        std::cout << address << " is not a valid IP address!\n";
        return ExitBadArguments;
    }
    const Pinger pinger(network_.echo);
    const FreeAddressTest test(pinger, network_.adapters, network_.neighbours);
    if (test.inUse(address)) {
        std::cout << address << " is in use!\n";
        return ExitNotFoundOrNotApplied;
    }
    std::cout << "OK. " << address << " is free!\n";
    return ExitOk;
}
