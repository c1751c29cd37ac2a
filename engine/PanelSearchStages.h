#pragma once
// The panel search's state, shared by its stages: candidate sizes
// (CandidateSizes.cpp), sheet cutting and single-size rows
// (SingleSizeRows.cpp), the two-size pairs (TwoSizeSearch.cpp, PairMarks.cpp)
// and their rows (TwoSizeRows.cpp). Only the search's own files include it.

#include "FlatTable.h"
#include "Growth.h"
#include "InOrderChunks.h"
#include "Layout.h"
#include "PackedLayouts.h"
#include "PanelSearch.h"
#include "PanelWalk.h"
#include "RowIndex.h"
#include "Tolerance.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <unordered_map>
#include <vector>

namespace vorn::panelsearch {

inline constexpr std::int64_t kE10 = 10000000000LL;

struct Sheet {
    double SL = 1, SW = 1;
};

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
           SearchStats& stats, bool literalPairs);

    void Run();

private:
    // ---- layouts, computed once per size -------------------------------

    // The reference stays valid until the next call. `ahead`: the layout
    // when it was worked out ahead (CandidatesAhead); it counts as computed
    // here, where it is first needed.
    const Layout& Board(double PL, double PW, const Layout* ahead = nullptr);

    // Cut layouts of a panel on every sheet, in sheet order. The reference
    // stays valid until the next call. `ahead`: the same, worked out ahead
    // (CandidatesAhead); they count as computed here.
    const Layout* Cuts(double PL, double PW, const Layout* ahead = nullptr);

    // ---- candidate generation ------------------------------------------

    // The literal walk: every candidate of every section, one by one.
    void GeneratePanelSizesLiteral();

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

    struct SideList {
        std::vector<double> values;       // distinct (by bits), first-seen order
        std::vector<std::int64_t> counts; // occurrences of each
        std::int64_t total = 0;
    };

    struct BlockEffect {
        std::int64_t steps = 0, evaluated = 0;
    };

    void BuildLists();

    // Lists longer than this (maximum sides far beyond any sheet) are not
    // kept: the candidates are walked one by one instead.
    static constexpr std::int64_t kMaxListLength = std::int64_t{1} << 20;
    static constexpr std::size_t kMaxBlocksKept = std::size_t{1} << 20;
    struct ListTooLong {};

    void GeneratePanelSizes();

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
        double TL = 0, TW = 0;        // trimmed
        bool usable = false;          // Trimmed's answer
        bool laidOut = false;         // false: a size met before, left to the search
        std::int32_t cutAt = -1;      // in its chunk's cuts, where cut ahead
        const Layout* cuts = nullptr; // those cuts, once the search takes the chunk
    };
    static constexpr std::int64_t kAheadFrom = 20000; // planned work

    // The new blocks (in the order GeneratePanelSizes meets them) in chunks
    // of candidates, laid out by the helper with its own memo, or by the
    // search itself (see InOrderChunks). Where the sides are ranked, only
    // the sizes met there first are laid out (firstMet_); otherwise the
    // helper keeps a table of its own for the sizes it meets again.
    class CandidatesAhead;

    // The bar's maximum keeps ahead of the steps of the single-size stage:
    // near it, the maximum is raised to the steps projected from the share
    // of the work done (the first evaluations take the time; repeats take
    // most of the steps).
    void KeepAhead();

    void TryPresetPanels();

    // EstimateSteps (or the single-size steps, when known to be more) and
    // one step per pair of collected sizes.
    void RaiseMaximum();

    // A candidate trimmed to its boards (automatic panels); false when it
    // holds no board or exceeds the side ratio.
    bool Trimmed(const Layout& board, double& PL, double& PW) const;

    // ---- candidates met before --------------------------------------------
    //
    // The sections pair the same sides the other way round, so most
    // candidates of a large walk are sizes met before in another block. A
    // candidate's layout, and with it whether it is usable and its trimmed
    // size, depend on the size alone: met again, it needs no layout, only
    // what the first meeting found. That is kept in a slot per size: 0 not
    // met, kUnusable, else 2 + the id of its trimmed size (see
    // EvaluateTrimmed), so a repeat reads its steps without a look-up by
    // size. The slots of the bulk walk are a triangle over the ranks of
    // every side it uses (the longer side's rank picks the row), the literal
    // walk's a table.
    static constexpr std::uint32_t kUnusable = 1;
    static constexpr std::size_t kTriangleKept = std::size_t{1} << 25; // slots, 128 MB
    static constexpr std::size_t kMetTableKept = std::size_t{1} << 21; // about 100 MB
    static std::size_t Triangle(std::uint32_t a, std::uint32_t b) {
        const std::size_t hi = std::max(a, b), lo = std::min(a, b);
        return hi * (hi + 1) / 2 + lo;
    }
    // Ranks the sides of the lists and the fixed sides of `fresh`, and marks
    // the candidates of those blocks met there first (firstMet_); false
    // where the triangle would be too large.
    bool RankSides(const std::vector<std::pair<double, int>>& fresh);
    std::uint32_t* MetSlot(double PL, double PW); // the literal walk's
    std::vector<std::uint32_t> listRanks_[PanelWalk::kListCount];
    std::unordered_map<std::uint64_t, std::uint32_t> sideRanks_;
    // The triangle, read at random: in large pages where the system has them.
    std::vector<std::uint32_t, LargePages<std::uint32_t>> met_;
    std::vector<std::uint64_t> firstMet_; // bit per candidate of the fresh blocks
    FlatTable<std::uint32_t> metTable_;   // the literal walk's slots

    // `known`: the candidate as laid out ahead (CandidatesAhead), else null;
    // `met`: its slot, or null where sizes met before are not kept.
    void EvaluatePanel(double PL, double PW, const Candidate* known = nullptr,
                       std::uint32_t* met = nullptr);
    // The rest of EvaluatePanel, for a usable candidate trimmed to PL x PW;
    // `cuts`: its cuts worked out ahead, or null. Returns the size's id.
    std::uint32_t EvaluateTrimmed(double PL, double PW, const Layout* cuts);
    // Forgets every trimmed size evaluated, and with them the slots of the
    // sizes met: each is met anew.
    void ForgetTrimmed();

    // ---- sheet cutting and growth --------------------------------------

    // `ahead`: the cuts of the size, worked out ahead, or null.
    void CutOnBestSheet(int pass, double PL, double PW, const Layout* ahead = nullptr);

    void CutOnEverySheet(double PL, double PW, const Layout* ahead = nullptr);

    void GrowPanelToSheet(int pass, double PL, double PW);

    // ---- single-size rows ----------------------------------------------

    void RecordSizeRow(double PL, double PW);

    void SetLengths(ResultRow& r, double PL, double PW, double SL, double SW,
                    const Margins& m) const;

    void Write(const ResultRow& r);

    // ---- two-size plans ------------------------------------------------

    // One panel size on one sheet, along one split, in one orientation. Kept
    // per size only where it depends on the size's boards (the density);
    // the rest depends on one side and the sheet (RoleOf): sizes share most
    // of their sides, so the tables by side are small.
    struct Role {
        double along = 0;   // the panel's side along the split
        double density = 0; // boards per unit length along the split
        double inverse = 0; // 1 / along
        int across = 0;     // panels across the split (plain truncation)
        int runs = 0;       // panels that fit along the split
        int restAt = 0;     // rests_[restAt + k - 1]: the run left after k panels
    };
    // Per side and lane (sheet and split): its runs along the split and, as
    // the side across, the panels across.
    struct SideOnLane {
        int restAt = 0, runs = 0, across = 0;
    };
    const SideOnLane& OnLane(std::size_t lane, std::uint32_t side) const {
        return onLane_[lane * sides_.size() + side];
    }
    Role RoleOf(std::size_t p, std::size_t sheet, int split, int orient) const {
        const std::size_t lane = sheet * 2 + static_cast<std::size_t>(split);
        const bool lengthAlong = (split == 0) == (orient == 0);
        const std::uint32_t along = sideIds_[2 * p + (lengthAlong ? 0 : 1)];
        const std::uint32_t across = sideIds_[2 * p + (lengthAlong ? 1 : 0)];
        const SideOnLane& a = OnLane(lane, along);
        return {sides_[along].first,
                densities_[RoleIndex(p, sheet, split, orient)],
                sides_[along].second,
                OnLane(lane, across).across,
                a.runs,
                a.restAt};
    }
    static constexpr double kSlack = 1e-8; // covers the tolerance of CountFit

    // A listed size in one orientation, on one sheet and split. Its density
    // is beta / along (as the size's own): members of a group by beta are
    // in density order too.
    struct Member {
        std::int64_t beta;  // boards across the split
        std::uint32_t size; // index in inner_
    };
    double Density(const Member& m, std::uint32_t along) const {
        return static_cast<double>(m.beta) / sides_[along].first;
    }
    struct Group {
        double maxDensity;        // of its members (its first)
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
        std::vector<Role> roles;               // of panel 1, likewise
        std::vector<std::int64_t> leastBeta;   // per side of a lane and orientation of panel 1
        std::vector<std::uint32_t> leastStamp; // the MarkLane call that set it
        std::uint32_t markCall = 0;
        std::vector<std::vector<Group>> groups;   // per sheet and split, see GroupLanes
        std::vector<std::vector<Member>> members; // per sheet and split
        std::size_t purgedAt = 0;                 // the panel 1 of the last PurgeGroups
        std::vector<std::uint64_t> tried;         // bit set of the sizes to pair with panel 1
        std::uint32_t lastMarked = 0;             // the last size set in tried (or 0)
        std::vector<std::uint64_t> laneMask;      // per size: the sheets and splits it passes
        std::vector<std::uint64_t> configMask;    // per size: the configurations, see MarkLane
        std::vector<FastBest> plans;              // plans of the pair being tried, in order
        std::vector<SizeKey> keys;                // their PlanKey
        std::vector<SizeKey> recent;              // see ForgetRepeats
        std::vector<std::uint32_t> marked;        // the sizes to pair with panel 1, in order
    };

    void SearchTwoSizePlans();

    // The single-size stage's tables, kept no longer than it needs them:
    // the pairs need the memory.
    void ReleaseSingleSizeTables();

    // The bar after the pairs of panels 1 before `next`.
    void ShowPairsDone(std::size_t next);

    // A helper pays for itself from some hundreds of collected sizes on.
    bool TwoThreads() const { return SearchThreads() > 1 && inner_.size() >= 256; }

    // The utilization key of panel 1 alone on its best sheet.
    std::int64_t PanelOneKey(std::size_t i);

    // The pairs of one panel 1, as TryPanelsOne hands them on: the panels 2
    // tried in order, and the plans found with each.
    struct PanelOneFound {
        std::vector<std::uint32_t> panelEnds; // per panel 1: the end of its panels 2
        std::vector<std::uint32_t> tried;     // panels 2 tried
        std::vector<std::uint32_t> planEnds;  // per panel 2 tried: the end of its plans
        std::vector<FastBest> plans;
        std::vector<SizeKey> keys; // per plan: its PlanKey
    };

    // The time each panel 1 is expected to take, from the panels 2 a few of
    // them mark (the largest panels 1 come first and mark the most, many-fold
    // more than the last): the bar follows it through the pairs.
    void PlanPairBar(PairState& st, const std::vector<char>& recordable,
                     const std::vector<std::int64_t>& keyU1);

    // Most pairs fail at once: panel 2 cannot lift panel 1 to the needed
    // boards on any sheet and split (MarkLane), or panel 2 is under the
    // minimum panel. The sizes that pass, marked in a bit set, are all that is
    // tried; the others' progress steps are taken in bulk, each before the
    // next pair tried.
    void FindPanelOnePlans(PairState& st, std::size_t i, std::int64_t keyU1, PanelOneFound& out,
                           bool looks) const;

    // Drops the plans of pair (i, j) this thread has just handed on in an
    // earlier pair: recorded in order, such a plan would be a repeat of one
    // recorded before (see RecordFastPlan). A small table that keeps the
    // last plan per slot is enough: repeats come close together.
    // The plans kept get their PlanKey in st.keys.
    void ForgetRepeats(PairState& st, std::size_t i, std::size_t j) const;

    // Works out the pairs of every panel 1 in chunks, on this thread and,
    // where there is a second core, on a helper; hands the plans to record in
    // order, with the progress steps and counts of the one-by-one loop. The
    // rows therefore do not depend on the threads.
    template <class Record>
    void TryPanelsOne(PairState st, const std::vector<char>& recordable,
                      const std::vector<std::int64_t>& keyU1, Record&& record);

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

    // The tables by side and lane, and the densities and rounded ids by role.
    void PrepareRoles();

    // Needed boards per sheet and, per sheet and split, the least panel-2
    // density that can lift any configuration of panel 1 to them.
    void PreparePanelOne(PairState& st, std::size_t i, std::int64_t keyU1) const;

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

    void TryPairFast(PairState& st, std::size_t i, std::size_t j);

    // Marks the later sizes that reach the needed boards with panel 1 on
    // sheet x / 2 and split x % 2 in at least one configuration: the counts
    // TryLane computes, without its best-plan bookkeeping. A lane no
    // configuration lifts to the need can keep no plan, so TryLane would
    // leave it without effect.
    void MarkLane(PairState& st, std::size_t i, std::size_t x) const;

    // Per sheet and split, the listed sizes in groups by their side along
    // the split and orientation (one least count serves a group), each
    // group by boards across the split, most first, so that the sizes
    // reaching the least are a prefix; the groups by their densest size, so
    // that those that may hold a size dense enough are a prefix too.
    void GroupLanes(PairState& st, const std::vector<char>& recordable) const;

    // The id in sides_ of the side of size p along a split in orientation o
    // (upright along "L" and turned along "W" lay the length along it).
    std::uint32_t AlongId(std::size_t p, int split, int o) const {
        const bool lengthAlong = (split == 0) == (o == 0);
        return sideIds_[2 * p + (lengthAlong ? 0 : 1)];
    }

    static void SortGroups(std::vector<Group>& groups);

    // Sizes up to panel 1 are never panel 2 again: out of the groups (which
    // keep their order inside).
    void PurgeGroups(PairState& st, std::size_t i) const;

    // True where MarkLane marks each lane's configurations: four bits per
    // lane in a word.
    bool KeepsConfigs() const { return sheets_.size() * 2 <= 16; }

    // The same pair when the sheets and splits to try are known: bit x of
    // lanes for sheet x / 2 and split x % 2, in that order; where
    // KeepsConfigs, bit 4 * x + c of configs for configuration c there.
    void TryPairLanes(PairState& st, std::size_t i, std::size_t j, std::uint64_t lanes,
                      std::uint64_t configs) const;

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
                 unsigned configs) const;

    // The sheet, split, orientations and counts of a plan in one word (never
    // 0), or 0 when the plan is not rounded or its counts do not fit.
    std::uint64_t PlanCounts(std::size_t i, std::size_t j, const FastBest& b) const;

    // A role's side across, rounded as RoundTwoSizePanels rounds it for
    // `across` panels.
    double RoundedAcross(std::size_t p, std::size_t sheet, int split, int orient) const;

    // A plan's rounded sizes, and with them its rows, depend only on its sheet,
    // split, orientations and counts, both sides along as they are and both
    // sides across as rounded: a plan met before with all of these equal
    // writes nothing again (its row is a duplicate, or it was ruled out
    // then as now). Most plans are such repeats: many sizes share a side
    // along, and the sides across round alike.
    void RecordFastPlan(std::size_t i, std::size_t j, const Layout& b1, const Layout& b2,
                        const FastBest& b, const SizeKey& key);

    // The key of a plan for RecordFastPlan; its first word is 0 where the
    // plan is not rounded (or its counts do not fit).
    SizeKey PlanKey(std::size_t i, std::size_t j, const FastBest& b) const;

    // The id of a role's sides after the rounding of a two-size plan: along
    // as it is (the rounding along depends on the other panel), across
    // rounded for `across` panels (set in PrepareRoles).
    std::uint32_t RoundedId(std::size_t p, std::size_t sheet, int split, int orient) const {
        return roleRounded_[RoleIndex(p, sheet, split, orient)];
    }

    TwoPlan MakePlan(std::size_t i, std::size_t j, const Layout& b1, const Layout& b2,
                     const FastBest& b) const;

    void TryPair(const InnerRow& p1, const Layout& b1, const InnerRow& p2, const Layout& b2);

    void RecordPlan(TwoPlan plan);

    // Board() for the rounded sizes of two-size plans: few and met again and
    // again, so the last ones looked up are kept in a small table in front
    // of the large one. An entry holds only while the large table still
    // holds its size, so the layouts computed (and counted) are the same.
    Layout RoundedBoard(double PL, double PW);

    void RoundTwoSizePanels(TwoPlan& t) const;

    void RecordTwoSizeRow(const TwoPlan& t);

    bool literalPairs_;
    const PanelJob& job_;
    double f_;
    ResultSink& sink_;
    SearchProgress& progress_;
    SearchStats& stats_;
    PackedLayouts packed_; // boards beyond the blocks, where the bound leaves room

    double L_ = 0, W_ = 0, C_ = 0, BXL_ = 0, BXW_ = 0;
    double minPL_ = 0, minPW_ = 0, maxPL_ = 0, maxPW_ = 0;
    const std::int64_t maxRows_ = sink_.MaxRows();
    std::int64_t ratioKey_ = 0, minLvKey_ = 0, keyU1_ = 0;
    bool collect_ = false;
    std::int64_t estimate_ = 0;                   // EstimateSteps of the board
    std::int64_t singleMax_ = 0;                  // projected steps of the single-size stage
    std::int64_t plannedWork_ = 0, doneWork_ = 0; // candidate blocks, see GeneratePanelSizes
    double singleShare_ = 1;                      // of the bar, for the single-size stage
    std::vector<double> pairBar_;         // per panel 1: the expected cost of those before it
    PanelWalk walk_{0, 0, 0, 0, 0, 0, 0}; // reaches no further than PanelSideReach
    SideList lists_[PanelWalk::kListCount];
    std::vector<Sheet> sheets_;
    std::vector<double> sheetSides_; // SL, SW of each sheet, as LayoutPiecesIn takes them

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
    // Trimmed sizes evaluated: ids by size, steps by id. About 110 MB.
    static constexpr std::size_t kEvaluatedKept = std::size_t{1} << 21;
    FlatTable<std::uint32_t> evaluated_;
    std::vector<std::int64_t> trimmedSteps_;
    std::vector<InnerRow> inner_;
    KeySet innerKeys_; // li > 0: a side is at least the smallest side
    SingleRowIndex singles_;
    LevelIndex levels_;
    PairRowIndex pairs_;

    // Fast two-size path.

    std::vector<double, LargePages<double>> densities_; // per role (RoleIndex)
    std::vector<SideOnLane> onLane_;                    // per lane and side (OnLane)
    std::vector<std::uint32_t> roleRounded_;
    std::vector<double> rests_;
    std::vector<std::int64_t> pieces_; // boards per collected size
    // The distinct sides of the collected sizes (many sizes share a side),
    // and 1 / side; per size, the ids of its length and width among them.
    std::vector<std::pair<double, double>> sides_;
    std::vector<std::uint32_t> sideIds_;
    std::vector<char> distinctKeys_;      // per sheet, see TryLane
    std::vector<double> sheetArea_;       // SL * SW per sheet
    FlatTable<std::uint32_t> roundedIds_; // ids by rounded sides
    // Plans met, see RecordFastPlan: at most about 130 MB of table.
    static constexpr std::size_t kPlansKept = std::size_t{1} << 22;
    KeySet plansMet_;
};

} // namespace vorn::panelsearch
