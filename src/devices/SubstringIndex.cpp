#include "SubstringIndex.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>
#include <random>
#include <vector>

namespace {
void Prefetch(const void* address)
{
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address; // only a hint
#endif
}
} // namespace

// The distinct windows of one length, in an open-addressing table (at most half full)
// of text positions, each with 32 bits of its window's hash: most probes need not read
// the text, and growing needs no text at all. Equal windows share one slot.
//
// Hashes are polynomial in a per-run odd base, so the window one character on costs
// one step instead of a whole rehash, and a device cannot aim its replies at one chain
// of the table without knowing the base.
//
// The table grows without a pause: a table twice the size takes the new windows while
// each insert moves a few slots of the old one across; lookups ask both until then.
class SubstringIndex::WindowSet final {
public:
    WindowSet(std::size_t length, std::uint64_t seed) : length_(length), base_(seed | 1)
    {
        for (std::size_t i = 1; i < length_; ++i)
            highestPower_ *= base_;
    }

    // Adds the windows that start at indexedUpTo_ and later and fit in text. The table is
    // far larger than the caches, so the slots of a whole append are fetched ahead of the
    // inserts: their memory latencies overlap instead of adding up.
    void catchUp(const std::string& text)
    {
        if (indexedUpTo_ + length_ > text.size())
            return;
        const std::size_t count = text.size() - length_ + 1 - indexedUpTo_;
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
        hashes_.resize(count);
        std::uint64_t h = hash(std::string_view(text).substr(indexedUpTo_, length_));
        for (std::size_t k = 0; k < count; ++k) {
            hashes_[k] = Mix(h);
            Prefetch(&slots_[hashes_[k] & (slots_.size() - 1)]);
            if (k + 1 < count) {
                const std::size_t at = indexedUpTo_ + k;
                h = (h - byte(at) * highestPower_) * base_ + byte(at + length_);
            }
        }
        for (std::size_t k = 0; k < count; ++k)
            insert(text, static_cast<std::uint32_t>(indexedUpTo_ + k), static_cast<std::uint32_t>(hashes_[k]));
        indexedUpTo_ += count;
    }

    bool contains(const std::string& text, std::string_view what) const
    {
        const auto h = static_cast<std::uint32_t>(Mix(hash(what)));
        return find(slots_, text, what, h) || find(old_, text, what, h);
    }

private:
    struct Slot {
        std::uint32_t positionPlusOne; // 0: empty
        std::uint32_t hash;
    };
    // Zeroed by calloc: a large table gets fresh zero pages from the system as it is
    // touched, instead of being cleared all at once.
    class Table final {
    public:
        Table() = default;
        explicit Table(std::size_t size) : slots_(static_cast<Slot*>(std::calloc(size, sizeof(Slot)))), size_(size)
        {
            if (slots_ == nullptr)
                throw std::bad_alloc();
        }
        Table(Table&& other) noexcept
            : slots_(std::exchange(other.slots_, nullptr)), size_(std::exchange(other.size_, 0))
        { }
        Table& operator=(Table&& other) noexcept
        {
            std::swap(slots_, other.slots_);
            std::swap(size_, other.size_);
            return *this;
        }
        ~Table() { std::free(slots_); }
        std::size_t size() const { return size_; }
        bool empty() const { return size_ == 0; }
        Slot& operator[](std::size_t i) { return slots_[i]; }
        const Slot& operator[](std::size_t i) const { return slots_[i]; }

    private:
        Slot* slots_ = nullptr;
        std::size_t size_ = 0;
    };

    std::string_view window(const std::string& text, std::uint32_t at) const
    {
        return std::string_view(text).substr(at, length_);
    }

    std::uint64_t hash(std::string_view bytes) const
    {
        std::uint64_t h = 0;
        for (const char c : bytes)
            h = h * base_ + static_cast<unsigned char>(c);
        return h;
    }

    static std::uint64_t Mix(std::uint64_t h)
    {
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
        return h;
    }

    bool find(const Table& table, const std::string& text, std::string_view what, std::uint32_t h) const
    {
        if (table.empty())
            return false;
        const std::size_t mask = table.size() - 1;
        for (std::size_t i = h & mask; table[i].positionPlusOne != 0; i = (i + 1) & mask) {
            if (table[i].hash == h && window(text, table[i].positionPlusOne - 1) == what)
                return true;
        }
        return false;
    }

    static void Place(Table& table, const Slot& slot)
    {
        const std::size_t mask = table.size() - 1;
        std::size_t i = slot.hash & mask;
        while (table[i].positionPlusOne != 0)
            i = (i + 1) & mask;
        table[i] = slot;
    }

    void insert(const std::string& text, std::uint32_t at, std::uint32_t h)
    {
        moveSomeAcross();
        if (find(slots_, text, window(text, at), h) || find(old_, text, window(text, at), h))
            return; // already known
        Place(slots_, Slot{at + 1, h});
        if (++used_ * 2 > slots_.size()) {
            while (!old_.empty())
                moveSomeAcross(); // only when windows come faster than the move (not so far)
            old_ = std::move(slots_);
            slots_ = Table(old_.size() * 2);
            moved_ = 0;
        }
    }

    // Moves a few slots of the old table into the current one; frees it when all are over.
    void moveSomeAcross()
    {
        constexpr std::size_t kSlotsPerInsert = 8;
        if (old_.empty())
            return;
        const std::size_t end = std::min(old_.size(), moved_ + kSlotsPerInsert);
        for (; moved_ < end; ++moved_) {
            if (old_[moved_].positionPlusOne != 0)
                Place(slots_, old_[moved_]);
        }
        if (moved_ == old_.size())
            old_ = Table();
    }

    std::size_t length_;
    std::uint64_t base_;
    std::uint64_t highestPower_ = 1; // base^(length - 1)
    Table slots_{64};
    Table old_;                         // the table being moved across, empty when none
    std::size_t moved_ = 0;             // slots of old_ already moved
    std::size_t used_ = 0;              // distinct windows
    std::size_t indexedUpTo_ = 0;       // windows starting before this are in the table
    std::vector<std::uint64_t> hashes_; // of the windows being added
};

SubstringIndex::SubstringIndex()
    : seed_((std::uint64_t{std::random_device{}()} << 32) ^ std::random_device{}() ^ 0x9e3779b97f4a7c15ULL)
{ }

SubstringIndex::~SubstringIndex() = default;

void SubstringIndex::reset()
{
    for (auto& set : sets_)
        set.reset();
}

void SubstringIndex::extend(const std::string& text)
{
    for (auto& set : sets_) {
        if (set)
            set->catchUp(text);
    }
}

bool SubstringIndex::contains(const std::string& text, std::string_view what)
{
    // The empty text is contained in any text, as in a plain search.
    if (what.empty())
        return true;
    if (what.size() > kLongestIndexed)
        return text.find(what) != std::string::npos;
    std::unique_ptr<WindowSet>& set = sets_[what.size()];
    if (!set) {
        // First question of this length: index the text once; appends keep it current.
        set = std::make_unique<WindowSet>(what.size(), seed_);
        set->catchUp(text);
    }
    return set->contains(text, what);
}
