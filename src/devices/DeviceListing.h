#pragma once

#include "DeviceFacts.h"
#include "DeviceSearch.h"
#include "common/AdapterTable.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ListingText;

// One listed device, for the window's copied and saved lists and `hoptrace-cli list`: the
// device, the adapter that heard it and its flags.
struct ListedDevice {
    FoundDevice found;
    DeviceFacts facts;
    std::string nicName;
};

enum class ListingFormat {
    Text,    // aligned columns with a header line
    Json,    // one array of objects with the same keys in every object
    Csv,     // RFC 4180: a header row, CR LF line ends, quoted where needed, formulas guarded
    CsvFile, // the saved list: a UTF-8 byte order mark, then Csv (spreadsheets read it as UTF-8)
    Tsv,     // the copied list: Csv's header and rows joined by tabs (TsvLine)
    Plan,    // a set-up plan of the devices as they are (SetupPlan reads it back)
};

// Facts for every device of a search, against the adapters that were searched and the addresses
// it sent to by unicast (host order, sorted).
std::vector<ListedDevice> ListDevices(const std::vector<FoundDevice>& found, const std::vector<NicRecord>& nics,
                                      const std::vector<std::uint32_t>& searched = {});
// The same for the devices a listing shows (the window's list), each with the adapter and address its
// reply came from; a listing keeps no times, so first and last heard are 0.
std::vector<ListedDevice> ListDevices(const ListingText& listing, const std::vector<NicRecord>& nics,
                                      const std::vector<std::uint32_t>& searched = {});

// The whole listing, ending in a line break. Csv, CsvFile and Tsv have the same columns, Json
// the same keys; Plan has the plan's columns, one row per device with the values it answered
// with (an assignment other than DHCP is "fixed"; none at all stays empty, for the reader to
// refuse until someone decides).
std::string FormatListing(const std::vector<ListedDevice>& devices, ListingFormat format);

// Writes a saved list whole or not at all: through a temporary file that replaces `path` only
// once every byte is on disk. The reason when it fails; an older file at `path` stays as it was.
std::optional<std::string> SaveListFile(const QString& path, const std::string& bytes);
