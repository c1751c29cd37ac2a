#pragma once
// The left pane as a user types into it: Enter and the arrow keys walk each
// tab's ring of controls, caption labels move the focus to their field, the
// limit pairs are kept in order and the length/width ratio is checked when a
// field is left, the board size fields report their entry and exit, and the
// panel-kind count changes only by typing "1" or "2" or by its arrows.

#include <QCoreApplication>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QEvent;
class QKeyEvent;
class QLineEdit;
class QWidget;

namespace vorn {

class WorkRow;

// The three rings, in the order Enter and Down walk them.
QStringList ParametersRing();
QStringList ArrayRing();
QStringList PartsRing();

// The limit pairs kept in order (length ≥ width): field names and columns.
struct LimitPair {
    const char* lengthField;
    const char* widthField;
    const char* lengthColumn;
    const char* widthColumn;
    bool arrayRow;
};
inline constexpr LimitPair kLimitPairs[] = {
    {"DBEdit17", "DBEdit18", "Max_PL", "Max_PW", false},
    {"DBEdit19", "DBEdit20", "Min_PL", "Min_PW", false},
    {"DBEdit28", "DBEdit29", "Max_SetL", "Max_SetW", true},
    {"DBEdit30", "DBEdit31", "Min_SetL", "Min_SetW", true},
};

// Exchanges the two columns when the width is the larger; both must hold a
// value (an empty side is left for the user to fill). True when exchanged;
// the row is then in edit mode.
bool OrderLimitPair(WorkRow& row, const char* lengthColumn, const char* widthColumn);

// The ratio refused by the exit check: a value below 1 (an empty field is not
// checked).
bool RatioRefused(const WorkRow& job);

inline QString RatioMessage() {
    return QCoreApplication::translate("ParameterPanel", "   请给出一个不小于\"1\"的数值 ！   ");
}
inline QString Panel2SizeMessage() {
    return QCoreApplication::translate("ParameterPanel",
                                       "要进行给定坯板尺寸的拼板请转到“Panel1尺寸”输入数据");
}

class ParameterPanel : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<WorkRow*()> job;
        std::function<WorkRow*()> array;
        // `Set_L` or `Set_W` of the job got the focus / lost it.
        std::function<void()> boardSizeEntered;
        std::function<void()> boardSizeLeft;
    };
    // `window` holds the fields by their control names; the panel watches
    // them and, for the ratio check, every mouse press of the application.
    ParameterPanel(QWidget* window, Hooks hooks);
    ~ParameterPanel() override;

    // Runs the ratio check as leaving the field does: false after the
    // message, with the focus put back in the field. Commands that read the
    // ratio ask first.
    bool AcceptRatio();
    // Runs the exit checks of the field that has the focus as if it were
    // left now (the ratio check excepted): for commands that change the job
    // row while the user is still in a field.
    void SettleFocusedField();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MapCaptions();
    bool Navigate(QWidget* from, const QKeyEvent* key);
    bool KeyInRing(QWidget* w, QKeyEvent* key);
    bool PanelKindKey(QKeyEvent* key);
    void Left(QWidget* w);
    bool RatioBad();
    void RefuseRatio();
    void FocusField(QWidget* w);
    QWidget* Field(const char* name) const;

    QWidget* window_;
    Hooks hooks_;
    QPointer<QLineEdit> ratio_;
    QHash<const QWidget*, QString> captions_;
    bool forwarding_ = false;
    bool refusing_ = false;
    // The ratio field lost the focus with a refused value; the refusal
    // follows at once.
    bool refusePending_ = false;
};

} // namespace vorn
