#pragma once

#include "devices/DeviceFacts.h"
#include "common/AdapterTable.h"
#include "devices/DeviceSearch.h"

#include <cstdint>
#include <string>
#include <vector>

// One line of `hoptrace-cli list`: the device, the adapter that heard it and its flags.
struct ListedDevice {
    FoundDevice found;
    DeviceFacts facts;
    std::string nicName;
};

enum class ListingFormat { Text, Json, Csv };

// Facts for every device of a search, against the adapters that were searched and the addresses
// it sent to by unicast (host order, sorted).
std::vector<ListedDevice> ListDevices(const std::vector<FoundDevice>& found, const std::vector<NicRecord>& nics,
                                      const std::vector<std::uint32_t>& searched = {});

// The whole listing, ending in a line break: aligned columns with a header line; one
// JSON array of objects with the same keys in every object; or CSV by RFC 4180 (a
// header row, CR LF line ends, fields quoted where they hold a comma, quote or line break).
std::string FormatListing(const std::vector<ListedDevice>& devices, ListingFormat format);
