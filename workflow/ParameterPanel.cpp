#include "ParameterPanel.h"

#include "WorkRow.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QWindow>

namespace vorn {

QStringList ParametersRing() {
    return {"DBEdit1",      "DBEdit2",      "DBEdit3",   "DBEdit4",   "DBEdit5",
            "Edit5",        "DBEdit17",     "DBEdit18",  "DBEdit19",  "DBEdit20",
            "DBEdit21",     "DBEdit22",     "CheckBox1", "CheckBox2", "CheckBox3",
            "RadioButton6", "RadioButton7", "DBEdit7",   "DBEdit8"};
}

QStringList ArrayRing() {
    return {"DBEdit23", "DBEdit24", "DBEdit25", "DBEdit26", "DBEdit27", "DBEdit28",
            "DBEdit29", "DBEdit30", "DBEdit31", "DBEdit32", "DBEdit33"};
}

QStringList PartsRing() {
    return {"Edit1", "Edit2", "DBEdit6", "Edit3"};
}

bool OrderLimitPair(WorkRow& row, const char* lengthColumn, const char* widthColumn) {
    if (row.IsNull(lengthColumn) || row.IsNull(widthColumn))
        return false;
    const double l = row.Number(lengthColumn);
    const double w = row.Number(widthColumn);
    if (!(w > l))
        return false;
    row.Edit();
    row.SetNumber(lengthColumn, w);
    row.SetNumber(widthColumn, l);
    return true;
}

bool RatioRefused(const WorkRow& job) {
    return !job.IsNull("PLPW_ratio") && job.Number("PLPW_ratio") < 1;
}

namespace {

// Which field a caption moves the focus to, by the first field of its row and
// its text. Captions of shown results react to nothing; a few captions point
// at a field elsewhere on the tab, as users of the program know them.
struct Caption {
    const char* rowField;
    const char* text;
    const char* target;
};
const Caption kCaptions[] = {
    // Parameters tab.
    {"DBEdit1", QT_TRANSLATE_NOOP("ParameterPanel", "成品尺寸"), "DBEdit1"},
    {"DBEdit1", "×", "DBEdit2"},
    {"DBEdit3", QT_TRANSLATE_NOOP("ParameterPanel", "拼板间距"), "DBEdit3"},
    {"DBEdit4", QT_TRANSLATE_NOOP("ParameterPanel", "边距限制"), "DBEdit4"},
    {"DBEdit4", QT_TRANSLATE_NOOP("ParameterPanel", "左右"), "DBEdit4"},
    {"DBEdit4", QT_TRANSLATE_NOOP("ParameterPanel", "上下"), "DBEdit5"},
    {"Edit5", QT_TRANSLATE_NOOP("ParameterPanel", "Panel种类"), "DBEdit19"},
    {"DBEdit17", QT_TRANSLATE_NOOP("ParameterPanel", "最大Panel"), "DBEdit17"},
    {"DBEdit17", "×", "DBEdit18"},
    {"DBEdit19", QT_TRANSLATE_NOOP("ParameterPanel", "最小Panel"), "DBEdit19"},
    {"DBEdit19", "×", "DBEdit20"},
    {"DBEdit21", QT_TRANSLATE_NOOP("ParameterPanel", "Panel 最大长宽比例"), "DBEdit21"},
    {"DBEdit22", QT_TRANSLATE_NOOP("ParameterPanel", "最低板材利用率限制"), "DBEdit22"},
    {"DBEdit22", "%", "DBEdit20"},
    {"DBEdit7", "×", "DBEdit8"},
    {"DBEdit15", "Pas/Panel", "DBEdit18"},
    {"DBEdit16", "%", "DBEdit18"},
    {"DBEdit11", "×", "DBEdit18"},
    {"DBEdit13", "Panel/Sheet", "DBEdit18"},
    {"DBEdit14", "%", "DBEdit18"},
    // Array tab.
    {"DBEdit23", QT_TRANSLATE_NOOP("ParameterPanel", "单元尺寸"), "DBEdit23"},
    {"DBEdit23", "×", "DBEdit24"},
    {"DBEdit25", QT_TRANSLATE_NOOP("ParameterPanel", "拼板间距"), "DBEdit25"},
    {"DBEdit26", QT_TRANSLATE_NOOP("ParameterPanel", "边距  左右"), "DBEdit26"},
    {"DBEdit26", QT_TRANSLATE_NOOP("ParameterPanel", "上下"), "DBEdit27"},
    {"DBEdit28", QT_TRANSLATE_NOOP("ParameterPanel", "最大成品尺寸"), "DBEdit28"},
    {"DBEdit28", "×", "DBEdit29"},
    {"DBEdit30", QT_TRANSLATE_NOOP("ParameterPanel", "最小成品尺寸"), "DBEdit30"},
    {"DBEdit30", "×", "DBEdit31"},
    {"DBEdit32", QT_TRANSLATE_NOOP("ParameterPanel", "成品尺寸"), "DBEdit32"},
    {"DBEdit32", "×", "DBEdit33"},
    {"DBEdit34", QT_TRANSLATE_NOOP("ParameterPanel", "拼板数量"), "DBEdit34"},
    {"DBEdit35", QT_TRANSLATE_NOOP("ParameterPanel", "利 用 率"), "DBEdit35"},
    // Parts tab (the date is shown, not typed).
    {"Edit1", QT_TRANSLATE_NOOP("ParameterPanel", "部件编号"), "Edit1"},
    {"Edit2", QT_TRANSLATE_NOOP("ParameterPanel", "客户型号"), "Edit2"},
    {"DBEdit6", QT_TRANSLATE_NOOP("ParameterPanel", "板  层  数"), "DBEdit6"},
    {"Edit3", QT_TRANSLATE_NOOP("ParameterPanel", "操  作  员"), "Edit3"},
};

// Captions known by their control: "Panel尺寸" changes its text with the
// panel shown; "示意图" heads the diagram.
const Caption kNamedCaptions[] = {
    {"", "Label24", "DBEdit7"},
    {"", "Label33", "DBEdit17"},
};

bool IsField(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

bool LeavesField(const QKeyEvent* key) {
    return IsEnter(key) || key->key() == Qt::Key_Down || key->key() == Qt::Key_Up ||
           key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
}

bool IsModifierOnly(const QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

// Focus changes the user makes, not those of windows coming and going.
bool ByUser(const QEvent* event) {
    const Qt::FocusReason r = static_cast<const QFocusEvent*>(event)->reason();
    return r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason;
}

} // namespace

ParameterPanel::ParameterPanel(QWidget* window, Hooks hooks)
    : QObject(window), window_(window), hooks_(std::move(hooks)) {
    ratio_ = window_->findChild<QLineEdit*>(QStringLiteral("DBEdit21"));
    MapCaptions();
    // One filter for the whole application: the keys and focus changes of
    // the panel's fields, the caption clicks, and the ratio check, which
    // holds the focus against every other control's click.
    qApp->installEventFilter(this);
    // A field reached by the keyboard is scrolled into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || !window_->isAncestorOf(now))
            return;
        for (QWidget* p = now->parentWidget(); p && p != window_; p = p->parentWidget()) {
            if (auto* area = qobject_cast<QScrollArea*>(p)) {
                area->ensureWidgetVisible(now, 0, 4);
                return;
            }
        }
    });
}

ParameterPanel::~ParameterPanel() {
    qApp->removeEventFilter(this);
}

QWidget* ParameterPanel::Field(const char* name) const {
    return window_->findChild<QWidget*>(QString::fromLatin1(name));
}

void ParameterPanel::MapCaptions() {
    auto add = [this](QLabel* label, const char* target) {
        captions_.insert(label, QString::fromLatin1(target));
    };
    for (const char* page : {"TabSheet1", "TabSheet2", "TabSheet4"}) {
        QWidget* p = Field(page);
        if (!p)
            continue;
        for (QGridLayout* g : p->findChildren<QGridLayout*>()) {
            for (int i = 0; i < g->count(); ++i) {
                auto* label = qobject_cast<QLabel*>(g->itemAt(i)->widget());
                if (!label)
                    continue;
                int row = 0, column = 0, rows = 0, columns = 0;
                g->getItemPosition(i, &row, &column, &rows, &columns);
                QString rowField;
                for (int c = 0; c < g->columnCount() && rowField.isEmpty(); ++c) {
                    QLayoutItem* item = g->itemAtPosition(row, c);
                    if (item && IsField(item->widget()))
                        rowField = item->widget()->objectName();
                }
                for (const Caption& c : kCaptions) {
                    if (rowField == QLatin1String(c.rowField) &&
                        label->text() == QCoreApplication::translate("ParameterPanel", c.text)) {
                        add(label, c.target);
                        break;
                    }
                }
            }
        }
        for (QLabel* label : p->findChildren<QLabel*>())
            if (label->text() == QCoreApplication::translate("ParameterPanel", "备注"))
                add(label, "Memo1");
    }
    for (const Caption& c : kNamedCaptions)
        if (auto* label = window_->findChild<QLabel*>(QString::fromLatin1(c.text)))
            add(label, c.target);
}

void ParameterPanel::FocusField(QWidget* w) {
    // A field on another page cannot take the focus.
    if (w && w->isVisible() && w->isEnabled())
        w->setFocus(Qt::TabFocusReason);
}

bool ParameterPanel::RatioBad() {
    WorkRow* job = hooks_.job ? hooks_.job() : nullptr;
    if (!job || !job->IsOpen())
        return false;
    job->CommitFields();
    return RatioRefused(*job);
}

void ParameterPanel::RefuseRatio() {
    if (refusing_)
        return;
    refusing_ = true;
    QMessageBox::information(window_, QStringLiteral("Vorn"), RatioMessage(), QMessageBox::Ok);
    refusing_ = false;
    window_->activateWindow();
    FocusField(ratio_);
}

bool ParameterPanel::AcceptRatio() {
    if (!RatioBad())
        return true;
    RefuseRatio();
    return false;
}

void ParameterPanel::SettleFocusedField() {
    // The window's focus field, also while a message box has the activation.
    QWidget* w = window_->focusWidget();
    if (w && w != ratio_ && window_->isAncestorOf(w) && IsField(w))
        Left(w);
}

bool ParameterPanel::Navigate(QWidget* from, const QKeyEvent* key) {
    const bool forward = IsEnter(key) || key->key() == Qt::Key_Down;
    if (!forward && key->key() != Qt::Key_Up)
        return false;
    const QString name = from->objectName();
    for (const QStringList& ring : {ParametersRing(), ArrayRing(), PartsRing()}) {
        const qsizetype i = ring.indexOf(name);
        if (i < 0)
            continue;
        // Up in the array tab's first field stays there.
        if (!forward && i == 0 && ring == ArrayRing())
            return true;
        const qsizetype n = ring.size();
        // Controls hidden or disabled are passed over.
        for (qsizetype step = 1; step < n; ++step) {
            const qsizetype j = forward ? (i + step) % n : (i - step + n) % n;
            QWidget* to = window_->findChild<QWidget*>(ring[j]);
            if (to && to->isVisible() && to->isEnabled()) {
                to->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
        return true;
    }
    return false;
}

bool ParameterPanel::PanelKindKey(QKeyEvent* key) {
    auto* spin = qobject_cast<QSpinBox*>(Field("Edit5"));
    switch (key->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true; // the count changes only when the user types or clicks it
    case Qt::Key_Backspace:
        return false;
    default:
        break;
    }
    const QString t = key->text();
    if (t == QLatin1String("1") || t == QLatin1String("2")) {
        spin->setValue(t.toInt());
        spin->selectAll();
        return true;
    }
    // Keys without a character act as usual; every other character is dropped.
    return !t.isEmpty() && t.at(0).isPrint();
}

bool ParameterPanel::KeyInRing(QWidget* w, QKeyEvent* key) {
    if (w == ratio_ && LeavesField(key) && !refusing_ && RatioBad()) {
        RefuseRatio();
        return true;
    }
    auto* edit = qobject_cast<QLineEdit*>(w);
    // The panel size fields while they show panel 2.
    if (edit && edit->isReadOnly() &&
        (w->objectName() == QLatin1String("DBEdit7") ||
         w->objectName() == QLatin1String("DBEdit8"))) {
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || IsModifierOnly(key))
            return false;
        Navigate(w, key);
        QMessageBox::warning(window_, QStringLiteral("Vorn"), Panel2SizeMessage(), QMessageBox::Ok);
        window_->activateWindow();
        return true;
    }
    const bool navigation = IsEnter(key) || key->key() == Qt::Key_Down || key->key() == Qt::Key_Up;
    if (!navigation)
        return w->objectName() == QLatin1String("Edit5") && PanelKindKey(key);
    if (edit && IsEnter(key)) {
        // The field takes Enter first (a bound field writes its column on it).
        forwarding_ = true;
        QCoreApplication::sendEvent(w, key);
        forwarding_ = false;
    }
    return Navigate(w, key);
}

void ParameterPanel::Left(QWidget* w) {
    const QString table = w->property("vornTable").toString();
    WorkRow* row = nullptr;
    if (table == QLatin1String("TempInput") && hooks_.job)
        row = hooks_.job();
    else if (table == QLatin1String("TempInputCus") && hooks_.array)
        row = hooks_.array();
    if (!row || !row->IsOpen())
        return;
    // Leaving writes the typed text first, then checks the written value.
    row->CommitFields();
    const QString name = w->objectName();
    for (const LimitPair& p : kLimitPairs) {
        if (name == QLatin1String(p.lengthField) || name == QLatin1String(p.widthField)) {
            OrderLimitPair(*row, p.lengthColumn, p.widthColumn);
            return;
        }
    }
    if (w == ratio_) {
        // The guard stops the user's ways out; any other way out is undone.
        if (!refusing_ && RatioRefused(*row)) {
            refusePending_ = true;
            QTimer::singleShot(0, this, [this] {
                if (refusePending_ && RatioBad())
                    RefuseRatio();
                refusePending_ = false;
            });
        }
        return;
    }
    if ((name == QLatin1String("DBEdit1") || name == QLatin1String("DBEdit2")) &&
        hooks_.boardSizeLeft)
        hooks_.boardSizeLeft();
}

bool ParameterPanel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        // While the ratio field holds a refused value nothing else takes a
        // click (scroll bars excepted, so the field can be brought into
        // view). The press is stopped where it reaches the window, before
        // the application moves the focus to the control under the mouse.
        if (watched == window_->windowHandle() && ratio_ && !refusing_ &&
            window_->focusWidget() == ratio_) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            QWidget* target = window_->childAt(at);
            if (target != ratio_ && !qobject_cast<QScrollBar*>(target) && RatioBad()) {
                RefuseRatio();
                return true;
            }
        }
        // A press sent straight to a control has moved the focus already:
        // the ratio field, just left with a refused value, takes it back and
        // the press goes nowhere.
        if (refusePending_ && watched->isWidgetType()) {
            refusePending_ = false;
            RefuseRatio();
            return true;
        }
        if (type == QEvent::MouseButtonPress && watched->isWidgetType()) {
            const auto it = captions_.constFind(static_cast<QWidget*>(watched));
            if (it != captions_.cend() &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                FocusField(window_->findChild<QWidget*>(*it));
        }
        return false;
    }
    if (!watched->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    switch (type) {
    case QEvent::KeyPress:
        if (forwarding_ || !window_->isAncestorOf(w))
            return false;
        if (!ParametersRing().contains(w->objectName()) && !ArrayRing().contains(w->objectName()) &&
            !PartsRing().contains(w->objectName()))
            return false;
        return KeyInRing(w, static_cast<QKeyEvent*>(event));
    case QEvent::Wheel: {
        // The wheel does not change the panel-kind count behind the user's back.
        const QWidget* count = w->objectName() == QLatin1String("Edit5") ? w : w->parentWidget();
        return count && count->objectName() == QLatin1String("Edit5") &&
               window_->isAncestorOf(count);
    }
    case QEvent::FocusIn:
        if (ByUser(event) && hooks_.boardSizeEntered &&
            (w->objectName() == QLatin1String("DBEdit1") ||
             w->objectName() == QLatin1String("DBEdit2")) &&
            window_->isAncestorOf(w))
            hooks_.boardSizeEntered();
        return false;
    case QEvent::FocusOut:
        if (ByUser(event) && window_->isAncestorOf(w) && IsField(w))
            Left(w);
        return false;
    default:
        return false;
    }
}

} // namespace vorn
