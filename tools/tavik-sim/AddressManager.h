#pragma once

#include <functional>
#include <set>
#include <string>
#include <utility>

// Puts device addresses on the simulator's interfaces (as /32, so no route changes) and
// takes them off again, through the system's `ip` tool. Only what it added itself is
// removed, at the latest when it is destroyed.
class AddressManager final {
public:
    explicit AddressManager(std::function<void(const std::string&)> log) : log_(std::move(log)) {}
    ~AddressManager();
    AddressManager(const AddressManager&) = delete;
    AddressManager& operator=(const AddressManager&) = delete;

    // interfaceName empty: the interface whose network holds the address. False when
    // there is no such interface or the address could not be added.
    bool add(const std::string& address, const std::string& interfaceName);
    void remove(const std::string& address);

private:
    bool runIp(const std::string& verb, const std::string& address, const std::string& interfaceName,
               std::string& errorText);

    std::function<void(const std::string&)> log_;
    std::set<std::pair<std::string, std::string>> added_; // address, interface
};
