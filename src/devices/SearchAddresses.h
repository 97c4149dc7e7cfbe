#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QSettings;
struct Datagram;

// The addresses the window searches by unicast beside the broadcast, kept in the program's
// settings until the user clears them, and how many devices answered from them in the last
// search. The command line searches only what its arguments name and does not use them.
class SearchAddresses final {
public:
    explicit SearchAddresses(QSettings& settings);

    // The stored entry as the user typed it; shown for correction also when it no longer
    // reads (edited by hand, or written by a newer version).
    QString storedText() const { return stored_; }
    bool storedReads() const { return reads_; }
    // What every search sends to, sorted; empty when nothing is stored or it does not read.
    const std::vector<std::uint32_t>& addresses() const { return addresses_; }
    // Stores an entry, or refuses the whole of it with the reason; an empty entry clears.
    std::optional<std::string> store(const QString& text);
    // A device reached by address was given a new one: the next search asks there too.
    void searchOnceMore(std::uint32_t address) { once_.push_back(address); }
    // What the next search sends to (the stored addresses and those once more), sorted; the
    // addresses once more are used up.
    std::vector<std::uint32_t> takeNextTargets();

    // A search begins: its answers are counted afresh.
    void searchBegun() { answeredMacs_.clear(); }
    // Every webserver reply read: one from a stored address counts its device once.
    void replyRead(const Datagram& reply);
    int answered() const { return static_cast<int>(answeredMacs_.size()); }

private:
    void read();

    QSettings& settings_;
    QString stored_;
    bool reads_ = true;
    std::vector<std::uint32_t> addresses_;
    std::vector<std::uint32_t> once_;
    std::set<std::string> answeredMacs_;
};
