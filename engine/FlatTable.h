#pragma once
// Flat open-addressing tables keyed by a pair of 64-bit words (a panel
// size's bits, say): the searches look sizes up millions of times, and a
// node per entry costs a cache miss per look-up.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace vorn {

// Asks for the cache line at p ahead of its use. GCC 12 drops
// __builtin_prefetch in the search's loops, so on x86-64 the instruction is
// written out.
inline void FetchAhead(const void* p) {
#if defined(__x86_64__) && defined(__GNUC__)
    asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(p)));
#else
    __builtin_prefetch(p);
#endif
}

// Storage for the large tables the two-size stage reads at random (some
// hundred MB): in 2 MB pages where the system offers them, which take one
// fault instead of 512 and spare most address translation misses.
template <class T> struct LargePages {
    using value_type = T;
    LargePages() = default;
    template <class U> LargePages(const LargePages<U>&) {}
    static constexpr std::size_t kPage = std::size_t{1} << 21;
    static std::size_t Rounded(std::size_t bytes) { return (bytes + kPage - 1) / kPage * kPage; }
    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kPage)
            return static_cast<T*>(::operator new (bytes, std::align_val_t{64}));
#ifdef __linux__
        // A mapping of its own, aligned to a large page and given back
        // whole when freed: large pages never spread into the heap.
        const std::size_t size = Rounded(bytes);
        void* m =
            mmap(nullptr, size + kPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (m == MAP_FAILED)
            throw std::bad_alloc();
        char* const base = static_cast<char*>(m);
        const auto at = reinterpret_cast<std::uintptr_t>(base);
        char* const p = base + ((kPage - at % kPage) % kPage);
        if (p != base)
            munmap(base, static_cast<std::size_t>(p - base));
        if (const std::size_t tail = static_cast<std::size_t>(base + size + kPage - (p + size)))
            munmap(p + size, tail);
        madvise(p, size, MADV_HUGEPAGE);
        return reinterpret_cast<T*>(p);
#else
        return static_cast<T*>(::operator new (bytes, std::align_val_t{64}));
#endif
    }
    void deallocate(T* p, std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
#ifdef __linux__
        if (bytes >= kPage) {
            munmap(p, Rounded(bytes));
            return;
        }
#endif
        ::operator delete (p, std::align_val_t{64});
    }
    template <class U> bool operator==(const LargePages<U>&) const {
        return true;
    }
};

struct SizeKey {
    std::uint64_t a, b;
    bool operator==(const SizeKey&) const = default;
};
struct SizeKeyHash {
    std::size_t operator()(const SizeKey& k) const {
        return std::hash<std::uint64_t>()(k.a * 0x9E3779B97F4A7C15ULL ^ k.b);
    }
};
inline SizeKey KeyOf(double x, double y) {
    return {std::bit_cast<std::uint64_t>(x), std::bit_cast<std::uint64_t>(y)};
}

// Sides are short binary fractions: their low bits are mostly zero, so every
// bit of a key is mixed in (the splitmix64 finaliser).
inline std::size_t Mix(const SizeKey& k) {
    std::uint64_t h = k.a * 0x9E3779B97F4A7C15ULL + k.b;
    h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9ULL;
    h = (h ^ (h >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<std::size_t>(h ^ (h >> 31));
}

template <class Value> struct FlatSlot {
    SizeKey key{};
    Value value{};
    bool used = false;
    bool Used() const { return used; }
};
// A set holds keys alone (hundreds of thousands of them): a first word of 0
// marks a free slot, so a set's keys never have one.
template <> struct FlatSlot<void> {
    SizeKey key{};
    bool Used() const { return key.a != 0; }
};

// Values by key, or with Value void a set of keys. Pointers stay valid
// until the next addition.
template <class Value> class FlatTable {
public:
    template <class V = Value>
    requires(!std::is_void_v<V>) const V* Find(const SizeKey& k) const {
        if (slots_.empty())
            return nullptr;
        for (std::size_t at = Home(k);; at = (at + 1) & mask_) {
            const Slot& s = slots_[at];
            if (!s.Used())
                return nullptr;
            if (s.key == k)
                return &s.value;
        }
    }
    template <class V = Value>
    requires(!std::is_void_v<V>) V* Find(const SizeKey& k) {
        return const_cast<V*>(std::as_const(*this).Find(k));
    }
    // k must not be in the table.
    template <class V = Value>
    requires(!std::is_void_v<V>) V& Add(const SizeKey& k, const V& v) {
        if ((size_ + 1) * 2 > slots_.size())
            Grow();
        ++size_;
        Slot& s = slots_[FreeSlot(k)];
        s = Slot{k, v, true};
        return s.value;
    }
    // Adds k to a set unless it is there; true when added.
    bool Insert(const SizeKey& k) requires std::is_void_v<Value> {
        if ((size_ + 1) * 2 > slots_.size())
            Grow();
        std::size_t at = Home(k);
        for (; slots_[at].Used(); at = (at + 1) & mask_)
            if (slots_[at].key == k)
                return false;
        slots_[at].key = k;
        ++size_;
        return true;
    }
    void Prefetch(const SizeKey& k) const {
        if (!slots_.empty())
            FetchAhead(&slots_[Home(k)]);
    }
    std::size_t Size() const { return size_; }
    // Forgets every entry and keeps the slots.
    void Clear() {
        std::fill(slots_.begin(), slots_.end(), Slot{});
        size_ = 0;
    }

private:
    using Slot = FlatSlot<Value>;
    std::size_t Home(const SizeKey& k) const { return Mix(k) & mask_; }
    std::size_t FreeSlot(const SizeKey& k) const {
        std::size_t at = Home(k);
        while (slots_[at].Used())
            at = (at + 1) & mask_;
        return at;
    }
    void Grow() {
        auto old = std::move(slots_);
        slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
        mask_ = slots_.size() - 1;
        for (const Slot& s : old)
            if (s.Used())
                slots_[FreeSlot(s.key)] = s;
    }
    std::vector<Slot, LargePages<Slot>> slots_;
    std::size_t mask_ = 0, size_ = 0;
};

using KeySet = FlatTable<void>;

} // namespace vorn
