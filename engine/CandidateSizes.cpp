#include "PanelSearchStages.h"
#include "SearchCost.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <mutex>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace vorn::panelsearch {

class Search::CandidatesAhead {
public:
    CandidatesAhead(Search& search, std::vector<std::pair<double, int>> blocks)
        : s_(search), blocks_(std::move(blocks)), starts_(Starts(search, blocks_, total_)),
          memo_(search.L_, search.W_, search.C_),
          chunks_((blocks_.size() + kChunk - 1) / kChunk, 64, true,
                  [this](std::size_t c, bool onHelper) { return Work(c, onHelper); },
                  [this] { s_.progress_.Beat(); }) {}

    // The next candidate of the walk.
    const Candidate& Next() {
        const std::size_t ordinal = ordinal_++;
        const std::vector<std::uint64_t>& first = s_.firstMet_;
        if (!first.empty() && !(first[ordinal / 64] >> (ordinal % 64) & 1))
            return metBefore_; // the search knows it
        while (at_ == current_.candidates.size()) {
            if (chunks_.Done()) // the two walks differ: a fault here, not in the job
                throw std::logic_error("the candidates laid out ahead ran out");
            Recycle(std::move(current_));
            current_ = chunks_.Take();
            for (Candidate& c : current_.candidates)
                if (c.cutAt >= 0)
                    c.cuts = current_.cuts.data() + c.cutAt;
            at_ = 0;
        }
        // Written on the other core: fetched some candidates ahead.
        if (at_ + kFetchAhead < current_.candidates.size())
            FetchAhead(&current_.candidates[at_ + kFetchAhead]);
        return current_.candidates[at_++];
    }

    // The k-th candidate laid out after the one Next() returned last, where
    // already taken; else null.
    const Candidate* Peek(std::size_t k) const {
        return at_ + k - 1 < current_.candidates.size() ? &current_.candidates[at_ + k - 1]
                                                        : nullptr;
    }

private:
    static constexpr std::size_t kChunk = 8; // blocks
    static constexpr std::size_t kFetchAhead = 6;

    // Where each block's candidates begin in the sequence of all of them.
    static std::vector<std::size_t>
    Starts(const Search& s, const std::vector<std::pair<double, int>>& blocks, std::size_t& total) {
        std::vector<std::size_t> starts;
        starts.reserve(blocks.size());
        std::size_t at = 0;
        for (const auto& [fixed, list] : blocks) {
            starts.push_back(at);
            at += s.lists_[list].values.size();
        }
        total = at;
        return starts;
    }

    // The candidates of a chunk (where the sides are ranked, those met
    // first only), and the cuts of the trimmed sizes the helper met first
    // (Candidate::cutAt).
    struct Chunk {
        std::vector<Candidate> candidates;
        std::vector<Layout> cuts;
    };

    // Chunks taken are kept for reuse: fresh memory for each cost the
    // helper more in page faults than in laying out.
    Chunk Spare() {
        std::lock_guard lock(spareMutex_);
        if (spare_.empty())
            return {};
        Chunk chunk = std::move(spare_.back());
        spare_.pop_back();
        return chunk;
    }
    void Recycle(Chunk chunk) {
        chunk.candidates.clear();
        chunk.cuts.clear();
        std::lock_guard lock(spareMutex_);
        spare_.push_back(std::move(chunk));
    }

    Chunk Work(std::size_t c, bool onHelper) {
        const std::size_t end = std::min(blocks_.size(), (c + 1) * kChunk);
        Chunk chunk = Spare();
        std::vector<Candidate>& out = chunk.candidates;
        // Sized at once: growing it took the helper a tenth of its time.
        out.reserve((end < starts_.size() ? starts_[end] : total_) - starts_[c * kChunk]);
        const std::vector<std::uint64_t>& first = s_.firstMet_;
        // Whether the helper has cut a trimmed size is mostly a cache miss:
        // its slot is fetched now and read after the next layout.
        std::size_t pending = out.size();
        auto cutPending = [&] {
            if (pending < out.size())
                CutAhead(out[pending], chunk.cuts);
        };
        for (std::size_t b = c * kChunk; b < end; ++b) {
            const auto [fixed, list] = blocks_[b];
            std::size_t ordinal = starts_[b];
            const std::vector<double>& values = s_.lists_[list].values;
            for (std::size_t m = 0; m < values.size(); ++m) {
                const double v = values[m];
                if (onHelper && chunks_.Abandoned())
                    return chunk;
                Candidate cand;
                const std::size_t at = ordinal++;
                if (!first.empty() && !(first[at / 64] >> (at % 64) & 1))
                    continue; // met before: the search knows it
                double PL = PanelWalk::OfLengths(list) ? v : fixed;
                double PW = PanelWalk::OfLengths(list) ? fixed : v;
                if (PL < PW)
                    std::swap(PL, PW);
                cand.laidOut = true;
                if (!onHelper && m + 1 < values.size()) // the look-up below mostly misses
                    s_.boardCache_.Prefetch(
                        KeyOf(std::max(values[m + 1], fixed), std::min(values[m + 1], fixed)));
                if (!onHelper) {
                    // Read, never added: the search adds each layout where it
                    // takes the candidate, in the order of the walk, so what
                    // its table keeps (and the layouts it counts) never
                    // depends on which thread was ahead.
                    s_.progress_.Beat();
                    const Layout* known = s_.boardCache_.Find(KeyOf(PL, PW));
                    cand.board = known ? *known
                                       : s_.boardLayouts_->Pieces(s_.job_.BothPanel, s_.BXL_,
                                                                  s_.BXW_, PL, PW);
                } else if (!first.empty()) {
                    // Each size once: no table of its own needed.
                    cand.board = memo_.Pieces(s_.job_.BothPanel, s_.BXL_, s_.BXW_, PL, PW);
                } else if (const Layout* known = boards_.Find(KeyOf(PL, PW))) {
                    cand.board = *known;
                } else {
                    if (boards_.Size() >= kBoardsKept)
                        boards_.Clear();
                    cand.board = boards_.Add(
                        KeyOf(PL, PW), memo_.Pieces(s_.job_.BothPanel, s_.BXL_, s_.BXW_, PL, PW));
                }
                cand.TL = PL;
                cand.TW = PW;
                cand.usable = s_.Trimmed(cand.board, cand.TL, cand.TW);
                if (onHelper && cand.usable) {
                    trimmedSeen_.Prefetch(KeyOf(cand.TL, cand.TW));
                    cutPending();
                    pending = out.size();
                }
                out.push_back(cand);
            }
        }
        cutPending();
        return chunk;
    }

    // The cuts of a trimmed size on every sheet, where the helper meets the
    // size first: the search needs them where the size is new to it, and
    // that is mostly where the helper meets it first.
    void CutAhead(Candidate& cand, std::vector<Layout>& cuts) {
        if (trimmedSeen_.Size() >= kTrimmedKept)
            trimmedSeen_.Clear();
        if (!trimmedSeen_.Insert(KeyOf(cand.TL, cand.TW)))
            return;
        cand.cutAt = static_cast<std::int32_t>(cuts.size());
        const std::size_t n = s_.sheets_.size();
        cuts.resize(cuts.size() + n);
        LayoutPiecesIn(s_.job_.BothBase, cand.TL, cand.TW, 0, s_.sheetSides_.data(), n,
                       cuts.data() + cand.cutAt);
    }

    Search& s_;
    const std::vector<std::pair<double, int>> blocks_;
    std::size_t total_ = 0; // candidates in all
    const std::vector<std::size_t> starts_;
    LayoutMemo memo_;          // the helper's
    FlatTable<Layout> boards_; // the helper's, where sizes are not ranked
    static constexpr std::size_t kTrimmedKept = std::size_t{1} << 20;
    KeySet trimmedSeen_; // the helper's: trimmed sizes it has cut
    std::mutex spareMutex_;
    std::vector<Chunk> spare_;
    InOrderChunks<Chunk> chunks_; // last: its helper uses the above
    Chunk current_;
    std::size_t at_ = 0;      // in current_
    std::size_t ordinal_ = 0; // of the next candidate in the walk
    const Candidate metBefore_{};
};

const Layout& Search::Board(double PL, double PW, const Layout* ahead) {
    const SizeKey key = KeyOf(PL, PW);
    if (const Layout* known = boardCache_.Find(key))
        return *known;
    ++stats_.layoutCalls;
    if (boardCache_.Size() >= kBoardsKept) { // tiny boards meet tens of millions of sizes
        boardCache_.Clear();
        ++boardsCleared_;
    }
    return boardCache_.Add(key, ahead ? *ahead
                                      : boardLayouts_->Pieces(job_.BothPanel, BXL_, BXW_, PL, PW));
}

const Layout* Search::Cuts(double PL, double PW, const Layout* ahead) {
    // The single-size stage cuts each size once (a repeat stops at
    // evaluated_); only the two-size stage cuts collected sizes again.
    const std::size_t n = sheets_.size();
    auto cut = [&](Layout* out) {
        stats_.layoutCalls += static_cast<std::int64_t>(n);
        if (ahead)
            std::copy(ahead, ahead + n, out);
        else
            LayoutPiecesIn(job_.BothBase, PL, PW, 0, sheetSides_.data(), n, out);
    };
    if (!collect_) {
        cutScratch_.resize(n);
        cut(cutScratch_.data());
        return cutScratch_.data();
    }
    // Kept flat, a run of sheets_.size() per size: freed at once when the
    // search ends or stops.
    const SizeKey key = KeyOf(PL, PW);
    if (const std::size_t* at = cutAt_.Find(key))
        return cutStore_.data() + *at;
    const std::size_t at = cutStore_.size();
    cutStore_.resize(at + n);
    cut(cutStore_.data() + at);
    cutAt_.Add(key, at);
    return cutStore_.data() + at;
}

void Search::GeneratePanelSizesLiteral() {
    if (!walk_.Steps())
        return;
    walk_.ForEachBlock([&](double fixed, int list) {
        progress_.Beat();
        const bool lengths = PanelWalk::OfLengths(list);
        walk_.ForList(list, [&](double v) {
            if (lengths)
                EvaluatePanel(v, fixed, nullptr, MetSlot(v, fixed));
            else
                EvaluatePanel(fixed, v, nullptr, MetSlot(fixed, v));
        });
    });
}

void Search::BuildLists() {
    for (int list = 0; list < PanelWalk::kListCount; ++list) {
        SideList& l = lists_[list];
        std::unordered_map<std::uint64_t, std::size_t> at;
        walk_.ForList(list, [&](double v) {
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
    }
}

void Search::GeneratePanelSizes() {
    if (!walk_.Steps())
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
        walk_.ForEachBlock([&](double fixed, int list) {
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
    if (collect_ && job_.PanelNumber == "2")
        singleShare_ = SingleStageShare(static_cast<double>(plannedWork_));
    const bool ranked = job_.AUTOPanel && RankSides(fresh);
    // Where there are two cores, a helper lays the candidates out ahead.
    std::optional<CandidatesAhead> ahead;
    if (SearchThreads() > 1 && job_.AUTOPanel && plannedWork_ >= kAheadFrom)
        ahead.emplace(*this, std::move(fresh));
    std::unordered_map<SizeKey, BlockEffect, SizeKeyHash> blocks;
    walk_.ForEachBlock([&](double fixed, int list) {
        progress_.Beat();
        const SideList& l = lists_[list];
        if (l.total == 0)
            return;
        // Past the bound a block is evaluated as if new: its candidates
        // are repeats, each taking its steps in EvaluatePanel.
        BlockEffect scratch;
        const SizeKey key{std::bit_cast<std::uint64_t>(fixed), static_cast<std::uint64_t>(list)};
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
            const bool listOfLengths = PanelWalk::OfLengths(list);
            const std::uint32_t fixedRank =
                ranked ? sideRanks_.at(std::bit_cast<std::uint64_t>(fixed)) : 0;
            const std::vector<std::uint32_t>& ranks = listRanks_[list];
            // Most look-ups of a size's layout miss the cache: the slot of
            // the candidate some places ahead is fetched now.
            constexpr std::size_t kFetchAhead = 8;
            auto fetch = [&](std::size_t at) {
                if (ranked) {
                    FetchAhead(&met_[Triangle(fixedRank, ranks[at])]);
                    return;
                }
                const double v = l.values[at];
                boardCache_.Prefetch(KeyOf(std::max(v, fixed), std::min(v, fixed)));
            };
            for (std::size_t m = 0; m < std::min(kFetchAhead, l.values.size()); ++m)
                fetch(m);
            for (std::size_t m = 0; m < l.values.size(); ++m) {
                if (m + kFetchAhead < l.values.size())
                    fetch(m + kFetchAhead);
                const std::int64_t s0 = progress_.Steps();
                const std::int64_t e0 = stats_.candidatesEvaluated;
                const Candidate* known = ahead ? &ahead->Next() : nullptr;
                // A trimmed size met first is looked up by size: fetched
                // some candidates ahead.
                if (ahead)
                    if (const Candidate* later = ahead->Peek(2); later && later->usable)
                        evaluated_.Prefetch(KeyOf(later->TL, later->TW));
                std::uint32_t* met = ranked ? &met_[Triangle(fixedRank, ranks[m])] : nullptr;
                if (listOfLengths)
                    EvaluatePanel(l.values[m], fixed, known, met);
                else
                    EvaluatePanel(fixed, l.values[m], known, met);
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
        if (plannedWork_ > 0)
            progress_.SetShareDone(singleShare_ * static_cast<double>(doneWork_) /
                                   static_cast<double>(plannedWork_));
        KeepAhead();
    });
}

void Search::TryPresetPanels() {
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

bool Search::Trimmed(const Layout& board, double& PL, double& PW) const {
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

void Search::ReleaseSingleSizeTables() {
    evaluated_ = {};
    met_ = {};
    firstMet_ = {};
    metTable_ = {};
    trimmedSteps_ = {};
    sideRanks_ = {};
    for (auto& ranks : listRanks_)
        ranks = {};
    cutAt_ = {};
    cutStore_ = {};
    for (SideList& l : lists_)
        l = SideList{};
    // Layouts depend on the size alone: the two-size rows recompute the
    // few they need.
    boardCache_ = {};
    ++boardsCleared_;
#if defined(__GLIBC__)
    // What was freed inside the heap stays with the process until trimmed:
    // the pairs' tables would grow beside it.
    malloc_trim(0);
#endif
}

bool Search::RankSides(const std::vector<std::pair<double, int>>& fresh) {
    std::vector<double> sides;
    for (const SideList& l : lists_)
        sides.insert(sides.end(), l.values.begin(), l.values.end());
    for (const auto& [fixed, list] : fresh)
        sides.push_back(fixed);
    std::sort(sides.begin(), sides.end());
    sides.erase(std::unique(sides.begin(), sides.end(),
                            [](double a, double b) {
                                return std::bit_cast<std::uint64_t>(a) ==
                                       std::bit_cast<std::uint64_t>(b);
                            }),
                sides.end());
    const std::size_t n = sides.size();
    if (n == 0 || n * (n + 1) / 2 > kTriangleKept)
        return false;
    sideRanks_.reserve(n);
    for (std::size_t r = 0; r < n; ++r)
        sideRanks_.emplace(std::bit_cast<std::uint64_t>(sides[r]), static_cast<std::uint32_t>(r));
    std::size_t candidates = 0;
    for (int list = 0; list < PanelWalk::kListCount; ++list) {
        listRanks_[list].clear();
        for (double v : lists_[list].values)
            listRanks_[list].push_back(sideRanks_.at(std::bit_cast<std::uint64_t>(v)));
    }
    for (const auto& [fixed, list] : fresh)
        candidates += lists_[list].values.size();
    met_.assign(n * (n + 1) / 2, 0);
    // Marked now, in the order of the walk, so that the helper lays out
    // only what the search will meet first; cleared again for the search.
    firstMet_.assign((candidates + 63) / 64, 0);
    std::size_t at = 0;
    for (const auto& [fixed, list] : fresh) {
        const std::uint32_t f = sideRanks_.at(std::bit_cast<std::uint64_t>(fixed));
        for (std::uint32_t r : listRanks_[list]) {
            std::uint32_t& slot = met_[Triangle(f, r)];
            if (slot == 0) {
                slot = 1;
                firstMet_[at / 64] |= std::uint64_t{1} << (at % 64);
            }
            ++at;
        }
    }
    std::fill(met_.begin(), met_.end(), 0);
    return true;
}

std::uint32_t* Search::MetSlot(double PL, double PW) {
    if (PL < PW)
        std::swap(PL, PW);
    const SizeKey key = KeyOf(PL, PW);
    if (std::uint32_t* slot = metTable_.Find(key))
        return slot;
    if (metTable_.Size() >= kMetTableKept)
        metTable_.Clear();
    return &metTable_.Add(key, std::uint32_t{0});
}

void Search::EvaluatePanel(double PL, double PW, const Candidate* known, std::uint32_t* met) {
    progress_.Beat();
    ++stats_.candidatesGenerated;
    if (PL < PW)
        std::swap(PL, PW);
    if (met && *met != 0) {
        if (*met != kUnusable) { // its trimmed size was evaluated: only its steps remain
            ++stats_.candidatesEvaluated;
            progress_.Advance(trimmedSteps_[*met - 2]);
        }
        return;
    }
    bool usable;
    if (met) {
        // Laid out once, here or ahead, and never looked up again: the
        // table of layouts is left to the grown sizes.
        ++stats_.layoutCalls;
        if (known && known->laidOut) {
            board_ = known->board;
            usable = known->usable;
            PL = known->TL;
            PW = known->TW;
        } else {
            const Layout* cached = boardCache_.Find(KeyOf(PL, PW));
            board_ = cached ? *cached : boardLayouts_->Pieces(job_.BothPanel, BXL_, BXW_, PL, PW);
            usable = Trimmed(board_, PL, PW);
        }
    } else if (known && known->laidOut) {
        board_ = Board(PL, PW, &known->board);
        usable = known->usable;
        PL = known->TL;
        PW = known->TW;
    } else {
        board_ = Board(PL, PW);
        usable = Trimmed(board_, PL, PW);
    }
    if (!usable) {
        if (met)
            *met = kUnusable;
        return;
    }
    const std::uint32_t id =
        EvaluateTrimmed(PL, PW, known && known->laidOut ? known->cuts : nullptr);
    if (met)
        *met = id + 2;
}

std::uint32_t Search::EvaluateTrimmed(double PL, double PW, const Layout* cuts) {
    ++stats_.candidatesEvaluated;
    // The sections produce the same trimmed size many times. Cutting and
    // growth depend on the size alone, so a repeat reaches the same rows,
    // each now a duplicate or again below the minimum: only its progress
    // steps remain.
    const SizeKey size = KeyOf(PL, PW);
    if (const std::uint32_t* id = evaluated_.Find(size)) {
        progress_.Advance(trimmedSteps_[*id]);
        return *id;
    }
    // A size forgotten here is cut again: the same steps, every row a
    // duplicate by then. Only the count of layouts sees it.
    if (trimmedSteps_.size() >= kEvaluatedKept)
        ForgetTrimmed();
    const std::int64_t steps0 = progress_.Steps();
    if (job_.GoodBase)
        CutOnBestSheet(1, PL, PW, cuts);
    else
        CutOnEverySheet(PL, PW, cuts);
    const auto id = static_cast<std::uint32_t>(trimmedSteps_.size());
    trimmedSteps_.push_back(progress_.Steps() - steps0);
    evaluated_.Add(size, id);
    if (job_.AUTOPanel && collect_) {
        const std::int64_t li = RoundEven(PL * 1e7), wi = RoundEven(PW * 1e7);
        if (innerKeys_.Insert({static_cast<std::uint64_t>(li), static_cast<std::uint64_t>(wi)})) {
            inner_.push_back({PL, PW, li, wi, 1 / (PL * PW)});
            RaiseMaximum();
        }
    }
    return id;
}

void Search::ForgetTrimmed() {
    evaluated_.Clear();
    trimmedSteps_.clear();
    std::fill(met_.begin(), met_.end(), 0);
    metTable_.Clear();
}

} // namespace vorn::panelsearch
