#pragma once
// The job row and the array row over the data module's cursors.

#include "DefaultsWindow.h"
#include "MainWindow.h"

#include <memory>

namespace vorn {

class Cursor;
class CursorBinder;
class TDataM1;

class CursorWorkRow : public WorkRow {
public:
    explicit CursorWorkRow(Cursor& cursor);
    ~CursorWorkRow() override;

    bool IsOpen() const override;
    void Restart() override;
    void Edit() override;
    void Post() override;
    void Cancel() override;
    bool IsModified() const override;
    bool IsNull(const char* column) const override;
    double Number(const char* column) const override;
    QString Text(const char* column) const override;
    void SetNumber(const char* column, std::optional<double> value) override;
    void ClearAllExcept(const QStringList& keep) override;
    void Bind(QLineEdit* field, const char* column) override;
    void CommitFields() override;

    CursorBinder& Binder() { return *binder_; }

private:
    Cursor& cursor_;
    std::unique_ptr<CursorBinder> binder_;
};

class DataJobRows : public TVornMF::JobRows {
public:
    explicit DataJobRows(TDataM1& data);
    WorkRow* Job() override { return &job_; }
    WorkRow* Array() override { return &array_; }
    void CloseResults() override;
    bool SavedPartsExist() const override;

private:
    TDataM1& data_;
    CursorWorkRow job_;
    CursorWorkRow array_;
};

} // namespace vorn
