#pragma once
// The job row and the array row as windows and operations use them, the
// search options, and what a window hosting the job offers the defaults.

#include "PanelJob.h"

#include <QString>
#include <QStringList>
#include <optional>

class QLineEdit;

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
    PackingOption packing = PackingOption::Off; // best packing: searches and typed panel
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

} // namespace vorn
