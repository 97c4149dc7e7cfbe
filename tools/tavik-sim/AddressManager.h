#pragma once

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Puts device addresses on the simulator's interfaces (as /32, so no route changes) and
// takes them off again, through the system's `ip` tool (one run for any number of
// addresses). Only what it added itself is removed, at the latest when it is destroyed.
class AddressManager final {
public:
    // An address and the interface it goes on; an empty name means the interface whose
    // network holds the address.
    using Placement = std::pair<std::string, std::string>;

    explicit AddressManager(std::function<void(const std::string&)> log) : log_(std::move(log)) { }
    ~AddressManager();
    AddressManager(const AddressManager&) = delete;
    AddressManager& operator=(const AddressManager&) = delete;

    // Addresses already on an interface are left as they are. False, with the reason
    // logged, when an interface is missing or the system refused an address.
    bool add(const std::vector<Placement>& placements);
    void remove(const std::string& address);

private:
    bool runIpBatch(const std::string& commands, std::string& errorText);

    std::function<void(const std::string&)> log_;
    std::set<Placement> added_;
};
