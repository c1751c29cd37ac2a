#include "SearchProgress.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <climits>
#include <cmath>

namespace vorn {

EscWatcher::EscWatcher(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

EscWatcher::~EscWatcher() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool EscWatcher::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
            held_ = type == QEvent::KeyPress;
            if (held_)
                pressed_ = true;
        }
    } else if (type == QEvent::ApplicationDeactivate) {
        // A release may go to another program.
        held_ = false;
    }
    return QObject::eventFilter(watched, event);
}

QString PercentText(std::int64_t position, std::int64_t maximum) {
    if (maximum <= 0)
        return QStringLiteral("100%");
    const double percent = std::nearbyint(double(position) * 100.0 / double(maximum));
    return QString::number(qint64(percent)) + u'%';
}

BarRange ScaleToBar(std::int64_t position, std::int64_t maximum) {
    // QProgressBar takes int: a 64-bit maximum is scaled down, never clamped
    // (a clamped maximum left the bar full while most of the work remained).
    maximum = std::max<std::int64_t>(maximum, 0);
    position = std::clamp<std::int64_t>(position, 0, maximum);
    if (maximum <= INT_MAX)
        return {int(position), int(maximum)};
    const double scale = double(INT_MAX) / double(maximum);
    // Full only at the end.
    const auto p = std::min<std::int64_t>(std::int64_t(double(position) * scale), INT_MAX - 1);
    return {position == maximum ? INT_MAX : int(p), INT_MAX};
}

namespace {
QString Clock(std::int64_t ms) {
    const std::int64_t s = ms / 1000;
    const QString mmss =
        QStringLiteral("%1:%2").arg(s / 60 % 60).arg(s % 60, 2, 10, QLatin1Char('0'));
    return s >= 3600 ? QStringLiteral("%1:%2").arg(s / 3600).arg(mmss.rightJustified(5, u'0'))
                     : mmss;
}
} // namespace

QString TimeText(std::int64_t elapsedMs, std::int64_t position, std::int64_t maximum) {
    QString text = QCoreApplication::translate("SearchProgress", "已用 ") + Clock(elapsedMs);
    if (maximum > 0 && position < maximum && elapsedMs >= 2000 &&
        double(position) >= 0.02 * double(maximum)) {
        const double left = double(elapsedMs) * double(maximum - position) / double(position);
        text +=
            QCoreApplication::translate("SearchProgress", "，剩余约 ") + Clock(std::int64_t(left));
    }
    return text;
}

namespace {
// Steps between two looks at the clock: about one look per millisecond.
constexpr std::int64_t kCheckIntervalNs = 1'000'000;
} // namespace

BoxProgress::BoxProgress(QProgressBar* bar, QLabel* percent, std::function<void()> checkCancel)
    : bar_(bar), percent_(percent), checkCancel_(std::move(checkCancel)) {
    clock_.start();
}

void BoxProgress::Show() {
    // Where the engine says what share of its work is done (its stages run
    // at very different speeds per step), the bar shows that, in millionths.
    constexpr std::int64_t kShareScale = 1'000'000;
    const std::int64_t maximum = ShareSaid() ? kShareScale : Maximum();
    const std::int64_t position =
        ShareSaid() ? std::int64_t(std::nearbyint(ShareDone() * kShareScale)) : Position();
    const BarRange r = ScaleToBar(position, maximum);
    bar_->setMaximum(r.maximum);
    bar_->setValue(r.position);
    percent_->setText(PercentText(position, maximum));
    if (time_)
        time_->setText(TimeText(clock_.elapsed(), position, maximum));
}

void BoxProgress::Fill() {
    longestGapNs_ = LongestGapNanoseconds();
    lastLookEndNs_ = clock_.nsecsElapsed();
    bar_->setMaximum(ScaleToBar(Maximum(), Maximum()).maximum);
    bar_->setValue(bar_->maximum());
    percent_->setText(PercentText(Maximum(), Maximum()));
    QCoreApplication::processEvents();
}

void BoxProgress::Look(std::int64_t now) {
    longestGapNs_ = std::max(longestGapNs_, now - lastLookEndNs_);
    if (firstLookNs_ < 0)
        firstLookNs_ = now;
    Show();
    ++looks_;
    struct Account { // counted also when the check throws
        BoxProgress& p;
        std::int64_t start;
        ~Account() { p.lookNs_ += p.clock_.nsecsElapsed() - start; }
    } account{*this, now};
    checkCancel_(); // may throw SearchCancelled
    lastLookNs_ = clock_.nsecsElapsed();
    lastLookEndNs_ = lastLookNs_;
}

std::int64_t BoxProgress::LongestGapNanoseconds() const {
    return std::max<std::int64_t>(longestGapNs_, clock_.nsecsElapsed() - lastLookEndNs_);
}

void BoxProgress::LookNow() {
    Look(clock_.nsecsElapsed());
}

std::int64_t BoxProgress::Idle() {
    const std::int64_t now = clock_.nsecsElapsed();
    if (lastLookNs_ < 0 || now - lastLookNs_ >= kLookIntervalNs)
        Look(now);
    // A beat's cost varies from a hash lookup to the layout of a huge panel:
    // the clock is read every few beats (it costs less than the cheapest),
    // and at every beat while beats take milliseconds.
    const bool slow = now - idleNs_ > 2'000'000;
    idleNs_ = clock_.nsecsElapsed();
    return slow ? 1 : kBeatsPerIdle;
}

std::int64_t BoxProgress::Check(std::int64_t steps) {
    const std::int64_t now = clock_.nsecsElapsed();
    if (lastLookNs_ < 0 || now - lastLookNs_ >= kLookIntervalNs) {
        Look(now);
        lastCheckNs_ = lastLookNs_;
        lastCheckSteps_ = steps;
        return interval_;
    }
    // Adapt the steps between calls to the search's speed.
    const std::int64_t elapsed = std::max<std::int64_t>(1, now - lastCheckNs_);
    const std::int64_t ran = std::max<std::int64_t>(1, steps - lastCheckSteps_);
    const double perNs = double(ran) / double(elapsed);
    // Steps come at very uneven speeds (the engine takes the steps of pairs it
    // passes over in bulk): shrink at once, grow at most twofold, so a burst
    // of cheap steps cannot push the next look far into slow work.
    const auto wanted = std::int64_t(perNs * kCheckIntervalNs);
    interval_ = std::clamp<std::int64_t>(std::min(wanted, 2 * interval_), 1, 1 << 16);
    lastCheckNs_ = now;
    lastCheckSteps_ = steps;
    return interval_;
}

} // namespace vorn
