#include "SubstringIndex.h"

#include <random>
#include <vector>

// The distinct windows of one length, in an open-addressing table of text positions
// (4 bytes a slot, at most half full). Equal windows share one slot.
class SubstringIndex::WindowSet final {
public:
    WindowSet(std::size_t length, std::uint64_t seed) : length_(length), seed_(seed), slots_(64, kEmpty) {}

    // Adds the windows that start at indexedUpTo_ and later and fit in text.
    void catchUp(const std::string& text)
    {
        for (; indexedUpTo_ + length_ <= text.size(); ++indexedUpTo_)
            insert(text, static_cast<std::uint32_t>(indexedUpTo_));
    }

    bool contains(const std::string& text, std::string_view what) const
    {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash(what) & mask;; i = (i + 1) & mask) {
            if (slots_[i] == kEmpty)
                return false;
            if (window(text, slots_[i]) == what)
                return true;
        }
    }

private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;

    std::string_view window(const std::string& text, std::uint32_t at) const
    {
        return std::string_view(text).substr(at, length_);
    }

    // FNV-1a from a per-run seed, then a final mix: a device cannot aim its replies at
    // one chain of the table without knowing the seed.
    std::uint64_t hash(std::string_view bytes) const
    {
        std::uint64_t h = seed_;
        for (const char c : bytes)
            h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
        return h;
    }

    void insert(const std::string& text, std::uint32_t at)
    {
        const std::string_view w = window(text, at);
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash(w) & mask;
        for (; slots_[i] != kEmpty; i = (i + 1) & mask) {
            if (window(text, slots_[i]) == w)
                return; // already known
        }
        slots_[i] = at;
        if (++used_ * 2 > slots_.size())
            grow(text);
    }

    void grow(const std::string& text)
    {
        std::vector<std::uint32_t> old(slots_.size() * 2, kEmpty);
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const std::uint32_t at : old) {
            if (at == kEmpty)
                continue;
            std::size_t i = hash(window(text, at)) & mask;
            while (slots_[i] != kEmpty)
                i = (i + 1) & mask;
            slots_[i] = at;
        }
    }

    std::size_t length_;
    std::uint64_t seed_;
    std::vector<std::uint32_t> slots_;
    std::size_t used_ = 0;
    std::size_t indexedUpTo_ = 0; // windows starting before this are in the table
};

SubstringIndex::SubstringIndex() : seed_(0xcbf29ce484222325ULL ^ std::random_device{}()) {}

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
