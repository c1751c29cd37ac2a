#pragma once
// The progress box of a search running on the window's thread, and the Esc
// key as the searches see it.

#include "SearchInterfaces.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class QLabel;
class QProgressBar;

namespace vorn {

// Records Esc presses for the whole application. A key press seen since the
// last look counts as "down", so a short tap between two looks is not lost.
class EscWatcher : public QObject {
    Q_OBJECT
public:
    // Installs itself on the application.
    explicit EscWatcher(QObject* parent = nullptr);
    ~EscWatcher() override;

    // True when Esc is held or was pressed since the last Forget().
    bool IsDown() const { return held_ || pressed_; }
    // At the start of a search: an earlier tap does not count.
    void Forget() { pressed_ = false; }
    // After the question: only a new press counts. The release of the key
    // that raised the question may never arrive here (it is dropped while
    // the box blocks the window), so the key counts as up.
    void Answered() { held_ = pressed_ = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool held_ = false;
    bool pressed_ = false;
};

// "42%": round(position x 100 / maximum); a maximum of 0 reads as full.
QString PercentText(std::int64_t position, std::int64_t maximum);

// A 64-bit position and maximum in a QProgressBar's int range: proportional,
// and full only when the position reaches the maximum.
struct BarRange {
    int position, maximum;
};
BarRange ScaleToBar(std::int64_t position, std::int64_t maximum);

// "已用 0:12，剩余约 1:05": the time taken and, once a share of the work is
// done (2 % and 2 s), the time left at the rate so far.
QString TimeText(std::int64_t elapsedMs, std::int64_t position, std::int64_t maximum);

// Moves the bar and the label of the progress box. The engine steps it
// millions of times a second; only every ~50 ms (and at the first step) does
// it show the position and run the cancel check, which lets the window
// process its events. Phases without steps beat instead (Idle), with looks
// at the same rate. A cancel check may throw SearchCancelled.
class BoxProgress : public SearchProgress {
public:
    BoxProgress(QProgressBar* bar, QLabel* percent, std::function<void()> checkCancel);

    // The label that shows the time taken and, once it can be estimated,
    // the time left.
    void SetTimeLabel(QLabel* label) { time_ = label; }
    // Shows the current position now.
    void Show();
    // The final fill: the bar to its maximum and "100%".
    void Fill();
    // Repaints and cancel checks run so far.
    int Looks() const { return looks_; }
    // Time spent showing the box and processing events (and in the question).
    std::int64_t LookNanoseconds() const { return lookNs_; }

    // The longest time between two looks (or from the start to the first,
    // or from the last to now).
    std::int64_t LongestGapNanoseconds() const;
    std::int64_t FirstLookNanoseconds() const { return firstLookNs_; }

    static constexpr std::int64_t kLookIntervalNs = 50'000'000;
    static constexpr std::int64_t kBeatsPerIdle = 8;

    // A look now: the box shown and the events processed (and Esc seen).
    void LookNow();

protected:
    std::int64_t Check(std::int64_t steps) override;
    // Work without steps: looks at the same rate as the steps do.
    std::int64_t Idle() override;
    void PhaseEnded() override { LookNow(); }

private:
    QProgressBar* bar_;
    QLabel* percent_;
    QLabel* time_ = nullptr;
    std::function<void()> checkCancel_;
    QElapsedTimer clock_;
    std::int64_t lastLookNs_ = -1;
    std::int64_t lastCheckNs_ = 0;
    std::int64_t lastCheckSteps_ = 0;
    std::int64_t interval_ = 1;
    int looks_ = 0;
    std::int64_t lookNs_ = 0;
    std::int64_t idleNs_ = 0; // the last Idle call
    std::int64_t longestGapNs_ = 0, lastLookEndNs_ = 0, firstLookNs_ = -1;

    void Look(std::int64_t now);
};

} // namespace vorn
