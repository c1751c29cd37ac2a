#pragma once
// The defaults window: edits the job's own rows and the search options, stores
// them as the defaults of every new job, or puts the stored defaults back.

#include "PanelJob.h"
#include "WorkRow.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

class QAction;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace vorn {

// The window's own state that undo returns to.
struct DefaultsWindowState {
    SearchOptions options;
    QString company;
    bool operator==(const DefaultsWindowState&) const = default;
};

class TForm9 : public QDialog {
    Q_OBJECT
public:
    // Posts the job row and the array row first; both must be open.
    explicit TForm9(DefaultsHost& host, QWidget* parent = nullptr);

    // "设为默认值", "撤消编辑", "恢复默认值", "退出".
    void StoreDefaults();
    void UndoEdits();
    void RestoreDefaults();

    QAction* StoreAction() const { return store_; }
    QAction* UndoAction() const { return undo_; }
    QAction* RestoreAction() const { return restore_; }
    QAction* CloseAction() const { return close_; }
    DefaultsWindowState State() const;

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildJobGroup();
    QWidget* BuildArrayGroup();
    QWidget* BuildCompanyGroup();
    void SetState(const DefaultsWindowState& state);
    void Remember();
    void Changed();
    // Store and restore run through this: an error is shown, the window stays.
    void Guarded(void (TForm9::*command)());

    DefaultsHost& host_;
    DefaultsWindowState saved_;
    bool settingUp_ = true;

    QAction* store_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* restore_ = nullptr;
    QAction* close_ = nullptr;
    QSpinBox* panelKinds_ = nullptr;
    QRadioButton* autoPanel_ = nullptr;
    QRadioButton* setPanel_ = nullptr;
    QRadioButton* bestBase_ = nullptr;
    QRadioButton* allBases_ = nullptr;
    QCheckBox* bothPanel_ = nullptr;
    QCheckBox* bothBase_ = nullptr;
    QCheckBox* tooling_ = nullptr;
    PackingOption packing_ = PackingOption::Off;
    QLineEdit* company_ = nullptr;
};

// Sets the job row's eleven entries and the array row's nine from the list,
// lengths in the display unit. A bad entry takes its built-in value and its
// message is appended to `problems` (NewJob.h); without a list it throws
// std::runtime_error.
void ApplyJobDefaults(const DefaultsList& list, WorkRow& job, bool mm,
                      QStringList* problems = nullptr);
void ApplyArrayDefaults(const DefaultsList& list, WorkRow& array, bool mm,
                        QStringList* problems = nullptr);
// The options a defaults list gives.
SearchOptions OptionsFromDefaults(const DefaultsList& list, QStringList* problems = nullptr);
// One warning box listing the problems of the defaults file; none when empty.
void ReportDefaultsProblems(QWidget* parent, const QStringList& problems);

} // namespace vorn
