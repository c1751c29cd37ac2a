#pragma once
// What a search talks to while it runs: a sink that receives every row as it
// is written, and a progress object that counts steps and may cancel.

#include "ResultRow.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>
#include <vector>

namespace vorn {

// The most rows a panel search writes: each takes about 1.2 KB on its way
// to the sorted list, so this keeps a search under 2 GB. Only boards of a
// millimetre or less with a low Min_lv come near it.
inline constexpr std::int64_t kMaxSearchRows = 1'500'000;

// Receives the rows of a panel search in the order they are written.
class ResultSink {
public:
    virtual ~ResultSink() = default;
    virtual void Write(const ResultRow& row) = 0;
    // The most rows it can hold; the search stops with SearchTooLarge
    // before writing one more.
    virtual std::int64_t MaxRows() const { return kMaxSearchRows; }
};

// Receives the rows of an array search in the order they are written.
class ArraySink {
public:
    virtual ~ArraySink() = default;
    virtual void Write(const ArrayRow& row) = 0;
};

// Sinks that keep every row in the order written (tools, tests, benchmarks).
struct CollectedRows : ResultSink {
    std::vector<ResultRow> rows;
    void Write(const ResultRow& row) override {
        // Past some tens of thousands of rows, room for as many as the search
        // may write, once: doubling a million rows held both copies at once
        // (the peak of the search), while room never written to takes no
        // memory.
        constexpr std::size_t kGrowToMost = 65536;
        const std::int64_t most = std::min(MaxRows(), kMaxSearchRows);
        if (rows.size() == rows.capacity() && rows.size() >= kGrowToMost &&
            most > static_cast<std::int64_t>(rows.size()))
            rows.reserve(static_cast<std::size_t>(most));
        rows.push_back(row);
    }
};
struct CollectedArrays : ArraySink {
    std::vector<ArrayRow> rows;
    void Write(const ArrayRow& row) override { rows.push_back(row); }
};

// Thrown from SearchProgress::Check to abandon the running search. The search
// holds no state outside its own stack, so the exception unwinds it cleanly;
// rows already handed to the sink are complete and the caller discards them.
class SearchCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "search cancelled"; }
};

// Thrown by a panel search whose plans would not fit in memory (more than
// its sink's MaxRows() reach Min_lv); the rows written so far are discarded.
class SearchTooLarge : public std::exception {
public:
    explicit SearchTooLarge(std::int64_t rows) : rows_(rows) {}
    const char* what() const noexcept override { return "too many plans"; }
    std::int64_t Rows() const { return rows_; }

private:
    std::int64_t rows_;
};

// Progress of a search. The engine calls Step() once per unit of work: an
// increment and a compare. Only when the count reaches the next check point is
// the virtual Check() called, where a window repaints, looks at the keyboard
// and may throw SearchCancelled.
class SearchProgress {
public:
    virtual ~SearchProgress() = default;

    void Step() {
        if (++steps_ >= nextCheck_)
            nextCheck_ = steps_ + std::max<std::int64_t>(1, Check(steps_));
    }
    // n steps at once, with Check called at the same counts as n Step() calls.
    void Advance(std::int64_t n) {
        while (n > 0) {
            const std::int64_t run = std::min(n, nextCheck_ - steps_);
            steps_ += run;
            n -= run;
            if (steps_ >= nextCheck_)
                nextCheck_ = steps_ + std::max<std::int64_t>(1, Check(steps_));
        }
    }
    // A unit of work that is no progress step (a candidate refused before
    // cutting, a list entry, a block of candidates): Idle() is called when
    // the beats reach its next call, so a window can repaint and look at Esc
    // in phases without steps.
    void Beat() {
        if (++beats_ >= nextIdle_)
            nextIdle_ = beats_ + std::max<std::int64_t>(1, Idle());
    }

    // A phase of the work ends (the search, then the table's sorting): a
    // window looks now.
    void EndPhase() { PhaseEnded(); }

    std::int64_t Steps() const { return steps_; }
    std::int64_t Maximum() const { return maximum_; }
    // The bar's position: steps so far, held at the maximum.
    std::int64_t Position() const { return std::min(steps_, maximum_); }

    // The share of the work done, 0 ... 1, as the bar shows it: what the
    // engine last said (SetShareDone: its stages run at very different speeds
    // per step), else the steps over the maximum.
    double ShareDone() const {
        if (shareDone_ >= 0)
            return shareDone_;
        return maximum_ > 0 ? static_cast<double>(Position()) / static_cast<double>(maximum_) : 1;
    }
    // Never moves the bar back.
    void SetShareDone(double share) { shareDone_ = std::max(shareDone_, std::min(share, 1.0)); }
    bool ShareSaid() const { return shareDone_ >= 0; }

    // The engine raises the maximum as the search learns its size.
    void SetMaximum(std::int64_t maximum) {
        maximum_ = maximum;
        MaximumChanged(maximum);
    }

protected:
    // Called at a check point with the step count; returns how many steps to
    // run before the next call (at least 1). May throw SearchCancelled.
    virtual std::int64_t Check(std::int64_t steps) = 0;
    virtual void MaximumChanged(std::int64_t) {}
    // Called at a beat; returns how many beats to run before the next call.
    // May throw SearchCancelled.
    virtual std::int64_t Idle() { return std::numeric_limits<std::int64_t>::max() / 2; }
    virtual void PhaseEnded() {}

private:
    std::int64_t beats_ = 0, nextIdle_ = 1;
    std::int64_t steps_ = 0;
    std::int64_t nextCheck_ = 1;
    std::int64_t maximum_ = 0;
    double shareDone_ = -1; // not said
};

// Progress that never looks at anything: batch runs and tests.
class NoProgress : public SearchProgress {
protected:
    std::int64_t Check(std::int64_t) override {
        return std::numeric_limits<std::int64_t>::max() / 2;
    }
};

} // namespace vorn
