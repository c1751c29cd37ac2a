#pragma once
// The defaults window: edits the job's own rows and the search options, stores
// them as the defaults of every new job, or puts the stored defaults back.

#include "PanelJob.h"

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

class DefaultsList;

// One row of a working table as the windows use it: the job row of
// `TempInput` or the array row of `TempInputCus`.
class WorkRow {
public:
    virtual ~WorkRow() = default;
    virtual bool IsOpen() const = 0;
    // Closes and reopens the table and appends the one row (insert state).
    virtual void Restart() = 0;
    virtual void Edit() = 0;
    virtual void Post() = 0;
    // Drops the changes since the last post.
    virtual void Cancel() = 0;
    // True while the row holds changes not yet posted.
    virtual bool IsModified() const = 0;
    virtual bool IsNull(const char* column) const = 0;
    // A null number reads as 0.
    virtual double Number(const char* column) const = 0;
    // The column's value as shown, in its display format.
    virtual QString Text(const char* column) const = 0;
    // No value makes the column null.
    virtual void SetNumber(const char* column, std::optional<double> value) = 0;
    // Empties every column but the named ones.
    virtual void ClearAllExcept(const QStringList& keep) = 0;
    // The field shows the column in its display format and edits it.
    virtual void Bind(QLineEdit* field, const char* column) = 0;
    // Writes text still being typed in bound fields into the row.
    virtual void CommitFields() = 0;
};

// The panel-kind count and the search options of a window.
struct SearchOptions {
    QString panelKinds = QStringLiteral("1");
    bool autoPanel = true;
    bool bestBase = true;
    bool bothPanel = true;
    bool bothBase = true;
    bool tooling = false;
    PackingOption packing = PackingOption::Off; // best packing of a typed panel
    bool operator==(const SearchOptions&) const = default;
};

// What the defaults window needs of the main window.
class DefaultsHost {
public:
    virtual ~DefaultsHost() = default;
    virtual WorkRow* JobRow() = 0;
    virtual WorkRow* ArrayRow() = 0;
    virtual bool UnitIsMm() const = 0;
    virtual SearchOptions Options() const = 0;
    virtual void SetOptions(const SearchOptions& options) = 0;
    // After the job row was edited: a changed row loses its plan.
    virtual void ApplyJobParameterChanges() = 0;
    virtual DefaultsList& Defaults() = 0;
    virtual QString DefaultsPath() const = 0;
};

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
