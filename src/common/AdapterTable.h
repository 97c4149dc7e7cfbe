#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

// One local adapter as the refresh stored it (texts already cut to their windows).
struct NicRecord {
    std::string name; // description, at most 41 characters
    std::string ip;   // at most 15 characters each
    std::string subnet;
    std::string gateway;
    int interfaceIndex = -1; // where the list request for this adapter leaves
};

// The PC's adapters as the last refresh found them, in tab order. The refresh is the one
// writer; the search, the adapter view and the hints read it.
class AdapterTable final {
public:
    // Adapter number n (from 1). Entries are overwritten by each refresh and never
    // removed: entries beyond the last refresh's count keep older texts.
    void store(int number, NicRecord record)
    {
        if (static_cast<int>(nics_.size()) < number)
            nics_.resize(static_cast<std::size_t>(number));
        nics_[static_cast<std::size_t>(number) - 1] = std::move(record);
    }
    // Adapter number n (from 1); nullptr when no refresh has stored it.
    const NicRecord* find(int number) const
    {
        return number >= 1 && static_cast<std::size_t>(number) <= nics_.size() ? &nics_[number - 1] : nullptr;
    }
    // The first `count` entries (at most as many as are stored).
    std::vector<NicRecord> first(std::size_t count) const
    {
        return {nics_.begin(), nics_.begin() + static_cast<std::ptrdiff_t>(std::min(count, nics_.size()))};
    }
    std::size_t size() const { return nics_.size(); }
    // How many adapters the last refresh found: the ones requests leave through. A refresh
    // that could not list the adapters leaves it as it was, as it leaves their tabs.
    void setCount(std::size_t count) { count_ = count; }
    std::size_t count() const { return count_; }

private:
    std::vector<NicRecord> nics_;
    std::size_t count_ = 0;
};
