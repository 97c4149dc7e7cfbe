#include "DeviceListing.h"

#include "ListingText.h"
#include "SetupPlan.h"
#include "TableText.h"

#include "common/Latin1.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Device texts are bytes, one character per byte through the PC's code page as the window
// shows them (0x93 is a quotation mark, not a control character); the outputs are UTF-8.
QString Text(const std::string& bytes) { return AnsiBytesToText(bytes); }

std::string Utf8(const std::string& bytes) { return Text(bytes).toStdString(); }

std::string Seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// Whole milliseconds, so a float's tail does not look like precision.
double Milliseconds(double seconds) { return std::round(seconds * 1000.0) / 1000.0; }

std::string NicAddress(const DeviceFacts& facts)
{
    if (facts.nicNumber == 0)
        return {};
    return facts.nicAddress + (facts.nicPrefixLength ? "/" + std::to_string(*facts.nicPrefixLength) : "");
}

std::string Joined(const std::vector<std::string>& items, const std::string& separator)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : separator) + item;
    return text;
}

std::string Extra(const DeviceReply& reply)
{
    std::vector<std::string> pairs;
    for (const auto& [label, value] : reply.extra)
        pairs.push_back(label + "=" + value);
    return Joined(pairs, "; ");
}

std::string Flags(const DeviceFacts& facts)
{
    std::vector<std::string> flags;
    if (facts.subnetMismatch)
        flags.push_back("subnet-mismatch");
    if (facts.reachedByAddress)
        flags.push_back("reached-by-address");
    if (!facts.sameAddressAs.empty())
        flags.push_back("duplicate-address");
    return Joined(flags, ",");
}

// The keys, in the order the text and CSV columns show them.
const std::vector<std::string>& Keys()
{
    static const std::vector<std::string> keys{"mac",
                                               "host_name",
                                               "ip_assignment",
                                               "address",
                                               "port",
                                               "mask",
                                               "gateway",
                                               "dns",
                                               "nic",
                                               "nic_name",
                                               "nic_address",
                                               "first_heard_s",
                                               "last_heard_s",
                                               "subnet_mismatch",
                                               "reached_by_address",
                                               "duplicate_address",
                                               "same_address_as",
                                               "extra"};
    return keys;
}

std::vector<std::string> Row(const ListedDevice& device)
{
    const DeviceReply& r = device.found.reply;
    const DeviceFacts& f = device.facts;
    return {Utf8(r.mac),
            Utf8(r.hostName),
            Utf8(r.assignment),
            Utf8(r.address),
            std::to_string(r.port),
            Utf8(r.mask),
            Utf8(r.gateway),
            Utf8(r.dns),
            f.nicNumber ? std::to_string(f.nicNumber) : "",
            Utf8(device.nicName),
            NicAddress(f),
            Seconds(device.found.firstHeard),
            Seconds(device.found.lastHeard),
            f.subnetMismatch ? "yes" : "no",
            f.reachedByAddress ? "yes" : "no",
            f.sameAddressAs.empty() ? "no" : "yes",
            Utf8(Joined(f.sameAddressAs, " ")),
            Utf8(Extra(r))};
}

QJsonObject JsonObject(const ListedDevice& device)
{
    const DeviceReply& r = device.found.reply;
    const DeviceFacts& f = device.facts;
    QJsonObject extra;
    for (const auto& [label, value] : r.extra)
        extra.insert(Text(label), Text(value));
    QJsonArray same;
    for (const std::string& mac : f.sameAddressAs)
        same.append(Text(mac));
    QJsonObject object{{"mac", Text(r.mac)},
                       {"host_name", Text(r.hostName)},
                       {"ip_assignment", Text(r.assignment)},
                       {"address", Text(r.address)},
                       {"port", r.port},
                       {"mask", Text(r.mask)},
                       {"gateway", Text(r.gateway)},
                       {"dns", Text(r.dns)},
                       {"nic", f.nicNumber ? QJsonValue(f.nicNumber) : QJsonValue()},
                       {"nic_name", Text(device.nicName)},
                       {"nic_address", Text(NicAddress(f))},
                       {"first_heard_s", Milliseconds(device.found.firstHeard)},
                       {"last_heard_s", Milliseconds(device.found.lastHeard)},
                       {"subnet_mismatch", f.subnetMismatch},
                       {"reached_by_address", f.reachedByAddress},
                       {"duplicate_address", !f.sameAddressAs.empty()},
                       {"same_address_as", same},
                       {"extra", extra}};
    return object;
}

std::string TextTable(const std::vector<ListedDevice>& devices)
{
    // The columns a technician reads at a glance; --json and --csv carry every key.
    static const std::vector<std::pair<std::string, std::size_t>> columns{
        {"MAC", 0},  {"HOST", 1}, {"MODE", 2},    {"ADDRESS", 3},          {"PORT", 4},   {"MASK", 5},  {"GATEWAY", 6},
        {"DNS", 7},  {"NIC", 8},  {"ADAPTER", 9}, {"ADAPTER ADDRESS", 10}, {"FIRST", 11}, {"LAST", 12}, {"FLAGS", 18},
        {"MORE", 17}};
    std::vector<std::vector<std::string>> cells{{}};
    for (const auto& [title, key] : columns)
        cells[0].push_back(title);
    for (const ListedDevice& device : devices) {
        std::vector<std::string> row = Row(device);
        row.push_back(Flags(device.facts));
        std::vector<std::string> line;
        for (const auto& [title, key] : columns)
            line.push_back(row[key]);
        cells.push_back(line);
    }
    return AlignedRows(cells);
}

// The plan's columns, in the order SetupPlan names them.
std::vector<std::string> PlanCells(const ListedDevice& device)
{
    const DeviceReply& r = device.found.reply;
    return {Utf8(r.mac),           !r.dhcp ? "" : *r.dhcp ? "dhcp" : "fixed",
            Utf8(r.address),       Utf8(r.mask),
            Utf8(r.gateway),       Utf8(r.dns),
            std::to_string(r.port)};
}

} // namespace

std::vector<ListedDevice> ListDevices(const std::vector<FoundDevice>& found, const std::vector<NicRecord>& nics,
                                      const std::vector<std::uint32_t>& searched)
{
    std::vector<HeardDevice> heard;
    for (const FoundDevice& device : found)
        heard.push_back({device.reply.mac, device.reply.address, device.interfaceIndex, device.senderAddress});
    std::vector<ListedDevice> listed;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const DeviceFacts facts = FactsAbout(heard[i], heard, nics, searched);
        listed.push_back({found[i], facts, facts.nicNumber ? nics[facts.nicNumber - 1].name : std::string()});
    }
    return listed;
}

std::vector<ListedDevice> ListDevices(const ListingText& listing, const std::vector<NicRecord>& nics,
                                      const std::vector<std::uint32_t>& searched)
{
    std::vector<FoundDevice> found;
    for (std::size_t i = 0; i < listing.replyFirsts().size(); ++i) {
        const ReplySpan span = listing.reply(i);
        std::optional<DeviceReply> reply = ReadDeviceReply(
            std::string_view(listing.text()).substr(span.first - 1, span.last - span.first + 1));
        if (reply)
            found.push_back({std::move(*reply), listing.heardOnInterface(i), 0.0, 0.0, listing.senderAddress(i)});
    }
    return ListDevices(found, nics, searched);
}

std::string FormatListing(const std::vector<ListedDevice>& devices, ListingFormat format)
{
    switch (format) {
    case ListingFormat::Json: {
        QJsonArray array;
        for (const ListedDevice& device : devices)
            array.append(JsonObject(device));
        return QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString();
    }
    case ListingFormat::Csv:
    case ListingFormat::CsvFile:
    case ListingFormat::Tsv: {
        const auto line = [format](const std::vector<std::string>& fields) {
            return format == ListingFormat::Tsv ? TsvLine(fields) : CsvLine(fields);
        };
        std::string out = (format == ListingFormat::CsvFile ? "\xEF\xBB\xBF" : "") + line(Keys());
        for (const ListedDevice& device : devices)
            out += line(Row(device));
        return out;
    }
    case ListingFormat::Plan: {
        std::string out = CsvLine(SetupPlan::Columns());
        for (const ListedDevice& device : devices)
            out += CsvLine(PlanCells(device));
        return out;
    }
    case ListingFormat::Text:
        break;
    }
    return TextTable(devices);
}

std::optional<std::string> SaveListFile(const QString& path, const std::string& bytes)
{
    QSaveFile file(path);
    // Unbuffered, so that a full disk fails the write itself: a buffer flushed only by commit()
    // loses the error there (Qt 6.4), and an empty file would replace the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString().toStdString();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        const std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString().toStdString();
    return std::nullopt;
}
