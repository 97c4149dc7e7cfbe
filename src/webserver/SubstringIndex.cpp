#include "SubstringIndex.h"

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
// of text positions, each with 32 bits of its window's hash so that most probes need not
// read the text. Equal windows share one slot. Hashes are polynomial in a per-run odd
// base, so the window one character on costs one step instead of a whole rehash, and a
// device cannot aim its replies at one chain of the table without knowing the base.
class SubstringIndex::WindowSet final {
public:
    WindowSet(std::size_t length, std::uint64_t seed) : length_(length), base_(seed | 1), slots_(64)
    {
        for (std::size_t i = 1; i < length_; ++i)
            highestPower_ *= base_;
    }

    // Adds the windows that start at indexedUpTo_ and later and fit in text. The table is
    // far larger than the caches, so the slots of a whole append are fetched ahead of
    // the inserts: their memory latencies overlap instead of adding up.
    void catchUp(const std::string& text)
    {
        if (indexedUpTo_ + length_ > text.size())
            return;
        const std::size_t count = text.size() - length_ + 1 - indexedUpTo_;
        while ((used_ + count) * 2 > slots_.size())
            grow(text);
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
        hashes_.resize(count);
        std::uint64_t h = hash(std::string_view(text).substr(indexedUpTo_, length_));
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t k = 0; k < count; ++k) {
            hashes_[k] = h;
            Prefetch(&slots_[mix(h) & mask]);
            if (k + 1 < count) {
                const std::size_t at = indexedUpTo_ + k;
                h = (h - byte(at) * highestPower_) * base_ + byte(at + length_);
            }
        }
        for (std::size_t k = 0; k < count; ++k)
            insert(text, static_cast<std::uint32_t>(indexedUpTo_ + k), hashes_[k]);
        indexedUpTo_ += count;
    }

    bool contains(const std::string& text, std::string_view what) const
    {
        const std::uint64_t h = hash(what);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = mix(h) & mask;; i = (i + 1) & mask) {
            if (slots_[i].position == kEmpty)
                return false;
            if (slots_[i].tag == static_cast<std::uint32_t>(h) && window(text, slots_[i].position) == what)
                return true;
        }
    }

private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    struct Slot {
        std::uint32_t position = kEmpty;
        std::uint32_t tag = 0; // low bits of the window's hash
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

    // The table index takes the high bits, well stirred; the tag keeps the low ones.
    static std::uint64_t mix(std::uint64_t h)
    {
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
        return h;
    }

    void insert(const std::string& text, std::uint32_t at, std::uint64_t h)
    {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = mix(h) & mask;
        for (; slots_[i].position != kEmpty; i = (i + 1) & mask) {
            if (slots_[i].tag == static_cast<std::uint32_t>(h) && window(text, slots_[i].position) == window(text, at))
                return; // already known
        }
        slots_[i] = Slot{at, static_cast<std::uint32_t>(h)};
        ++used_; // catchUp made room beforehand
    }

    void grow(const std::string& text)
    {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.position == kEmpty)
                continue;
            std::size_t i = mix(hash(window(text, slot.position))) & mask;
            while (slots_[i].position != kEmpty)
                i = (i + 1) & mask;
            slots_[i] = slot;
        }
    }

    std::size_t length_;
    std::uint64_t base_;
    std::uint64_t highestPower_ = 1; // base^(length - 1)
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::size_t indexedUpTo_ = 0; // windows starting before this are in the table
    std::vector<std::uint64_t> hashes_; // of the windows being added
};

SubstringIndex::SubstringIndex()
    : seed_((std::uint64_t{std::random_device{}()} << 32) ^ std::random_device{}() ^ 0x9e3779b97f4a7c15ULL)
{
}

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
