#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct NicRecord;

// A device as a search heard it: its reply's MAC and address, the adapter the reply arrived
// on, and the address the reply came from.
struct HeardDevice {
    std::string mac;
    std::string address;
    int interfaceIndex = -1; // -1 when the system did not say
    std::string senderAddress{};
};

// What the search knows about one device beyond its own reply.
struct DeviceFacts {
    int nicNumber = 0; // the tab "NIC #n" whose adapter heard it; 0 when unknown
    std::string nicAddress;
    std::optional<int> nicPrefixLength;
    // Its address lies off the network of the adapter that heard it: only a unicast sent out
    // of that adapter (as Reboot and Load defaults are) can reach it.
    // Not for a device reached by address: the flag warns of what the broadcast found.
    bool subnetMismatch = false;
    // Its reply came from one of the searched addresses, on none of the adapters' networks:
    // a router lies between, and only a unicast reaches it.
    bool reachedByAddress = false;
    // The other MACs that answered with the same address.
    std::vector<std::string> sameAddressAs;
};

// nics: the searched adapters in tab order (tab n is nics[n - 1]); others: every device
// listed in the same search, the device itself included or not; searched: the addresses the
// search sent the list request to by unicast (host order, sorted).
DeviceFacts FactsAbout(const HeardDevice& device, const std::vector<HeardDevice>& others,
                       const std::vector<NicRecord>& nics, const std::vector<std::uint32_t>& searched = {});

// "Found on NIC #1 (192.168.1.10/24)"; empty when the adapter is unknown.
std::string SeenViaText(const DeviceFacts& facts);
// "10.1.2.3 is not on the network of NIC #1: Reboot may not reach it; Set IP can move it."
std::string SubnetMismatchText(const std::string& address, const DeviceFacts& facts);
// "192.168.1.20 is also the address of 00:08:DC:00:00:02: two devices answer on it."
std::string DuplicateAddressText(const std::string& address, const DeviceFacts& facts);
// The lines above that apply, joined by line breaks.
std::string DeviceHintText(const std::string& address, const DeviceFacts& facts);
