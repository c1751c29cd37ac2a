#pragma once
// Job and array rows kept in memory with the edit, post and cancel rules of
// the data layer's cursors, for tests of the windows that use them.

#include "Unit2.h"

#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <stdexcept>

class FakeRow : public vorn::WorkRow {
public:
    QHash<QString, std::optional<double>> posted, current;
    bool open = false;
    bool editing = false;
    bool modified = false;
    int restarts = 0;

    bool IsOpen() const override { return open; }
    void Restart() override {
        posted.clear();
        current.clear();
        open = true;
        editing = true; // the appended row
        modified = false;
        ++restarts;
        Refresh();
    }
    void Edit() override { editing = true; }
    void Post() override {
        posted = current;
        editing = false;
        modified = false;
    }
    void Cancel() override {
        current = posted;
        editing = false;
        modified = false;
        Refresh();
    }
    bool IsModified() const override { return modified; }
    bool IsNull(const char* c) const override { return !current.value(c).has_value(); }
    double Number(const char* c) const override { return current.value(c).value_or(0); }
    QString Text(const char* c) const override {
        const std::optional<double> v = current.value(c);
        if (!v)
            return {};
        if (QByteArray(c) == "Min_lv")
            return QString::number(*v, 'f', 2);
        return QString::number(*v, 'g', 15);
    }
    void SetNumber(const char* c, std::optional<double> v) override {
        if (!editing)
            throw std::logic_error(std::string("row not in edit state setting ") + c);
        current[c] = v;
        modified = true;
        Refresh();
    }
    void ClearAllExcept(const QStringList& keep) override {
        if (!editing)
            throw std::logic_error("row not in edit state clearing");
        for (auto it = current.begin(); it != current.end(); ++it) {
            if (!keep.contains(it.key()))
                it.value().reset();
        }
        modified = true;
        Refresh();
    }
    void Bind(QLineEdit* field, const char* column) override {
        const QString c = QString::fromLatin1(column);
        fields.append({field, c});
        field->setText(Text(column));
        QObject::connect(field, &QLineEdit::textEdited, field, [this, c](const QString& t) {
            editing = true;
            bool ok = false;
            const double v = t.toDouble(&ok);
            current[c] = ok ? std::optional<double>(v) : std::nullopt;
            modified = true;
        });
    }
    // Typing writes at once here.
    void CommitFields() override {}
    // Sets a posted value, as a search or a pick-up would have left it.
    void Put(const QString& c, double v) {
        current[c] = v;
        posted[c] = v;
        Refresh();
    }

private:
    void Refresh() {
        for (const auto& [field, column] : fields) {
            if (field)
                field->setText(Text(column.toLatin1().constData()));
        }
    }
    QList<QPair<QPointer<QLineEdit>, QString>> fields;
};

struct FakeRows : TVornMF::JobRows {
    FakeRow job, array;
    int resultCloses = 0;
    bool savedParts = false;
    vorn::WorkRow* Job() override { return &job; }
    vorn::WorkRow* Array() override { return &array; }
    void CloseResults() override { ++resultCloses; }
    bool SavedPartsExist() const override { return savedParts; }
};

// 4 × 2 boards, twelve on an 18 × 12 panel, posted: a consistent plan.
inline void PutValidPlan(FakeRow& job) {
    job.Put("Set_L", 4);
    job.Put("Set_W", 2);
    job.Put("Panel_L", 18);
    job.Put("Panel_W", 12);
    job.Put("Panel", 12);
    job.Put("Panel_lv", 100.0 * 4 * 2 * 12 / (18 * 12));
    job.Put("Base_L", 48);
    job.editing = false;
}
