#include "PanelSearch.h"

#include "Growth.h"
#include "InputDomain.h"
#include "Layout.h"
#include "RowIndex.h"
#include "SearchBounds.h"
#include "Tolerance.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace vorn {

std::int64_t EstimateSteps(double L, double W) {
    const double A = L * W;
    if (A <= 1)
        return 40000;
    if (A <= 2)
        return 20000;
    if (A <= 2.5)
        return 15000;
    if (A <= 3)
        return 10000;
    if (A <= 4)
        return 8000;
    if (A <= 5)
        return 5000;
    if (A <= 10)
        return 2000;
    if (A <= 12.5)
        return 1200;
    if (A <= 15)
        return 800;
    if (A <= 20)
        return 400;
    if (A <= 100)
        return 200;
    if (A <= 500)
        return 100;
    return 50;
}

std::string PanelJobRefusal(const PanelJob& job) {
    if (job.Set_L == 0 || job.Set_W == 0)
        return "   成品板尺寸不能为\"0\" ！   ";
    if (job.sheets.empty())
        return "   请选定有效板材！！   ";
    return {};
}

std::string ArrayJobRefusal(const ArrayJob& job) {
    if (job.Part_L == 0 || job.Part_W == 0)
        return "   单元尺寸不能为\"0\" ！   ";
    return {};
}

namespace {

constexpr std::int64_t kE10 = 10000000000LL;

// Chunks of work 0, 1, 2, ... worked out on the calling thread and, where
// asked, on one helper, and taken in order on the calling thread. Where the
// next chunk it takes is not taken yet, the calling thread works it out
// itself, so a helper that gets no core never holds it up; at most `ahead`
// chunks are worked out beyond the one taken last. work(c, onHelper) must
// only read what the calling thread does not change meanwhile; waiting() is
// called every 5 ms while the calling thread waits for the helper. A search
// that stops (cancelled, or a fault) waits for the helper's chunk: work on
// the helper looks at Abandoned() often and returns early.
template <class Result> class InOrderChunks {
public:
    InOrderChunks(std::size_t chunks, std::size_t ahead, bool helper,
                  std::function<Result(std::size_t, bool)> work, std::function<void()> waiting)
        : chunks_(chunks), ahead_(ahead), work_(std::move(work)), waiting_(std::move(waiting)),
          found_(chunks) {
        if (helper && chunks > 1)
            helper_ = std::thread([this] { Help(); });
    }
    ~InOrderChunks() {
        abandoned_.store(true, std::memory_order_relaxed);
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        if (helper_.joinable())
            helper_.join();
    }
    InOrderChunks(const InOrderChunks&) = delete;
    InOrderChunks& operator=(const InOrderChunks&) = delete;

    bool Done() const { return want_ >= chunks_; }
    // True once nothing more will be taken: what the helper works out now is
    // thrown away.
    bool Abandoned() const { return abandoned_.load(std::memory_order_relaxed); }

    // The next chunk in order; rethrows what the helper's work threw.
    Result Take() {
        for (;;) {
            std::unique_lock lock(mutex_);
            if (found_[want_].ready) {
                Found f = std::move(found_[want_]);
                found_[want_] = Found{};
                ++want_;
                changed_.notify_all();
                lock.unlock();
                if (f.error)
                    std::rethrow_exception(f.error);
                return std::move(f.result);
            }
            if (next_ < chunks_ && next_ < want_ + ahead_) {
                const std::size_t mine = next_++;
                lock.unlock();
                Result r = work_(mine, false);
                lock.lock();
                found_[mine].result = std::move(r);
                found_[mine].ready = true;
                continue;
            }
            changed_.wait_for(lock, std::chrono::milliseconds(5));
            lock.unlock();
            waiting_();
        }
    }

private:
    struct Found {
        Result result{};
        bool ready = false;
        std::exception_ptr error;
    };

    void Help() {
        for (;;) {
            std::size_t c;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock,
                              [&] { return stop_ || next_ >= chunks_ || next_ < want_ + ahead_; });
                if (stop_ || next_ >= chunks_)
                    return;
                c = next_++;
            }
            Found f;
            try {
                f.result = work_(c, true);
            } catch (...) {
                f.error = std::current_exception();
            }
            std::lock_guard lock(mutex_);
            found_[c] = std::move(f);
            found_[c].ready = true;
            changed_.notify_all();
        }
    }

    const std::size_t chunks_, ahead_;
    const std::function<Result(std::size_t, bool)> work_;
    const std::function<void()> waiting_;
    std::vector<Found> found_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t next_ = 0, want_ = 0; // the next chunk to work out, to take
    bool stop_ = false;
    std::atomic<bool> abandoned_{false};
    std::thread helper_; // last: started once the rest is in place
};

// Asks for the cache line at p ahead of its use. GCC 12 drops
// __builtin_prefetch in this file's loops, so on x86-64 the instruction is
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
SizeKey KeyOf(double x, double y) {
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

// Values by a pair of 64-bit words (a panel size's bits, say) in one flat
// table: the two-size stage looks sizes up millions of times, and a node per
// entry costs a cache miss per look-up. Pointers stay valid until the next
// addition.
template <class Value> class FlatTable {
public:
    const Value* Find(const SizeKey& k) const {
        if (slots_.empty())
            return nullptr;
        for (std::size_t at = Home(k);; at = (at + 1) & mask_) {
            const Slot& s = slots_[at];
            if (!s.used)
                return nullptr;
            if (s.key == k)
                return &s.value;
        }
    }
    // k must not be in the table.
    const Value& Add(const SizeKey& k, const Value& v) {
        if ((size_ + 1) * 2 > slots_.size())
            Grow();
        ++size_;
        return Place(k, v);
    }
    std::size_t Size() const { return size_; }
    // Forgets every entry and keeps the slots.
    void Clear() {
        std::fill(slots_.begin(), slots_.end(), Slot{});
        size_ = 0;
    }

private:
    struct Slot {
        SizeKey key{};
        Value value{};
        bool used = false;
    };
    std::size_t Home(const SizeKey& k) const { return Mix(k) & mask_; }
    const Value& Place(const SizeKey& k, const Value& v) {
        std::size_t at = Home(k);
        while (slots_[at].used)
            at = (at + 1) & mask_;
        slots_[at] = Slot{k, v, true};
        return slots_[at].value;
    }
    void Grow() {
        auto old = std::move(slots_);
        slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
        mask_ = slots_.size() - 1;
        for (const Slot& s : old)
            if (s.used)
                Place(s.key, s.value);
    }
    std::vector<Slot, LargePages<Slot>> slots_;
    std::size_t mask_ = 0, size_ = 0;
};

// A set of keys whose first word is never 0, in one flat table of the keys
// alone (it holds hundreds of thousands).
class KeySet {
public:
    void Prefetch(const SizeKey& k) const {
        if (!slots_.empty())
            FetchAhead(&slots_[Mix(k) & mask_]);
    }
    // Adds k unless it is there; true when added.
    bool Insert(const SizeKey& k) {
        if ((size_ + 1) * 2 > slots_.size())
            Grow();
        std::size_t at = Mix(k) & mask_;
        for (; slots_[at].a != 0; at = (at + 1) & mask_)
            if (slots_[at] == k)
                return false;
        slots_[at] = k;
        ++size_;
        return true;
    }

private:
    void Grow() {
        auto old = std::move(slots_);
        slots_.assign(old.empty() ? 1024 : old.size() * 2, SizeKey{0, 0});
        mask_ = slots_.size() - 1;
        for (const SizeKey& k : old) {
            if (k.a == 0)
                continue;
            std::size_t at = Mix(k) & mask_;
            while (slots_[at].a != 0)
                at = (at + 1) & mask_;
            slots_[at] = k;
        }
    }
    std::vector<SizeKey, LargePages<SizeKey>> slots_;
    std::size_t mask_ = 0, size_ = 0;
};

struct Sheet {
    double SL = 1, SW = 1;
};

} // namespace

unsigned SearchThreads() {
    if (const char* v = std::getenv("VORN_THREADS")) {
        char* end = nullptr;
        const long t = std::strtol(v, &end, 10);
        if (end != v && *end == 0 && t >= 1)
            return static_cast<unsigned>(std::min(t, 2L));
    }
    return std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
}

namespace {

// A panel size collected for the two-size stage (`Temp_inner`).
struct InnerRow {
    double Panel_L, Panel_W;
    std::int64_t Panel_Lint, Panel_Wint;
    double Panel_LxW;
};

// A two-size plan: panel 1 and panel 2 blocks on one sheet.
struct TwoPlan {
    double P1L = 0, P1W = 0, P2L = 0, P2W = 0;
    double SL = 0, SW = 0;
    char split = 'L';
    int Pa1 = 0, Pa2 = 0, Pb1 = 0, Pb2 = 0;
    int q1 = 0, q2 = 0, q3 = 0, q4 = 0;
    Layout board1, board2;
    std::int64_t value = 0;
};

class Search {
public:
    Search(const PanelJob& job, DisplayUnit unit, ResultSink& sink, SearchProgress& progress,
           SearchStats& stats, bool literalPairs)
        : literalPairs_(literalPairs), job_(job), f_(UnitFactor(unit)), sink_(sink),
          progress_(progress), stats_(stats) {
        const double a = job.Set_L / f_;
        const double b = job.Set_W / f_;
        L_ = a >= b ? a : b;
        W_ = a >= b ? b : a;
        C_ = job.Set_C / f_;
        BXL_ = job.BorderX_L / f_;
        BXW_ = job.BorderX_W / f_;
        minPL_ = job.Min_PL / f_;
        minPW_ = job.Min_PW / f_;
        maxPL_ = job.Max_PL / f_;
        maxPW_ = job.Max_PW / f_;
        // Any ratio above every side ratio the bounds allow is no limit.
        ratioKey_ = TolKey(std::min(job.PLPW_ratio, kRatioWithoutLimit));
        minLvKey_ = TolKey(job.Min_lv);
        boardLayouts_ = std::make_unique<LayoutMemo>(L_, W_, C_);
        collect_ = job.PanelNumber != "1";

        // The sheet table's order: Base_L, then Base_W, as stored.
        std::vector<SheetSize> stored = job.sheets;
        std::stable_sort(stored.begin(), stored.end(), [](const SheetSize& x, const SheetSize& y) {
            return x.Base_L != y.Base_L ? x.Base_L < y.Base_L : x.Base_W < y.Base_W;
        });
        for (const SheetSize& s : stored) {
            // A sheet without area holds no panel and has no density (n / 0).
            if (!(s.Base_L > 0 && s.Base_W > 0))
                continue;
            if (TolGe(s.Base_L, s.Base_W))
                sheets_.push_back({s.Base_L, s.Base_W});
            else
                sheets_.push_back({s.Base_W, s.Base_L});
        }
        // Limits far beyond the sheets (PanelSideReach); the literal walk
        // goes all the way.
        walkPL_ = maxPL_;
        walkPW_ = maxPW_;
        if (!literalPairs_) {
            const double reach = PanelSideReach(job, unit);
            walkPL_ = std::min(walkPL_, reach);
            walkPW_ = std::min(walkPW_, reach);
        }
    }

    void Run() {
        const auto t0 = std::chrono::steady_clock::now();
        estimate_ = EstimateSteps(L_, W_);
        progress_.SetMaximum(estimate_);
        if (!job_.AUTOPanel)
            TryPresetPanels();
        else if (literalPairs_)
            GeneratePanelSizesLiteral();
        else
            GeneratePanelSizes();
        const auto t1 = std::chrono::steady_clock::now();
        stats_.singleTime = t1 - t0;
        if (collect_) {
            std::stable_sort(
                inner_.begin(), inner_.end(),
                [](const InnerRow& x, const InnerRow& y) { return x.Panel_LxW < y.Panel_LxW; });
            stats_.innerSize = static_cast<std::int64_t>(inner_.size());
            if (job_.PanelNumber == "2") {
                // The single-size steps are known now: the pairs follow them.
                if (!literalPairs_ && progress_.Steps() > estimate_) {
                    singleMax_ = progress_.Steps();
                    RaiseMaximum();
                }
                SearchTwoSizePlans();
            }
        }
        stats_.pairTime = std::chrono::steady_clock::now() - t1;
        stats_.progressSteps = progress_.Steps();
    }

private:
    // ---- layouts, computed once per size -------------------------------

    // The reference stays valid until the next call. `ahead`: the layout
    // when it was worked out ahead (CandidatesAhead); it counts as computed
    // here, where it is first needed.
    const Layout& Board(double PL, double PW, const Layout* ahead = nullptr) {
        const SizeKey key = KeyOf(PL, PW);
        if (const Layout* known = boardCache_.Find(key))
            return *known;
        ++stats_.layoutCalls;
        if (boardCache_.Size() >= kBoardsKept) { // tiny boards meet tens of millions of sizes
            boardCache_.Clear();
            ++boardsCleared_;
        }
        return boardCache_.Add(
            key, ahead ? *ahead : boardLayouts_->Pieces(job_.BothPanel, BXL_, BXW_, PL, PW));
    }

    // Cut layouts of a panel on every sheet, in sheet order. The reference
    // stays valid until the next call.
    const Layout* Cuts(double PL, double PW) {
        // The single-size stage cuts each size once (a repeat stops at
        // evaluated_); only the two-size stage cuts collected sizes again.
        if (!collect_) {
            cutScratch_.clear();
            for (const Sheet& s : sheets_) {
                ++stats_.layoutCalls;
                cutScratch_.push_back(LayoutPieces(job_.BothBase, PL, PW, 0, 0, 0, s.SL, s.SW));
            }
            return cutScratch_.data();
        }
        // Kept flat, a run of sheets_.size() per size: freed at once when the
        // search ends or stops.
        const SizeKey key = KeyOf(PL, PW);
        if (const std::size_t* at = cutAt_.Find(key))
            return cutStore_.data() + *at;
        const std::size_t at = cutStore_.size();
        for (const Sheet& s : sheets_) {
            ++stats_.layoutCalls;
            cutStore_.push_back(LayoutPieces(job_.BothBase, PL, PW, 0, 0, 0, s.SL, s.SW));
        }
        cutAt_.Add(key, at);
        return cutStore_.data() + at;
    }

    // ---- candidate generation ------------------------------------------

    // Sides holding i board lengths and j board widths between the margins.
    double PLof(int i, int j) const { return GridSide(BXL_, L_, W_, C_, i, j); }
    double PWof(int i, int j) const { return GridSide(BXW_, L_, W_, C_, i, j); }
    // Counts only ever grow a side when a step is positive; otherwise the
    // loops would never pass the maximum.
    bool Steps() const { return L_ + C_ > 0 && W_ + C_ > 0; }

    template <class F>
    void ForOne(double (Search::*side)(int, int) const, bool lengthFirst, double max, F&& f) const {
        for (int n = 1;; ++n) {
            const double s = lengthFirst ? (this->*side)(n, 0) : (this->*side)(0, n);
            if (!TolLe(s, max))
                break;
            f(s, n);
        }
    }

    // Sides built from two counts: first count outer, second inner.
    template <class F>
    void ForTwo(double (Search::*side)(int, int) const, bool lengthsOuter, double max,
                F&& f) const {
        for (int o = 1;; ++o) {
            const double first = lengthsOuter ? (this->*side)(o, 1) : (this->*side)(1, o);
            if (!TolLe(first, max))
                break;
            for (int in = 1;; ++in) {
                const double s = lengthsOuter ? (this->*side)(o, in) : (this->*side)(in, o);
                if (!TolLe(s, max))
                    break;
                f(s);
            }
        }
    }

    // The literal walk: every candidate of every section, one by one.
    void GeneratePanelSizesLiteral() {
        if (!Steps())
            return;
        auto eval = [this](double PL, double PW) { EvaluatePanel(PL, PW); };
        // A: widths of k board widths; lengths of whole board lengths, then mixed.
        ForOne(&Search::PWof, false, walkPW_, [&](double PW, int) {
            ForOne(&Search::PLof, true, walkPL_, [&](double PL, int) { eval(PL, PW); });
            if (TolLe(L_, PW - 2 * BXW_))
                ForTwo(&Search::PLof, true, walkPL_, [&](double PL) { eval(PL, PW); });
        });
        // B: widths of i board lengths, then grown by board widths.
        ForOne(&Search::PWof, true, walkPW_, [&](double, int i) {
            const double PW = PWof(i, 0);
            ForTwo(&Search::PLof, false, walkPL_, [&](double PL) { eval(PL, PW); });
            for (int d = 1;; ++d) {
                const double PWd = PWof(i, d);
                if (!TolLe(PWd, walkPW_))
                    break;
                progress_.Beat();
                ForTwo(&Search::PLof, true, walkPL_, [&](double PL) { eval(PL, PWd); });
            }
        });
        // C: lengths of m board widths; widths of whole board lengths, then mixed.
        ForOne(&Search::PLof, false, walkPL_, [&](double PL, int) {
            ForOne(&Search::PWof, true, walkPW_, [&](double PW, int) { eval(PL, PW); });
            if (TolLe(L_, PL - 2 * BXL_))
                ForTwo(&Search::PWof, true, walkPW_, [&](double PW) { eval(PL, PW); });
        });
        // D: lengths of i board lengths, then grown by board widths.
        ForOne(&Search::PLof, true, walkPL_, [&](double, int i) {
            const double PL = PLof(i, 0);
            ForTwo(&Search::PWof, false, walkPW_, [&](double PW) { eval(PL, PW); });
            for (int d = 1;; ++d) {
                const double PLd = PLof(i, d);
                if (!TolLe(PLd, walkPL_))
                    break;
                progress_.Beat();
                ForTwo(&Search::PWof, true, walkPW_, [&](double PW) { eval(PLd, PW); });
            }
        });
    }

    // ---- candidate generation in bulk ------------------------------------
    //
    // Each section loop pairs one fixed side with one of six lists of the
    // other side, and the lists do not depend on the fixed side: the walk
    // is a sequence of blocks (fixed side, list). A candidate repeated after
    // its first evaluation only takes the progress steps and counts its
    // first evaluation took (see EvaluatePanel), so
    // - a list is kept as its distinct lengths in first-seen order, each
    //   with how often it occurs; a block evaluates each distinct length
    //   once, in that order, and takes the repeats' steps after it;
    // - a block seen before (same fixed side, same list) is all repeats: its
    //   steps and counts are taken at once.
    // The first evaluations, and with them every row and every collected
    // size, come in the order of the literal walk; the step count of each
    // block is that of the literal walk, taken in larger strides.

    enum ListId { kPL1, kPL2L, kPL2W, kPW1, kPW2L, kPW2W, kListCount };

    struct SideList {
        std::vector<double> values;       // distinct (by bits), first-seen order
        std::vector<std::int64_t> counts; // occurrences of each
        std::int64_t total = 0;
    };

    struct BlockEffect {
        std::int64_t steps = 0, evaluated = 0;
    };

    void BuildLists() {
        auto build = [this](SideList& l, auto&& walk) {
            std::unordered_map<std::uint64_t, std::size_t> at;
            walk([&](double v) {
                progress_.Beat();
                if (l.total >= kMaxListLength)
                    throw ListTooLong{};
                auto [it, added] = at.try_emplace(std::bit_cast<std::uint64_t>(v), l.values.size());
                if (added) {
                    l.values.push_back(v);
                    l.counts.push_back(0);
                }
                ++l.counts[it->second];
                ++l.total;
            });
        };
        auto one = [this](double (Search::*side)(int, int) const, double max) {
            return [this, side, max](auto&& f) {
                ForOne(side, true, max, [&](double v, int) { f(v); });
            };
        };
        auto two = [this](double (Search::*side)(int, int) const, bool outer, double max) {
            return [this, side, outer, max](auto&& f) { ForTwo(side, outer, max, f); };
        };
        build(lists_[kPL1], one(&Search::PLof, walkPL_));
        build(lists_[kPL2L], two(&Search::PLof, true, walkPL_));
        build(lists_[kPL2W], two(&Search::PLof, false, walkPL_));
        build(lists_[kPW1], one(&Search::PWof, walkPW_));
        build(lists_[kPW2L], two(&Search::PWof, true, walkPW_));
        build(lists_[kPW2W], two(&Search::PWof, false, walkPW_));
    }

    // The blocks in the order of the literal walk.
    template <class F> void ForEachBlock(F&& block) const {
        // A: widths of k board widths; lengths of whole board lengths, then mixed.
        ForOne(&Search::PWof, false, walkPW_, [&](double PW, int) {
            block(PW, kPL1);
            if (TolLe(L_, PW - 2 * BXW_))
                block(PW, kPL2L);
        });
        // B: widths of i board lengths, then grown by board widths.
        ForOne(&Search::PWof, true, walkPW_, [&](double, int i) {
            block(PWof(i, 0), kPL2W);
            for (int d = 1;; ++d) {
                const double PWd = PWof(i, d);
                if (!TolLe(PWd, walkPW_))
                    break;
                block(PWd, kPL2L);
            }
        });
        // C: lengths of m board widths; widths of whole board lengths, then mixed.
        ForOne(&Search::PLof, false, walkPL_, [&](double PL, int) {
            block(PL, kPW1);
            if (TolLe(L_, PL - 2 * BXL_))
                block(PL, kPW2L);
        });
        // D: lengths of i board lengths, then grown by board widths.
        ForOne(&Search::PLof, true, walkPL_, [&](double, int i) {
            block(PLof(i, 0), kPW2W);
            for (int d = 1;; ++d) {
                const double PLd = PLof(i, d);
                if (!TolLe(PLd, walkPL_))
                    break;
                block(PLd, kPW2L);
            }
        });
    }

    // Lists longer than this (maximum sides far beyond any sheet) are not
    // kept: the candidates are walked one by one instead.
    static constexpr std::int64_t kMaxListLength = std::int64_t{1} << 20;
    static constexpr std::size_t kMaxBlocksKept = std::size_t{1} << 20;
    struct ListTooLong {};

    void GeneratePanelSizes() {
        if (!Steps())
            return;
        try {
            BuildLists();
        } catch (const ListTooLong&) {
            for (SideList& l : lists_)
                l = SideList{};
            GeneratePanelSizesLiteral();
            return;
        }
        // The work to come, for the bar's maximum: a block seen before is one
        // unit, a new one a unit per distinct length.
        // The new blocks, as the walk below will meet them.
        std::vector<std::pair<double, int>> fresh;
        {
            std::unordered_set<SizeKey, SizeKeyHash> seen;
            ForEachBlock([&](double fixed, int list) {
                progress_.Beat();
                const SideList& l = lists_[list];
                if (l.total == 0)
                    return;
                const SizeKey key{std::bit_cast<std::uint64_t>(fixed),
                                  static_cast<std::uint64_t>(list)};
                const bool known = seen.count(key) != 0;
                if (!known && seen.size() < kMaxBlocksKept)
                    seen.insert(key);
                if (!known)
                    fresh.emplace_back(fixed, list);
                plannedWork_ += known ? 1 : static_cast<std::int64_t>(l.values.size());
            });
        }
        // Where there are two cores, a helper lays the candidates out ahead.
        std::optional<CandidatesAhead> ahead;
        if (SearchThreads() > 1 && job_.AUTOPanel && plannedWork_ >= kAheadFrom)
            ahead.emplace(*this, std::move(fresh));
        std::unordered_map<SizeKey, BlockEffect, SizeKeyHash> blocks;
        ForEachBlock([&](double fixed, int list) {
            progress_.Beat();
            const SideList& l = lists_[list];
            if (l.total == 0)
                return;
            // Past the bound a block is evaluated as if new: its candidates
            // are repeats, each taking its steps in EvaluatePanel.
            BlockEffect scratch;
            const SizeKey key{std::bit_cast<std::uint64_t>(fixed),
                              static_cast<std::uint64_t>(list)};
            auto seen = blocks.find(key);
            const bool first = seen == blocks.end();
            if (first && blocks.size() < kMaxBlocksKept)
                seen = blocks.try_emplace(key).first;
            BlockEffect& effect = seen != blocks.end() ? seen->second : scratch;
            if (!first) {
                stats_.candidatesGenerated += l.total;
                stats_.candidatesEvaluated += effect.evaluated;
                progress_.Advance(effect.steps);
            } else {
                const bool listOfLengths = list < kPW1;
                for (std::size_t m = 0; m < l.values.size(); ++m) {
                    const std::int64_t s0 = progress_.Steps();
                    const std::int64_t e0 = stats_.candidatesEvaluated;
                    const Candidate* known = ahead ? &ahead->Next() : nullptr;
                    if (listOfLengths)
                        EvaluatePanel(l.values[m], fixed, known);
                    else
                        EvaluatePanel(fixed, l.values[m], known);
                    progress_.Beat();
                    const std::int64_t ds = progress_.Steps() - s0;
                    const std::int64_t de = stats_.candidatesEvaluated - e0;
                    const std::int64_t repeats = l.counts[m] - 1;
                    stats_.candidatesGenerated += repeats;
                    stats_.candidatesEvaluated += repeats * de;
                    progress_.Advance(repeats * ds);
                    effect.steps += l.counts[m] * ds;
                    effect.evaluated += l.counts[m] * de;
                }
            }
            doneWork_ += first ? static_cast<std::int64_t>(l.values.size()) : 1;
            KeepAhead();
        });
    }

    // ---- candidates laid out ahead ----------------------------------------
    //
    // The first thing EvaluatePanel does, laying the boards out in the
    // candidate and trimming it, is a function of the size alone. Where there
    // are two cores a helper walks the same blocks (the same new blocks, in
    // the same order) and does it ahead, with its own layout memo; the
    // search takes the results in order and counts each layout as computed
    // where it first needs it, as before.

    struct Candidate {
        Layout board;
        double TL = 0, TW = 0; // trimmed
        bool usable = false;   // Trimmed's answer
    };
    static constexpr std::int64_t kAheadFrom = 20000; // planned work

    // The new blocks (in the order GeneratePanelSizes meets them) in chunks
    // of candidates, laid out by the helper with its own memo and table, or
    // by the search itself with its own Board (see InOrderChunks).
    class CandidatesAhead {
    public:
        CandidatesAhead(Search& search, std::vector<std::pair<double, int>> blocks)
            : s_(search), blocks_(std::move(blocks)), memo_(search.L_, search.W_, search.C_),
              chunks_((blocks_.size() + kChunk - 1) / kChunk, 64, true,
                      [this](std::size_t c, bool onHelper) { return Work(c, onHelper); },
                      [this] { s_.progress_.Beat(); }) {}

        // The next candidate of the walk.
        const Candidate& Next() {
            while (at_ == current_.size()) {
                if (chunks_.Done()) // the two walks differ: a fault here, not in the job
                    throw std::logic_error("the candidates laid out ahead ran out");
                current_ = chunks_.Take();
                at_ = 0;
            }
            return current_[at_++];
        }

    private:
        static constexpr std::size_t kChunk = 8; // blocks

        std::vector<Candidate> Work(std::size_t c, bool onHelper) {
            std::vector<Candidate> out;
            for (std::size_t b = c * kChunk; b < std::min(blocks_.size(), (c + 1) * kChunk); ++b) {
                const auto [fixed, list] = blocks_[b];
                for (double v : s_.lists_[list].values) {
                    if (onHelper && chunks_.Abandoned())
                        return out;
                    double PL = list < kPW1 ? v : fixed;
                    double PW = list < kPW1 ? fixed : v;
                    if (PL < PW)
                        std::swap(PL, PW);
                    Candidate cand;
                    if (!onHelper) {
                        s_.progress_.Beat();
                        cand.board = s_.Board(PL, PW);
                    } else if (const Layout* known = boards_.Find(KeyOf(PL, PW))) {
                        cand.board = *known;
                    } else {
                        if (boards_.Size() >= kBoardsKept)
                            boards_.Clear();
                        cand.board =
                            boards_.Add(KeyOf(PL, PW),
                                        memo_.Pieces(s_.job_.BothPanel, s_.BXL_, s_.BXW_, PL, PW));
                    }
                    cand.TL = PL;
                    cand.TW = PW;
                    cand.usable = s_.Trimmed(cand.board, cand.TL, cand.TW);
                    out.push_back(cand);
                }
            }
            return out;
        }

        Search& s_;
        const std::vector<std::pair<double, int>> blocks_;
        LayoutMemo memo_;                              // the helper's
        FlatTable<Layout> boards_;                     // the helper's
        InOrderChunks<std::vector<Candidate>> chunks_; // last: its helper uses the above
        std::vector<Candidate> current_;
        std::size_t at_ = 0;
    };

    // The bar's maximum keeps ahead of the steps of the single-size stage:
    // near it, the maximum is raised to the steps projected from the share
    // of the work done (the first evaluations take the time; repeats take
    // most of the steps).
    void KeepAhead() {
        const std::int64_t steps = progress_.Steps();
        const std::int64_t current = std::max(estimate_, singleMax_);
        if (steps < current - current / 10 || doneWork_ <= 0)
            return;
        const double projected = static_cast<double>(steps) * static_cast<double>(plannedWork_) /
                                 static_cast<double>(doneWork_);
        if (projected > static_cast<double>(current) && projected < 0x1p62) {
            singleMax_ = static_cast<std::int64_t>(projected);
            RaiseMaximum();
        }
    }

    void TryPresetPanels() {
        for (const PresetSize& p : job_.presets) {
            if (!(p.Panel_L > 0 && p.Panel_W > 0))
                continue;
            double PL = p.Panel_L, PW = p.Panel_W;
            if (PL < PW)
                std::swap(PL, PW);
            EvaluatePanel(PL, PW);
        }
        if (!collect_)
            return;
        for (const PresetSize& p : job_.presets) {
            if (!(p.Panel_L > 0 && p.Panel_W > 0))
                continue;
            InnerRow r{p.Panel_L, p.Panel_W, RoundEven(p.Panel_L * 1e7), RoundEven(p.Panel_W * 1e7),
                       1 / (p.Panel_L * p.Panel_W)};
            if (r.Panel_Lint < r.Panel_Wint) {
                std::swap(r.Panel_Lint, r.Panel_Wint);
                std::swap(r.Panel_L, r.Panel_W);
            }
            inner_.push_back(r);
        }
        RaiseMaximum();
    }

    // EstimateSteps (or the single-size steps, when known to be more) and
    // one step per pair of collected sizes.
    void RaiseMaximum() {
        const auto n = static_cast<std::int64_t>(inner_.size());
        progress_.SetMaximum(std::max(estimate_, singleMax_) + n * (n - 1) / 2);
    }

    // A candidate trimmed to its boards (automatic panels); false when it
    // holds no board or exceeds the side ratio.
    bool Trimmed(const Layout& board, double& PL, double& PW) const {
        if (job_.AUTOPanel) {
            // A size that holds no board could never give a row, and trimming
            // it to its empty layout would leave a side of 2 * margin - gap.
            if (board.Pieces() == 0)
                return false;
            const Margins m = ActualMargins(board, L_, W_, C_, PL, PW);
            if (m.mL > BXL_ + 1e-9 || m.mW > BXW_ + 1e-9) {
                PL = PL - 2 * (m.mL - BXL_);
                PW = PW - 2 * (m.mW - BXW_);
                if (PL < PW)
                    std::swap(PL, PW);
            }
        }
        return PW > 0 && RoundEven(PL * 1e10 / PW) <= ratioKey_;
    }

    // `known`: the candidate as laid out ahead (CandidatesAhead), else null.
    void EvaluatePanel(double PL, double PW, const Candidate* known = nullptr) {
        progress_.Beat();
        ++stats_.candidatesGenerated;
        if (PL < PW)
            std::swap(PL, PW);
        bool usable;
        if (known) {
            board_ = Board(PL, PW, &known->board);
            usable = known->usable;
            PL = known->TL;
            PW = known->TW;
        } else {
            board_ = Board(PL, PW);
            usable = Trimmed(board_, PL, PW);
        }
        if (!usable)
            return;
        ++stats_.candidatesEvaluated;
        // The sections produce the same trimmed size many times. Cutting and
        // growth depend on the size alone, so a repeat reaches the same rows,
        // each now a duplicate or again below the minimum: only its progress
        // steps remain.
        const SizeKey size = KeyOf(PL, PW);
        if (const std::int64_t* steps = evaluated_.Find(size)) {
            progress_.Advance(*steps);
            return;
        }
        // A size forgotten here is cut again: the same steps, every row a
        // duplicate by then. Only the count of layouts sees it.
        if (evaluated_.Size() >= kEvaluatedKept)
            evaluated_.Clear();
        const std::int64_t steps0 = progress_.Steps();
        if (job_.GoodBase)
            CutOnBestSheet(1, PL, PW);
        else
            CutOnEverySheet(PL, PW);
        evaluated_.Add(size, progress_.Steps() - steps0);
        if (job_.AUTOPanel && collect_) {
            const std::int64_t li = RoundEven(PL * 1e7), wi = RoundEven(PW * 1e7);
            if (innerKeys_.Insert(
                    {static_cast<std::uint64_t>(li), static_cast<std::uint64_t>(wi)})) {
                inner_.push_back({PL, PW, li, wi, 1 / (PL * PW)});
                RaiseMaximum();
            }
        }
    }

    // ---- sheet cutting and growth --------------------------------------

    void CutOnBestSheet(int pass, double PL, double PW) {
        sheet_ = Sheet{};
        cut_ = Layout{};
        std::int64_t bestDensity = 0;
        const Layout* cuts = Cuts(PL, PW);
        for (std::size_t s = 0; s < sheets_.size(); ++s) {
            const std::int64_t n = cuts[s].Pieces();
            const std::int64_t density =
                RoundEven(static_cast<double>(n * kE10) / (sheets_[s].SL * sheets_[s].SW));
            if (density > bestDensity) {
                bestDensity = density;
                sheet_ = sheets_[s];
                cut_ = cuts[s];
            }
        }
        if (job_.AUTOPanel)
            GrowPanelToSheet(pass, PL, PW);
        else if (pass == 1)
            RecordSizeRow(PL, PW);
        else
            board_ = Board(PL, PW);
    }

    void CutOnEverySheet(double PL, double PW) {
        const Layout* cuts = Cuts(PL, PW);
        for (std::size_t s = 0; s < sheets_.size(); ++s) {
            sheet_ = sheets_[s];
            cut_ = cuts[s];
            if (job_.AUTOPanel)
                GrowPanelToSheet(1, PL, PW);
            else
                RecordSizeRow(PL, PW);
        }
    }

    void GrowPanelToSheet(int pass, double PL, double PW) {
        GrowPanel(cut_, sheet_.SL, sheet_.SW, PL, PW);
        if (PL > maxPL_)
            PL = maxPL_;
        if (PW > maxPW_)
            PW = maxPW_;
        if (pass == 1) {
            if (TolGe(PL, minPL_) && TolGe(PW, minPW_)) {
                board_ = Board(PL, PW);
                RecordSizeRow(PL, PW);
            }
        } else {
            board_ = Board(PL, PW);
        }
    }

    // ---- single-size rows ----------------------------------------------

    void RecordSizeRow(double PL, double PW) {
        progress_.Step();
        const std::int64_t n = cut_.Pieces();
        const std::int64_t p = board_.Pieces();
        const double SL = sheet_.SL, SW = sheet_.SW;
        const double u = L_ * W_ * p * n * 100 / (SL * SW);
        if (TolKey(u) < minLvKey_)
            return;
        if (singles_.Holds(PL * f_, PW * f_, SL * f_, SW * f_))
            return;
        ResultRow r;
        r.Set_La = board_.a1;
        r.Set_Wb = board_.a2;
        r.Set_Lb = board_.b1;
        r.Set_Wa = board_.b2;
        r.Set_sLa = board_.c1;
        r.Set_sWb = board_.c2;
        r.Up = board_.pattern;
        r.Panel = static_cast<int>(p);
        r.Panel_lv = r.Panel * (L_ * W_) * 100 / (PL * PW);
        r.P_La = cut_.a1;
        r.P_Wb = cut_.a2;
        r.P_Lb = cut_.b1;
        r.P_Wa = cut_.b2;
        r.P_sLa = cut_.c1;
        r.P_sWb = cut_.c2;
        r.P_up = cut_.pattern;
        r.Panel_N = static_cast<int>(n);
        r.Base_lv = static_cast<double>(r.Panel_N) * r.Panel * (L_ * W_) * 100 / (SL * SW);
        // A plan with no board or no panel has no sort key (100 / 0): not a row.
        if (r.Base_lv == 0 || r.Panel_lv == 0)
            return;
        r.Base_down = 100 / r.Base_lv;
        r.Panel_down = 100 / r.Panel_lv;
        const Margins m = ActualMargins(board_, L_, W_, C_, PL, PW);
        SetLengths(r, PL, PW, SL, SW, m);
        singles_.Add(r.Panel_L, r.Panel_W, r.Base_L, r.Base_W);
        levels_.Add(r.Base_lv, r.Panel);
        Write(r);
    }

    void SetLengths(ResultRow& r, double PL, double PW, double SL, double SW,
                    const Margins& m) const {
        r.Set_L = L_ * f_;
        r.Set_W = W_ * f_;
        r.Set_C = C_ * f_;
        r.Panel_L = PL * f_;
        r.Panel_W = PW * f_;
        r.Base_L = SL * f_;
        r.Base_W = SW * f_;
        r.Border_L = m.mL * f_;
        r.Border_W = m.mW * f_;
    }

    void Write(const ResultRow& r) {
        if (stats_.rowsWritten >= maxRows_)
            throw SearchTooLarge(maxRows_);
        ++stats_.rowsWritten;
        sink_.Write(r);
    }

    // ---- two-size plans ------------------------------------------------

    // One panel size on one sheet, along one split, in one orientation.
    // What a pair reads of its panel 2: both orientations on one sheet and
    // split share a cache line. Per role too: where its runs left begin in
    // rests_ (roleRestAt_) and the id of its rounded sides (roleRounded_).
    struct alignas(32) Role {
        double along = 0;   // the panel's side along the split
        double density = 0; // boards per unit length along the split
        double inverse = 0; // 1 / along
        int across = 0;     // panels across the split (plain truncation)
        int runs = 0;       // panels that fit along the split
    };
    // rests_[RestAt(r) + k - 1]: the run left after k panels of role r.
    int RestAt(const Role& r) const {
        return roleRestAt_[static_cast<std::size_t>(&r - roles_.data())];
    }
    static constexpr double kSlack = 1e-8; // covers the tolerance of CountFit

    // A listed size in one orientation, on one sheet and split.
    struct Member {
        std::int64_t beta;  // boards across the split
        double density;     // boards per unit length along the split
        std::uint32_t size; // index in inner_
    };
    struct Group {
        double maxDensity;        // of its members
        std::uint32_t id;         // its side along, in sides_
        std::uint32_t begin, end; // its members in PairState::members
        std::uint32_t orient;     // of its members (panel 2)
    };

    // Boards of panel 1's configurations at k = 1 and at the last k, and the
    // run each leaves: with panel 2's density d, e + d * f bounds the boards.
    struct Lines {
        double e1 = 0, f1 = 0, eK = 0, fK = 0;
        double least = 0; // the least panel-2 density that can reach the need
    };

    struct FastBest {
        std::int64_t value = 0;
        std::size_t sheet = 0;
        int split = 0, o1 = 0, o2 = 0, k = 0, q = 0;
        std::int64_t boards = 0; // whose key is value
    };

    // What trying the pairs of one panel 1 works with: one per thread.
    struct PairState {
        std::int64_t threshold = 0;            // the least key a plan must reach
        std::vector<double> need;              // per sheet: the least boards reaching it
        std::vector<double> minDensity;        // per sheet and split, see PreparePanelOne
        std::vector<Lines> lines;              // per sheet, split and orientation of panel 1
        std::vector<std::int64_t> leastBeta;   // per side of a lane and orientation of panel 1
        std::vector<std::uint32_t> leastStamp; // the MarkLane call that set it
        std::uint32_t markCall = 0;
        std::vector<std::vector<Group>> groups;   // per sheet and split, see GroupLanes
        std::vector<std::vector<Member>> members; // per sheet and split
        std::size_t purgedAt = 0;                 // the panel 1 of the last PurgeGroups
        std::vector<std::uint64_t> tried;         // bit set of the sizes to pair with panel 1
        std::vector<std::uint64_t> laneMask;      // per size: the sheets and splits it passes
        std::vector<std::uint64_t> configMask;    // per size: the configurations, see MarkLane
        std::vector<FastBest> plans;              // plans of the pair being tried, in order
        std::vector<SizeKey> keys;                // their PlanKey
        std::vector<SizeKey> recent;              // see ForgetRepeats
        std::vector<std::uint32_t> marked;        // the sizes to pair with panel 1, in order
    };

    void SearchTwoSizePlans() {
        const std::size_t n = inner_.size();
        std::vector<Layout> boards(n);
        for (std::size_t i = 0; i < n; ++i)
            boards[i] = Board(inner_[i].Panel_L, inner_[i].Panel_W);
        // A plan is recorded only when both sizes reach the minimum panel: a
        // pair with a smaller size can write nothing, whatever its plan.
        std::vector<char> recordable(n);
        for (std::size_t i = 0; i < n; ++i)
            recordable[i] = literalPairs_ ||
                            (TolGe(inner_[i].Panel_L, minPL_) && TolGe(inner_[i].Panel_W, minPW_));
        pieces_.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            pieces_[i] = boards[i].Pieces();
        if (literalPairs_) {
            for (std::size_t i = 0; i < n; ++i) {
                progress_.Beat();
                keyU1_ = PanelOneKey(i);
                for (std::size_t j = i + 1; j < n; ++j) {
                    ++stats_.pairsTried;
                    TryPair(inner_[i], boards[i], inner_[j], boards[j]);
                    progress_.Step();
                }
            }
            return;
        }
        PrepareRoles(boards);
        const std::size_t lanes = sheets_.size() * 2;
        // The distinct sides of the listed sizes (sizes under the minimum
        // panel are left out), in the order first met: sizes are built from
        // the same grid and share most of their sides. A side lies along the
        // split in one orientation or the other on every lane.
        sides_.clear();
        sideIds_.assign(2 * n, 0);
        {
            FlatTable<std::uint32_t> ids;
            for (std::size_t p = 0; p < n; ++p) {
                if (!recordable[p])
                    continue;
                for (int k = 0; k < 2; ++k) {
                    const double v = k == 0 ? inner_[p].Panel_L : inner_[p].Panel_W;
                    const SizeKey key{std::bit_cast<std::uint64_t>(v), 0};
                    if (const std::uint32_t* known = ids.Find(key)) {
                        sideIds_[2 * p + static_cast<std::size_t>(k)] = *known;
                    } else {
                        const auto id = static_cast<std::uint32_t>(sides_.size());
                        ids.Add(key, id);
                        sides_.emplace_back(v, 1 / v);
                        sideIds_[2 * p + static_cast<std::size_t>(k)] = id;
                    }
                }
            }
        }
        const std::size_t widest = sides_.size();
        PairState st;
        st.leastBeta.assign(2 * widest, 0);
        st.leastStamp.assign(widest, 0);
        // The groups are worked out on a helper (where there are two cores)
        // while this thread works out each panel 1 alone, which touches the
        // layout caches.
        auto grouped = std::async(TwoThreads() ? std::launch::async : std::launch::deferred,
                                  [&] { GroupLanes(st, recordable); });
        st.tried.assign((n + 63) / 64, 0);
        st.laneMask.assign(n, 0);
        st.configMask.assign(n, 0);
        st.recent.assign(std::bit_ceil(std::clamp<std::size_t>(2 * n, 64, 8192)), {});
        sheetArea_.clear();
        distinctKeys_.clear();
        for (const Sheet& sh : sheets_) {
            sheetArea_.push_back(sh.SL * sh.SW);
            // One board adds at least 4 to a utilization key: the keys of
            // different board counts differ whatever the rounding.
            distinctKeys_.push_back(L_ * 1e10 * W_ * 100 / (sh.SL * sh.SW) >= 4);
        }
        // Panel 1's own utilization on its best sheet, before any pair: it
        // touches the shared layout caches, which the pairs do not.
        std::vector<std::int64_t> keyU1(n, 0);
        for (std::size_t i = 0; i < n; ++i) {
            progress_.Beat();
            if (recordable[i])
                keyU1[i] = PanelOneKey(i);
        }
        grouped.get();
        if (lanes > 64) {
            // More sheets than a lane mask holds: the pairs one by one.
            for (std::size_t i = 0; i < n; ++i) {
                progress_.Beat();
                stats_.pairsTried += static_cast<std::int64_t>(n - i - 1);
                if (!recordable[i]) {
                    stats_.pairsBounded += static_cast<std::int64_t>(n - i - 1);
                    progress_.Advance(static_cast<std::int64_t>(n - i - 1));
                    continue;
                }
                PreparePanelOne(st, i, keyU1[i]);
                for (std::size_t j = i + 1; j < n; ++j) {
                    if (recordable[j]) {
                        st.plans.clear();
                        TryPairFast(st, i, j);
                        for (const FastBest& b : st.plans)
                            RecordFastPlan(i, j, boards[i], boards[j], b, PlanKey(i, j, b));
                    } else {
                        ++stats_.pairsBounded;
                    }
                    progress_.Step();
                }
            }
            return;
        }
        TryPanelsOne(std::move(st), recordable, keyU1,
                     [&](std::size_t i, std::size_t j, const FastBest& b, const SizeKey& key) {
                         RecordFastPlan(i, j, boards[i], boards[j], b, key);
                     });
    }

    // A helper pays for itself from some hundreds of collected sizes on.
    bool TwoThreads() const { return SearchThreads() > 1 && inner_.size() >= 256; }

    // The utilization key of panel 1 alone on its best sheet.
    std::int64_t PanelOneKey(std::size_t i) {
        CutOnBestSheet(2, inner_[i].Panel_L, inner_[i].Panel_W);
        const double U1 = L_ * W_ * board_.Pieces() * cut_.Pieces() * 100 / (sheet_.SL * sheet_.SW);
        return TolKey(U1);
    }

    // The pairs of one panel 1, as TryPanelsOne hands them on: the panels 2
    // tried in order, and the plans found with each.
    struct PanelOneFound {
        std::vector<std::uint32_t> panelEnds; // per panel 1: the end of its panels 2
        std::vector<std::uint32_t> tried;     // panels 2 tried
        std::vector<std::uint32_t> planEnds;  // per panel 2 tried: the end of its plans
        std::vector<FastBest> plans;
        std::vector<SizeKey> keys; // per plan: its PlanKey
    };

    // Most pairs fail at once: panel 2 cannot lift panel 1 to the needed
    // boards on any sheet and split (MarkLane), or panel 2 is under the
    // minimum panel. The sizes that pass, marked in a bit set, are all that is
    // tried; the others' progress steps are taken in bulk, each before the
    // next pair tried.
    void FindPanelOnePlans(PairState& st, std::size_t i, std::int64_t keyU1, PanelOneFound& out,
                           bool looks) const {
        PreparePanelOne(st, i, keyU1);
        if (i >= st.purgedAt + 512) {
            PurgeGroups(st, i);
            st.purgedAt = i;
        }
        for (std::size_t x = 0; x < sheets_.size() * 2; ++x) {
            if (looks)
                progress_.Beat();
            MarkLane(st, i, x);
        }
        st.marked.clear();
        for (std::size_t w = (i + 1) / 64; w < st.tried.size(); ++w) {
            std::uint64_t bits = st.tried[w];
            st.tried[w] = 0; // left clear for the next panel 1
            if (w == (i + 1) / 64)
                bits &= ~std::uint64_t{0} << ((i + 1) % 64);
            while (bits) {
                st.marked.push_back(static_cast<std::uint32_t>(w * 64 + std::countr_zero(bits)));
                bits &= bits - 1;
            }
        }
        // The roles of each panel 2 are fetched some pairs ahead: the sizes
        // lie far apart, and most reads of them miss the cache.
        constexpr std::size_t kAhead = 6;
        auto fetch = [&](std::size_t j) {
            for (std::uint64_t lanes = st.laneMask[j]; lanes; lanes &= lanes - 1) {
                const auto x = static_cast<std::size_t>(std::countr_zero(lanes));
                const std::size_t at = RoleIndex(j, x / 2, static_cast<int>(x % 2), 0);
                FetchAhead(&roles_[at]);
                FetchAhead(&roleRounded_[at]); // for the key of its plan
            }
        };
        const std::size_t count = st.marked.size();
        for (std::size_t t = 0; t < std::min(count, kAhead); ++t)
            fetch(st.marked[t]);
        for (std::size_t t = 0; t < count; ++t) {
            if (t + kAhead < count)
                fetch(st.marked[t + kAhead]);
            const std::size_t j = st.marked[t];
            const std::uint64_t lanes = st.laneMask[j];
            const std::uint64_t configs = st.configMask[j];
            st.laneMask[j] = 0;
            st.configMask[j] = 0;
            st.plans.clear();
            TryPairLanes(st, i, j, lanes, configs);
            ForgetRepeats(st, i, j);
            out.tried.push_back(static_cast<std::uint32_t>(j));
            out.plans.insert(out.plans.end(), st.plans.begin(), st.plans.end());
            out.keys.insert(out.keys.end(), st.keys.begin(), st.keys.end());
            out.planEnds.push_back(static_cast<std::uint32_t>(out.plans.size()));
        }
    }

    // Drops the plans of pair (i, j) this thread has just handed on in an
    // earlier pair: recorded in order, such a plan would be a repeat of one
    // recorded before (see RecordFastPlan). A small table that keeps the
    // last plan per slot is enough: repeats come close together.
    // The plans kept get their PlanKey in st.keys.
    void ForgetRepeats(PairState& st, std::size_t i, std::size_t j) const {
        std::size_t kept = 0;
        st.keys.clear();
        for (const FastBest& b : st.plans) {
            const SizeKey key = PlanKey(i, j, b);
            if (key.a != 0) {
                const std::uint64_t h =
                    (key.a * 0x9E3779B97F4A7C15ULL ^ key.b) * 0x9E3779B97F4A7C15ULL;
                SizeKey& slot = st.recent[(h >> 40) & (st.recent.size() - 1)];
                if (slot == key)
                    continue;
                slot = key;
            }
            st.plans[kept++] = b;
            st.keys.push_back(key);
        }
        st.plans.resize(kept);
    }

    // Works out the pairs of every panel 1 in chunks, on this thread and,
    // where there is a second core, on a helper; hands the plans to record in
    // order, with the progress steps and counts of the one-by-one loop. The
    // rows therefore do not depend on the threads.
    template <class Record>
    void TryPanelsOne(PairState st, const std::vector<char>& recordable,
                      const std::vector<std::int64_t>& keyU1, Record&& record) {
        const std::size_t n = inner_.size();
        constexpr std::size_t kChunk = 16;
        PairState helperState;
        if (TwoThreads())
            helperState = st;
        InOrderChunks<PanelOneFound> chunks(
            (n + kChunk - 1) / kChunk, 32, TwoThreads(),
            [&](std::size_t c, bool onHelper) {
                PairState& state = onHelper ? helperState : st;
                PanelOneFound f;
                for (std::size_t i = c * kChunk; i < std::min(n, (c + 1) * kChunk); ++i) {
                    if (!onHelper)
                        progress_.Beat();
                    else if (chunks.Abandoned())
                        break;
                    if (recordable[i])
                        FindPanelOnePlans(state, i, keyU1[i], f, !onHelper);
                    f.panelEnds.push_back(static_cast<std::uint32_t>(f.tried.size()));
                }
                return f;
            },
            [this] { progress_.Beat(); });
        for (std::size_t c = 0; !chunks.Done(); ++c) {
            const PanelOneFound f = chunks.Take();
            const std::vector<SizeKey>& keys = f.keys;
            // Each slot of the set of plans met fetched some plans ahead:
            // most look-ups miss the cache.
            constexpr std::size_t kAhead = 48;
            for (std::size_t k = 0; k < std::min(keys.size(), kAhead); ++k)
                plansMet_.Prefetch(keys[k]);
            std::size_t t = 0, plan = 0;
            for (std::size_t k = 0; k < f.panelEnds.size(); ++k) {
                const std::size_t i = c * kChunk + k;
                progress_.Beat();
                stats_.pairsTried += static_cast<std::int64_t>(n - i - 1);
                std::size_t next = i + 1; // the first pair whose step is not taken
                for (; t < f.panelEnds[k]; ++t) {
                    const std::size_t j = f.tried[t];
                    stats_.pairsBounded += static_cast<std::int64_t>(j - next);
                    progress_.Advance(static_cast<std::int64_t>(j - next));
                    for (; plan < f.planEnds[t]; ++plan) {
                        if (plan + kAhead < keys.size())
                            plansMet_.Prefetch(keys[plan + kAhead]);
                        record(i, j, f.plans[plan], keys[plan]);
                    }
                    progress_.Step();
                    next = j + 1;
                }
                stats_.pairsBounded += static_cast<std::int64_t>(n - next);
                progress_.Advance(static_cast<std::int64_t>(n - next));
            }
        }
    }

    // ---- two-size plans, fast path ---------------------------------------
    //
    // Every panel size is cut the same way in every pair: for each sheet,
    // split letter and orientation its count across the split, and the run
    // left along the split after each of its panels, are computed once. A
    // pair then only combines them. Bounds on the boards a configuration can
    // reach rule out sheets and configurations that cannot reach the needed
    // utilization (more than U1, at least Min_lv) or the best plan so far.

    std::size_t RoleIndex(std::size_t p, std::size_t s, int split, int orient) const {
        return ((p * sheets_.size() + s) * 2 + split) * 2 + orient;
    }

    void PrepareRoles(const std::vector<Layout>& boards) {
        const std::size_t n = inner_.size();
        roles_.assign(n * sheets_.size() * 4, Role{});
        roleRestAt_.assign(roles_.size(), 0);
        roleRounded_.assign(roles_.size(), 0);
        bestDensity_.clear();
        rests_.clear();
        // The runs left depend on the sheet's side and the panel's side only,
        // and sheets and sizes share most of their sides: each pair once.
        struct Runs {
            int at = 0, count = 0;
        };
        FlatTable<Runs> runsOf;
        for (std::size_t p = 0; p < n; ++p) {
            const double PL = inner_[p].Panel_L, PW = inner_[p].Panel_W;
            const double u = static_cast<double>(boards[p].Pieces());
            for (std::size_t s = 0; s < sheets_.size(); ++s) {
                for (int split = 0; split < 2; ++split) {
                    const double along = split == 0 ? sheets_[s].SL : sheets_[s].SW;
                    const double across = split == 0 ? sheets_[s].SW : sheets_[s].SL;
                    for (int orient = 0; orient < 2; ++orient) {
                        // Upright along "L" and turned along "W" lay the
                        // panel length along the split.
                        const bool lengthAlong = (split == 0) == (orient == 0);
                        Role& r = roles_[RoleIndex(p, s, split, orient)];
                        const std::size_t at = RoleIndex(p, s, split, orient);
                        r.along = lengthAlong ? PL : PW;
                        const double x = lengthAlong ? PW : PL;
                        r.across = static_cast<int>(std::trunc(across / x));
                        const SizeKey runKey = KeyOf(along, r.along);
                        const Runs* runs = runsOf.Find(runKey);
                        if (!runs) {
                            Runs made{static_cast<int>(rests_.size()), 0};
                            const std::int64_t key = TolKey(r.along);
                            double rest = along;
                            while (TolKey(rest) >= key) {
                                rest = rest - r.along;
                                rests_.push_back(rest);
                                ++made.count;
                            }
                            runs = &runsOf.Add(runKey, made);
                        }
                        roleRestAt_[at] = runs->at;
                        r.runs = runs->count;
                        r.density = u * r.across / r.along;
                        r.inverse = 1 / r.along;
                        if (job_.AUTOPanel) {
                            const SizeKey key = KeyOf(r.along, RoundedAcross(p, s, split, orient));
                            if (const std::uint32_t* known = roundedIds_.Find(key))
                                roleRounded_[at] = *known;
                            else
                                roleRounded_[at] = roundedIds_.Add(
                                    key, static_cast<std::uint32_t>(roundedIds_.Size() + 1));
                        }
                    }
                    bestDensity_.push_back(std::max(roles_[RoleIndex(p, s, split, 0)].density,
                                                    roles_[RoleIndex(p, s, split, 1)].density));
                }
            }
        }
    }

    // Needed boards per sheet and, per sheet and split, the least panel-2
    // density that can lift any configuration of panel 1 to them.
    void PreparePanelOne(PairState& st, std::size_t i, std::int64_t keyU1) const {
        st.threshold = std::max(keyU1 + 1, minLvKey_);
        const double u1 = static_cast<double>(pieces_[i]);
        const double c0 = L_ * 1e10 * W_;
        st.need.assign(sheets_.size(), 0);
        st.minDensity.assign(sheets_.size() * 2, 0);
        st.lines.assign(sheets_.size() * 4, Lines{});
        for (std::size_t s = 0; s < sheets_.size(); ++s) {
            const double scale = sheets_[s].SL * sheets_[s].SW;
            // The least board count whose utilization key reaches the threshold.
            double b =
                std::max(0.0, std::floor(static_cast<double>(st.threshold) / 100 * scale / c0) - 2);
            while (RoundEven(c0 * b * 100 / scale) < st.threshold)
                b += 1;
            st.need[s] = b;
            for (int split = 0; split < 2; ++split) {
                double least = std::numeric_limits<double>::infinity();
                for (int orient = 0; orient < 2; ++orient) {
                    const Role& r = roles_[RoleIndex(i, s, split, orient)];
                    if (r.runs == 0)
                        continue;
                    const double along = split == 0 ? sheets_[s].SL : sheets_[s].SW;
                    const double alpha = u1 * r.across;
                    Lines& l = st.lines[(s * 2 + split) * 2 + orient];
                    l.e1 = alpha;
                    l.f1 = along - r.along + kSlack;
                    l.eK = alpha * r.runs;
                    l.fK = along - r.runs * r.along + kSlack;
                    l.least = std::numeric_limits<double>::infinity();
                    for (int k : {1, r.runs}) {
                        const double e = alpha * k;
                        const double f = along - k * r.along + kSlack;
                        if (e >= b)
                            l.least = -1;
                        else if (f > 0)
                            l.least = std::min(l.least, (b - e) / f * (1 - 1e-9));
                    }
                    least = std::min(least, l.least);
                }
                st.minDensity[s * 2 + split] = least;
            }
        }
    }

    // CountFit(x, d, 0). Far from a boundary the repeated subtraction ends
    // where the quotient says (its rounding errors are below 1e-13, the
    // tolerance 1e-10); near one, the subtraction itself is run.
    static int QuickCount(double x, double d, double inverse) {
        const double t = x * inverse; // a guess, checked below
        if (t >= 0 && t < 1e6) {
            const int q0 = static_cast<int>(t);
            const double left = x - q0 * d;
            if (left > 1e-9 && left < d - 1e-9)
                return q0;
        }
        const std::int64_t dKey = TolKey(d);
        int q = 0;
        for (; TolKey(x) >= dKey; x = x - d)
            ++q;
        return q;
    }

    void TryPairFast(PairState& st, std::size_t i, std::size_t j) {
        const std::size_t lanes = sheets_.size() * 2;
        const double* dj = &bestDensity_[j * lanes];
        bool any = false;
        for (std::size_t x = 0; x < lanes && !any; ++x)
            any = dj[x] >= st.minDensity[x];
        if (!any) {
            ++stats_.pairsBounded;
            return;
        }
        PairBest best;
        for (std::size_t lane = 0; lane < lanes; ++lane) {
            if (dj[lane] >= st.minDensity[lane])
                TryLane(st, i, j, lane, best, 15u);
        }
        if (best.have)
            st.plans.push_back(best.best);
    }

    // Marks the later sizes that reach the needed boards with panel 1 on
    // sheet x / 2 and split x % 2 in at least one configuration: the counts
    // TryLane computes, without its best-plan bookkeeping. A lane no
    // configuration lifts to the need can keep no plan, so TryLane would
    // leave it without effect.
    void MarkLane(PairState& st, std::size_t i, std::size_t x) const {
        const std::size_t s = x / 2;
        const Role* r1 = &roles_[RoleIndex(i, s, static_cast<int>(x % 2), 0)];
        const std::int64_t alpha[2] = {pieces_[i] * r1[0].across, pieces_[i] * r1[1].across};
        // The boards alpha * k + beta * q reach the need (a whole number)
        // for some k exactly when beta reaches the least over k of
        // ceil((need - alpha * k) / q): one count per distinct panel-2 side,
        // the lesser over panel 1's two orientations (a size passes with
        // either), shared by every size with that side.
        const auto need = static_cast<std::int64_t>(st.need[s]);
        const auto* sides = sides_.data();
        if (++st.markCall == 0) { // the stamps wrapped round
            std::fill(st.leastStamp.begin(), st.leastStamp.end(), 0);
            st.markCall = 1;
        }
        const std::uint32_t call = st.markCall;
        std::uint32_t* stamp = st.leastStamp.data();
        std::int64_t* leastAt = st.leastBeta.data();
        const double* rests = rests_.data();
        // Worked out on the first size with that side; the cached test stays
        // inline in the loop below.
        auto compute = [&](std::uint32_t id) {
            for (int o1 = 0; o1 < 2; ++o1) {
                std::int64_t least = std::numeric_limits<std::int64_t>::max();
                const Role& p1 = r1[o1];
                for (int k = 1; k <= p1.runs; ++k) {
                    const std::int64_t rest = need - alpha[o1] * k;
                    if (rest <= 0) {
                        least = std::numeric_limits<std::int64_t>::min();
                        break;
                    }
                    const int q =
                        QuickCount(rests[RestAt(p1) + k - 1], sides[id].first, sides[id].second);
                    // ceil(rest / q) < least exactly when rest <= (least - 1) * q:
                    // the division only where it lowers the least.
                    if (q > 0 && least != std::numeric_limits<std::int64_t>::min() &&
                        (least > rest || rest <= (least - 1) * q))
                        least = (rest + q - 1) / q;
                }
                leastAt[2 * id + static_cast<std::uint32_t>(o1)] = least;
            }
            stamp[id] = call;
        };
        std::uint64_t* tried = st.tried.data();
        std::uint64_t* laneMask = st.laneMask.data();
        const std::uint64_t laneBit = std::uint64_t{1} << x;
        // Where four bits per lane fit in a word, the configurations that
        // reach the need are marked too (a configuration that does not can
        // change no plan); beyond, bits past the word are not used.
        std::uint64_t* configMask = st.configMask.data();
        const bool keep = KeepsConfigs();
        const unsigned shift = keep ? static_cast<unsigned>(4 * x) : 0;
        const double minDensity = st.minDensity[x];
        const Member* members = st.members[x].data();
        for (const Group& g : st.groups[x]) {
            if (!(g.maxDensity >= minDensity))
                break; // and so are the groups after it
            if (stamp[g.id] != call)
                compute(g.id);
            const std::int64_t least0 = leastAt[2 * g.id], least1 = leastAt[2 * g.id + 1];
            const std::int64_t least = std::min(least0, least1);
            // The configurations (see TryLane) with panel 1 upright and
            // turned, panel 2 in the group's orientation.
            const std::uint64_t up = keep ? std::uint64_t{g.orient == 0 ? 1u : 2u} << shift : 0;
            const std::uint64_t turned = keep ? std::uint64_t{g.orient == 0 ? 8u : 4u} << shift : 0;
            for (std::uint32_t e = g.begin; e < g.end; ++e) {
                const Member& m = members[e];
                if (m.beta < least)
                    break;
                if (m.size <= i || !(m.density >= minDensity))
                    continue;
                tried[m.size / 64] |= std::uint64_t{1} << (m.size % 64);
                laneMask[m.size] |= laneBit;
                configMask[m.size] |= (m.beta >= least0 ? up : 0) | (m.beta >= least1 ? turned : 0);
            }
        }
    }

    // Per sheet and split, the listed sizes in groups by their side along
    // the split and orientation (one least count serves a group), each
    // group by boards across the split, most first, so that the sizes
    // reaching the least are a prefix; the groups by their densest size, so
    // that those that may hold a size dense enough are a prefix too.
    void GroupLanes(PairState& st, const std::vector<char>& recordable) const {
        const std::size_t lanes = sheets_.size() * 2;
        const std::size_t n = inner_.size();
        const std::size_t keys = 2 * sides_.size(); // side and orientation
        st.groups.assign(lanes, {});
        st.members.assign(lanes, {});
        std::vector<std::uint32_t> at(keys + 1);
        for (std::size_t x = 0; x < lanes; ++x) {
            const int split = static_cast<int>(x % 2);
            auto key = [&](std::size_t p, int o) {
                return std::size_t{AlongId(p, split, o)} * 2 + static_cast<std::size_t>(o);
            };
            // By group in the order of the sizes, then each group by boards
            // across, most first (stable: sizes in order on a tie).
            std::fill(at.begin(), at.end(), 0);
            for (std::size_t p = 0; p < n; ++p)
                if (recordable[p])
                    for (int o = 0; o < 2; ++o)
                        ++at[key(p, o) + 1];
            for (std::size_t k = 0; k < keys; ++k)
                at[k + 1] += at[k];
            auto& members = st.members[x];
            members.resize(at[keys]);
            std::vector<std::uint32_t> fill(at.begin(), at.end() - 1);
            for (std::size_t p = 0; p < n; ++p) {
                if (!recordable[p])
                    continue;
                for (int o = 0; o < 2; ++o) {
                    const Role& role = roles_[RoleIndex(p, x / 2, split, o)];
                    members[fill[key(p, o)]++] = {pieces_[p] * role.across, role.density,
                                                  static_cast<std::uint32_t>(p)};
                }
            }
            auto& groups = st.groups[x];
            for (std::size_t k = 0; k < keys; ++k) {
                if (at[k] == at[k + 1])
                    continue;
                std::stable_sort(members.begin() + at[k], members.begin() + at[k + 1],
                                 [](const Member& a, const Member& b) { return a.beta > b.beta; });
                double most = -std::numeric_limits<double>::infinity();
                for (std::uint32_t e = at[k]; e < at[k + 1]; ++e)
                    most = std::max(most, members[e].density);
                groups.push_back({most, static_cast<std::uint32_t>(k / 2), at[k], at[k + 1],
                                  static_cast<std::uint32_t>(k % 2)});
            }
            SortGroups(groups);
        }
    }

    // The id in sides_ of the side of size p along a split in orientation o
    // (upright along "L" and turned along "W" lay the length along it).
    std::uint32_t AlongId(std::size_t p, int split, int o) const {
        const bool lengthAlong = (split == 0) == (o == 0);
        return sideIds_[2 * p + (lengthAlong ? 0 : 1)];
    }

    static void SortGroups(std::vector<Group>& groups) {
        std::sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
            return a.maxDensity > b.maxDensity || (a.maxDensity == b.maxDensity && a.id < b.id);
        });
    }

    // Sizes up to panel 1 are never panel 2 again: out of the groups (which
    // keep their order inside).
    static void PurgeGroups(PairState& st, std::size_t i) {
        for (std::size_t x = 0; x < st.groups.size(); ++x) {
            Member* members = st.members[x].data();
            for (Group& g : st.groups[x]) {
                std::uint32_t to = g.begin;
                double most = -std::numeric_limits<double>::infinity();
                for (std::uint32_t e = g.begin; e < g.end; ++e) {
                    if (members[e].size <= i)
                        continue;
                    most = std::max(most, members[e].density);
                    members[to++] = members[e];
                }
                g.end = to;
                g.maxDensity = most;
            }
            SortGroups(st.groups[x]);
        }
    }

    // True where MarkLane marks each lane's configurations: four bits per
    // lane in a word.
    bool KeepsConfigs() const { return sheets_.size() * 2 <= 16; }

    // The same pair when the sheets and splits to try are known: bit x of
    // lanes for sheet x / 2 and split x % 2, in that order; where
    // KeepsConfigs, bit 4 * x + c of configs for configuration c there.
    void TryPairLanes(PairState& st, std::size_t i, std::size_t j, std::uint64_t lanes,
                      std::uint64_t configs) const {
        PairBest best;
        const bool keep = KeepsConfigs();
        while (lanes) {
            const auto lane = static_cast<std::size_t>(std::countr_zero(lanes));
            TryLane(st, i, j, lane, best,
                    keep ? static_cast<unsigned>(configs >> (4 * lane)) & 15u : 15u);
            lanes &= lanes - 1;
        }
        if (best.have)
            st.plans.push_back(best.best);
    }

    // The best plan of a pair so far; in "every sheet" mode a sheet's plan is
    // recorded when the next sheet begins (a sheet with no lane tried can have
    // no plan).
    struct PairBest {
        FastBest best;
        bool have = false;
    };

    // configs: bit c for configuration c to try (the others reach not the
    // need).
    void TryLane(PairState& st, std::size_t i, std::size_t j, std::size_t lane, PairBest& pb,
                 unsigned configs) const {
        const std::size_t s = lane / 2;
        const int split = static_cast<int>(lane % 2);
        if (!job_.GoodBase && pb.have && pb.best.sheet != s) {
            st.plans.push_back(pb.best);
            pb.have = false;
        }
        // Configurations 1..8: split "L" then "W"; panel 1 upright, upright,
        // turned, turned; panel 2 upright, turned, turned, upright.
        static constexpr int kO1[4] = {0, 0, 1, 1};
        static constexpr int kO2[4] = {0, 1, 1, 0};
        const double c0 = L_ * 1e10 * W_;
        const double scale = sheetArea_[s];
        const std::int64_t u1 = pieces_[i], u2 = pieces_[j];
        const Role* ri = &roles_[RoleIndex(i, 0, 0, 0)];
        const Role* rj = &roles_[RoleIndex(j, 0, 0, 0)];
        FastBest& best = pb.best;
        bool& have = pb.have;
        for (int c = 0; c < 4; ++c) {
            if (!(configs >> c & 1))
                continue;
            const Role& r1 = ri[lane * 2 + kO1[c]];
            if (r1.runs == 0)
                continue;
            const Role& r2 = rj[lane * 2 + kO2[c]];
            // Boards are linear in k up to the tolerance: the ends bound them.
            const Lines& l = st.lines[lane * 2 + kO1[c]];
            if (r2.density < l.least)
                continue;
            // On this sheet, where each board more is another key, boards
            // compare as their keys do: no division for a plan that cannot
            // be the best.
            const bool inBoards = have && best.sheet == s && distinctKeys_[s];
            if (have) {
                const double ub = std::max(l.e1 + r2.density * l.f1, l.eK + r2.density * l.fK);
                const auto ubBoards = static_cast<std::int64_t>(ub);
                if (inBoards
                        ? ubBoards < best.boards
                        : RoundEven(c0 * static_cast<double>(ubBoards) * 100 / scale) < best.value)
                    continue;
            }
            const std::int64_t alpha = u1 * r1.across;
            const std::int64_t beta = u2 * r2.across;
            const double* rests = &rests_[RestAt(r1)];
            for (int k = 1; k <= r1.runs; ++k) {
                const double rest = rests[k - 1];
                const int q = QuickCount(rest, r2.along, r2.inverse);
                const std::int64_t boards = alpha * k + beta * q;
                if (static_cast<double>(boards) < st.need[s])
                    continue;
                if (have && best.sheet == s && distinctKeys_[s]) {
                    if (boards < best.boards)
                        continue;
                    if (boards == best.boards) { // the same key: the later plan
                        best = {best.value, s, split, kO1[c], kO2[c], k, q, boards};
                        continue;
                    }
                }
                const std::int64_t cur = RoundEven(c0 * static_cast<double>(boards) * 100 / scale);
                if (cur >= st.threshold && (!have || best.value <= cur)) {
                    best = {cur, s, split, kO1[c], kO2[c], k, q, boards};
                    have = true;
                }
            }
        }
    }

    // The sheet, split, orientations and counts of a plan in one word (never
    // 0), or 0 when the plan is not rounded or its counts do not fit.
    std::uint64_t PlanCounts(std::size_t i, std::size_t j, const FastBest& b) const {
        const std::size_t lane = b.sheet * 2 + static_cast<std::size_t>(b.split);
        const Role& r1 = roles_[RoleIndex(i, b.sheet, b.split, b.o1)];
        const Role& r2 = roles_[RoleIndex(j, b.sheet, b.split, b.o2)];
        constexpr int kCountLimit = 1 << 12;
        const bool keyed = job_.AUTOPanel && r1.across > 0 && r2.across > 0 && b.q > 0 &&
                           r1.across < kCountLimit && r2.across < kCountLimit &&
                           b.k < kCountLimit && b.q < kCountLimit;
        if (!keyed)
            return 0;
        return (((((static_cast<std::uint64_t>(lane) * 4 + static_cast<std::uint64_t>(b.o1) * 2 +
                    static_cast<std::uint64_t>(b.o2)) *
                       kCountLimit +
                   static_cast<std::uint64_t>(b.k)) *
                      kCountLimit +
                  static_cast<std::uint64_t>(b.q)) *
                     kCountLimit +
                 static_cast<std::uint64_t>(r1.across)) *
                    kCountLimit +
                static_cast<std::uint64_t>(r2.across)) |
               (std::uint64_t{1} << 63);
    }

    // A role's side across, rounded as RoundTwoSizePanels rounds it for
    // `across` panels.
    double RoundedAcross(std::size_t p, std::size_t sheet, int split, int orient) const {
        const Role& r = roles_[RoleIndex(p, sheet, split, orient)];
        const bool lengthAlong = (split == 0) == (orient == 0);
        const double x = lengthAlong ? inner_[p].Panel_W : inner_[p].Panel_L;
        const double across = split == 0 ? sheets_[sheet].SW : sheets_[sheet].SL;
        const int m = r.across;
        return RoundUpToFit(x, [&](double v) { return TolLe(m * v, across); });
    }

    // A plan's rounded sizes, and with them its rows, depend only on its sheet,
    // split, orientations and counts, both sides along as they are and both
    // sides across as rounded: a plan met before with all of these equal
    // writes nothing again (its row is a duplicate, or it was ruled out
    // then as now). Most plans are such repeats: many sizes share a side
    // along, and the sides across round alike.
    void RecordFastPlan(std::size_t i, std::size_t j, const Layout& b1, const Layout& b2,
                        const FastBest& b, const SizeKey& key) {
        if (key.a != 0 && !plansMet_.Insert(key))
            return;
        RecordPlan(MakePlan(i, j, b1, b2, b));
    }

    // The key of a plan for RecordFastPlan; its first word is 0 where the
    // plan is not rounded (or its counts do not fit).
    SizeKey PlanKey(std::size_t i, std::size_t j, const FastBest& b) const {
        const std::uint64_t counts = PlanCounts(i, j, b);
        if (counts == 0)
            return {0, 0};
        return {counts, (std::uint64_t{RoundedId(i, b.sheet, b.split, b.o1)} << 32) |
                            RoundedId(j, b.sheet, b.split, b.o2)};
    }

    // The id of a role's sides after the rounding of a two-size plan: along
    // as it is (the rounding along depends on the other panel), across
    // rounded for `across` panels (set in PrepareRoles).
    std::uint32_t RoundedId(std::size_t p, std::size_t sheet, int split, int orient) const {
        return roleRounded_[RoleIndex(p, sheet, split, orient)];
    }

    TwoPlan MakePlan(std::size_t i, std::size_t j, const Layout& b1, const Layout& b2,
                     const FastBest& b) const {
        TwoPlan t;
        t.P1L = inner_[i].Panel_L;
        t.P1W = inner_[i].Panel_W;
        t.P2L = inner_[j].Panel_L;
        t.P2W = inner_[j].Panel_W;
        t.SL = sheets_[b.sheet].SL;
        t.SW = sheets_[b.sheet].SW;
        t.board1 = b1;
        t.board2 = b2;
        t.value = b.value;
        t.split = b.split == 0 ? 'L' : 'W';
        const int m1 = roles_[RoleIndex(i, b.sheet, b.split, b.o1)].across;
        const int m2 = roles_[RoleIndex(j, b.sheet, b.split, b.o2)].across;
        if (b.split == 0) {
            (b.o1 == 0 ? t.Pa1 : t.Pb1) = b.k;
            (b.o1 == 0 ? t.Pa2 : t.Pb2) = m1;
            (b.o2 == 0 ? t.q1 : t.q3) = b.q;
            (b.o2 == 0 ? t.q2 : t.q4) = m2;
        } else {
            (b.o1 == 0 ? t.Pa1 : t.Pb1) = m1;
            (b.o1 == 0 ? t.Pa2 : t.Pb2) = b.k;
            (b.o2 == 0 ? t.q1 : t.q3) = m2;
            (b.o2 == 0 ? t.q2 : t.q4) = b.q;
        }
        return t;
    }

    void TryPair(const InnerRow& p1, const Layout& b1, const InnerRow& p2, const Layout& b2) {
        TwoPlan best;
        bool have = false;
        TwoPlan t;
        t.P1L = p1.Panel_L;
        t.P1W = p1.Panel_W;
        t.P2L = p2.Panel_L;
        t.P2W = p2.Panel_W;
        t.board1 = b1;
        t.board2 = b2;
        const std::int64_t u1 = b1.Pieces(), u2 = b2.Pieces();
        for (const Sheet& s : sheets_) {
            t.SL = s.SL;
            t.SW = s.SW;
            const double scale = s.SL * s.SW;
            for (int cfg = 1; cfg <= 8; ++cfg) {
                t.Pa1 = t.Pa2 = t.Pb1 = t.Pb2 = t.q1 = t.q2 = t.q3 = t.q4 = 0;
                const bool alongL = cfg <= 4;
                t.split = alongL ? 'L' : 'W';
                const double along = alongL ? s.SL : s.SW;
                const double across = alongL ? s.SW : s.SL;
                // Panel 1 upright in 1, 2, 5, 6; panel 2 upright in 1, 4, 5, 8.
                const bool up1 = cfg == 1 || cfg == 2 || cfg == 5 || cfg == 6;
                const bool up2 = cfg == 1 || cfg == 4 || cfg == 5 || cfg == 8;
                // Side of each panel along the split and across it.
                const double a1 = alongL == up1 ? t.P1L : t.P1W;
                const double x1 = alongL == up1 ? t.P1W : t.P1L;
                const double a2 = alongL == up2 ? t.P2L : t.P2W;
                const double x2 = alongL == up2 ? t.P2W : t.P2L;
                const int m1 = static_cast<int>(std::trunc(across / x1));
                const int m2 = static_cast<int>(std::trunc(across / x2));
                int *k1p, *k2p;
                if (alongL) {
                    (up1 ? t.Pa2 : t.Pb2) = m1;
                    k1p = up1 ? &t.Pa1 : &t.Pb1;
                    (up2 ? t.q2 : t.q4) = m2;
                    k2p = up2 ? &t.q1 : &t.q3;
                } else {
                    (up1 ? t.Pa1 : t.Pb1) = m1;
                    k1p = up1 ? &t.Pa2 : &t.Pb2;
                    (up2 ? t.q1 : t.q3) = m2;
                    k2p = up2 ? &t.q2 : &t.q4;
                }
                const std::int64_t a1Key = TolKey(a1);
                double rest = along;
                int k = 0;
                while (TolKey(rest) >= a1Key) {
                    ++k;
                    rest = rest - a1;
                    *k1p = k;
                    *k2p = CountFit(rest, a2, 0);
                    const std::int64_t boards =
                        u1 * (std::int64_t{t.Pa1} * t.Pa2 + std::int64_t{t.Pb1} * t.Pb2) +
                        u2 * (std::int64_t{t.q1} * t.q2 + std::int64_t{t.q3} * t.q4);
                    const std::int64_t cur =
                        RoundEven(L_ * 1e10 * W_ * static_cast<double>(boards) * 100 / scale);
                    // Strictly better than panel 1 alone, at least the minimum,
                    // and on a tie the later configuration wins.
                    if (cur > keyU1_ && cur >= minLvKey_ && (!have || best.value <= cur)) {
                        t.value = cur;
                        best = t;
                        have = true;
                    }
                }
            }
            if (!job_.GoodBase && have) {
                RecordPlan(best);
                have = false;
            }
        }
        if (job_.GoodBase && have)
            RecordPlan(best);
    }

    void RecordPlan(TwoPlan plan) {
        if (!(TolGe(plan.P1L, minPL_) && TolGe(plan.P1W, minPW_) && TolGe(plan.P2L, minPL_) &&
              TolGe(plan.P2W, minPW_)))
            return;
        if (job_.AUTOPanel) {
            RoundTwoSizePanels(plan);
            plan.board1 = RoundedBoard(plan.P1L, plan.P1W);
            plan.board2 = RoundedBoard(plan.P2L, plan.P2W);
        }
        RecordTwoSizeRow(plan);
    }

    // Board() for the rounded sizes of two-size plans: few and met again and
    // again, so the last ones looked up are kept in a small table in front
    // of the large one. An entry holds only while the large table still
    // holds its size, so the layouts computed (and counted) are the same.
    Layout RoundedBoard(double PL, double PW) {
        const SizeKey key = KeyOf(PL, PW);
        RecentBoard& e = recentBoards_[Mix(key) & (recentBoards_.size() - 1)];
        if (e.key == key && e.cleared == boardsCleared_)
            return e.layout;
        const Layout layout = Board(PL, PW);
        e = {key, layout, boardsCleared_};
        return layout;
    }

    void RoundTwoSizePanels(TwoPlan& t) const {
        const bool up1 = t.Pa1 != 0 && t.Pa2 != 0 && t.Pb1 == 0 && t.Pb2 == 0;
        const bool turned1 = t.Pb1 != 0 && t.Pb2 != 0 && t.Pa1 == 0 && t.Pa2 == 0;
        const bool up2 = t.q1 != 0 && t.q2 != 0 && t.q3 == 0 && t.q4 == 0;
        const bool turned2 = t.q3 != 0 && t.q4 != 0 && t.q1 == 0 && t.q2 == 0;
        if (!(up1 || turned1) || !(up2 || turned2))
            return;
        const bool alongL = t.split == 'L';
        const double along = alongL ? t.SL : t.SW;
        const double across = alongL ? t.SW : t.SL;
        double& s1a = alongL == up1 ? t.P1L : t.P1W;
        double& s1x = alongL == up1 ? t.P1W : t.P1L;
        double& s2a = alongL == up2 ? t.P2L : t.P2W;
        double& s2x = alongL == up2 ? t.P2W : t.P2L;
        int k1, m1, k2, m2;
        if (alongL) {
            k1 = up1 ? t.Pa1 : t.Pb1;
            m1 = up1 ? t.Pa2 : t.Pb2;
            k2 = up2 ? t.q1 : t.q3;
            m2 = up2 ? t.q2 : t.q4;
        } else {
            k1 = up1 ? t.Pa2 : t.Pb2;
            m1 = up1 ? t.Pa1 : t.Pb1;
            k2 = up2 ? t.q2 : t.q4;
            m2 = up2 ? t.q1 : t.q3;
        }
        s1a = RoundUpToFit(s1a, [&](double v) { return TolLe(k1 * v + k2 * s2a, along); });
        s2a = RoundUpToFit(s2a, [&](double v) { return TolLe(k1 * s1a + k2 * v, along); });
        s1x = RoundUpToFit(s1x, [&](double v) { return TolLe(m1 * v, across); });
        s2x = RoundUpToFit(s2x, [&](double v) { return TolLe(m2 * v, across); });
    }

    void RecordTwoSizeRow(const TwoPlan& t) {
        const std::int64_t u1 = t.board1.Pieces(), u2 = t.board2.Pieces();
        const std::int64_t n1 = std::int64_t{t.Pa1} * t.Pa2 + std::int64_t{t.Pb1} * t.Pb2;
        const std::int64_t n2 = std::int64_t{t.q1} * t.q2 + std::int64_t{t.q3} * t.q4;
        const std::int64_t boards = u1 * n1 + u2 * n2;
        const double U = L_ * W_ * static_cast<double>(boards) * 100 / (t.SL * t.SW);
        if (pairs_.Holds(t.SL * f_, t.SW * f_, U, t.board1, t.board2))
            return;
        if (DominatedBySingleSize(levels_, U, u1, u2))
            return;
        ResultRow r;
        r.Set_La = t.board1.a1;
        r.Set_Wb = t.board1.a2;
        r.Set_Lb = t.board1.b1;
        r.Set_Wa = t.board1.b2;
        r.Set_sLa = t.board1.c1;
        r.Set_sWb = t.board1.c2;
        r.Up = t.board1.pattern;
        r.Panel = static_cast<int>(u1);
        r.Panel_lv = u1 * L_ * W_ * 100 / (t.P1L * t.P1W);
        SecondPanel s;
        s.Set_La2 = t.board2.a1;
        s.Set_Wb2 = t.board2.a2;
        s.Set_Lb2 = t.board2.b1;
        s.Set_Wa2 = t.board2.b2;
        s.Set_sLa2 = t.board2.c1;
        s.Set_sWb2 = t.board2.c2;
        s.Up2 = t.board2.pattern;
        s.Panel2 = static_cast<int>(u2);
        s.Panel_lv2 = u2 * L_ * W_ * 100 / (t.P2L * t.P2W);
        r.P_La = t.Pa1;
        r.P_Wb = t.Pa2;
        r.P_Lb = t.Pb1;
        r.P_Wa = t.Pb2;
        r.P_up = t.split;
        s.P_La2 = t.q1;
        s.P_Wb2 = t.q2;
        s.P_Lb2 = t.q3;
        s.P_Wa2 = t.q4;
        r.Panel_N = static_cast<int>(n1 + n2);
        r.Base_lv = static_cast<double>(boards) * L_ * W_ * 100 / (t.SL * t.SW);
        // Zero utilizations have no sort key (100 / 0): not a row.
        if (r.Base_lv == 0 || r.Panel_lv == 0 || s.Panel_lv2 == 0)
            return;
        r.Base_down = 100 / r.Base_lv;
        r.Panel_down = 100 / r.Panel_lv;
        SetLengths(r, t.P1L, t.P1W, t.SL, t.SW, ActualMargins(t.board1, L_, W_, C_, t.P1L, t.P1W));
        const Margins m2 = ActualMargins(t.board2, L_, W_, C_, t.P2L, t.P2W);
        s.Panel_L2 = t.P2L * f_;
        s.Panel_W2 = t.P2W * f_;
        s.Border_L2 = m2.mL * f_;
        s.Border_W2 = m2.mW * f_;
        r.second = s;
        pairs_.Add(r.Base_L, r.Base_W, r.Base_lv, t.board1, t.board2);
        Write(r);
    }

    bool literalPairs_;
    const PanelJob& job_;
    double f_;
    ResultSink& sink_;
    SearchProgress& progress_;
    SearchStats& stats_;

    double L_ = 0, W_ = 0, C_ = 0, BXL_ = 0, BXW_ = 0;
    double minPL_ = 0, minPW_ = 0, maxPL_ = 0, maxPW_ = 0;
    double walkPL_ = 0, walkPW_ = 0; // the sides the walk reaches, see the constructor
    const std::int64_t maxRows_ = sink_.MaxRows();
    std::int64_t ratioKey_ = 0, minLvKey_ = 0, keyU1_ = 0;
    bool collect_ = false;
    std::int64_t estimate_ = 0;                   // EstimateSteps of the board
    std::int64_t singleMax_ = 0;                  // projected steps of the single-size stage
    std::int64_t plannedWork_ = 0, doneWork_ = 0; // candidate blocks, see GeneratePanelSizes
    SideList lists_[kListCount];
    std::vector<Sheet> sheets_;

    // The current plan.
    Sheet sheet_;
    Layout cut_, board_;

    std::unique_ptr<LayoutMemo> boardLayouts_; // the board in panels
    // Board layouts kept: about 100 MB of table; beyond it the table starts
    // again (a layout depends on the size alone, so only time is at stake).
    static constexpr std::size_t kBoardsKept = std::size_t{1} << 20;
    FlatTable<Layout> boardCache_;
    std::uint64_t boardsCleared_ = 1; // times boardCache_ started again, plus one
    struct RecentBoard {
        SizeKey key{};
        Layout layout{};
        std::uint64_t cleared = 0; // boardsCleared_ when kept
    };
    std::vector<RecentBoard> recentBoards_ = std::vector<RecentBoard>(4096); // see RoundedBoard
    std::vector<Layout> cutScratch_;
    FlatTable<std::size_t> cutAt_; // where a size's cuts begin in cutStore_
    std::vector<Layout> cutStore_;
    static constexpr std::size_t kEvaluatedKept = std::size_t{1} << 21; // about 130 MB
    FlatTable<std::int64_t> evaluated_;                                 // steps of each size
    std::vector<InnerRow> inner_;
    KeySet innerKeys_; // li > 0: a side is at least the smallest side
    SingleRowIndex singles_;
    LevelIndex levels_;
    PairRowIndex pairs_;

    // Fast two-size path.

    std::vector<Role, LargePages<Role>> roles_;
    std::vector<int> roleRestAt_;
    std::vector<std::uint32_t> roleRounded_;
    std::vector<double> rests_;
    std::vector<std::int64_t> pieces_; // boards per collected size
    std::vector<double> bestDensity_;  // per size, sheet and split: its better orientation
    // The distinct sides of the listed sizes (many sizes share a side), and
    // 1 / side; per size, the ids of its length and width among them.
    std::vector<std::pair<double, double>> sides_;
    std::vector<std::uint32_t> sideIds_;
    std::vector<char> distinctKeys_;      // per sheet, see TryLane
    std::vector<double> sheetArea_;       // SL * SW per sheet
    FlatTable<std::uint32_t> roundedIds_; // ids by rounded sides
    KeySet plansMet_;                     // see RecordFastPlan
};

} // namespace

void RunPanelSearch(const PanelJob& job, DisplayUnit unit, ResultSink& sink,
                    SearchProgress& progress, SearchStats* stats) {
    std::string refusal = PanelJobRefusal(job);
    if (refusal.empty())
        refusal = PanelJobDomainError(job, unit);
    if (!refusal.empty())
        throw std::invalid_argument(refusal);
    if (NoPlanReachesMinimum(job, unit) || NoPanelFitsAnySheet(job, unit))
        return;
    SearchStats local;
    Search search(job, unit, sink, progress, stats ? *stats : local, false);
    search.Run();
}

void RunPanelSearchReference(const PanelJob& job, DisplayUnit unit, ResultSink& sink,
                             SearchProgress& progress, SearchStats* stats) {
    std::string refusal = PanelJobRefusal(job);
    if (refusal.empty())
        refusal = PanelJobDomainError(job, unit);
    if (!refusal.empty())
        throw std::invalid_argument(refusal);
    SearchStats local;
    Search search(job, unit, sink, progress, stats ? *stats : local, true);
    search.Run();
}

} // namespace vorn
