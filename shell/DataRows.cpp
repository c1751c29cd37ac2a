#include "DataRows.h"

#include "Cursor.h"
#include "CursorBinder.h"
#include "DataModule.h"
#include "DisplayFormat.h"
#include "Fields.h"

#include <QLineEdit>
#include <QPointer>

namespace vorn {

CursorWorkRow::CursorWorkRow(Cursor& cursor)
    : cursor_(cursor), binder_(std::make_unique<CursorBinder>(&cursor)) {}

CursorWorkRow::~CursorWorkRow() = default;

bool CursorWorkRow::IsOpen() const {
    return cursor_.isOpen();
}

void CursorWorkRow::Restart() {
    cursor_.close();
    cursor_.open();
    cursor_.append();
}

void CursorWorkRow::Edit() {
    cursor_.edit();
}

void CursorWorkRow::Post() {
    binder_->commitPending();
    cursor_.post();
}

void CursorWorkRow::Cancel() {
    // Only edits are undone here: cancelling an insert would drop the row.
    if (cursor_.state() == Cursor::State::Edit)
        cursor_.cancel();
    binder_->refresh();
}

bool CursorWorkRow::IsModified() const {
    return cursor_.isModified();
}

bool CursorWorkRow::IsNull(const char* column) const {
    return cursor_.isNull(QString::fromLatin1(column));
}

double CursorWorkRow::Number(const char* column) const {
    return cursor_.asDouble(QString::fromLatin1(column));
}

QString CursorWorkRow::Text(const char* column) const {
    return cursor_.displayText(QString::fromLatin1(column));
}

void CursorWorkRow::SetNumber(const char* column, std::optional<double> value) {
    cursor_.setValue(QString::fromLatin1(column), value ? QVariant(*value) : QVariant());
}

void CursorWorkRow::ClearAllExcept(const QStringList& keep) {
    for (int i = 0; i < cursor_.fieldCount(); ++i) {
        const Field& f = cursor_.field(i);
        if (f.isCalculated() || f.readOnly || keep.contains(f.name, Qt::CaseInsensitive))
            continue;
        cursor_.setValue(i, QVariant());
    }
}

void CursorWorkRow::Bind(QLineEdit* field, const char* column) {
    binder_->bind(field, QString::fromLatin1(column));
    // The format is the open table's: the fields are bound before it opens.
    // The field may outlive the rows while the window closes.
    RefuseUnshownValues(
        field, [cursor = QPointer<Cursor>(&cursor_), name = QString::fromLatin1(column)](double v) {
            const int f = cursor ? cursor->findField(name) : -1;
            return DisplayFormat::formatNumber(v, f >= 0 ? cursor->field(f).format : QString());
        });
    // Typing puts the row into edit state at once. The binder would otherwise
    // do it when it writes the column, and the refresh that edit() sends would
    // replace the typed text before it is read.
    QObject::connect(field, &QLineEdit::textEdited, binder_.get(), [this] {
        // An error is reported like the binder's own, never thrown through
        // the event delivery.
        try {
            if (cursor_.isOpen() && cursor_.state() == Cursor::State::Browse)
                cursor_.edit();
        } catch (const std::exception& e) {
            emit binder_->error(QString::fromUtf8(e.what()));
        }
    });
}

void CursorWorkRow::CommitFields() {
    binder_->commitPending();
}

DataJobRows::DataJobRows(TDataM1& data)
    : data_(data), job_(data.TempInput), array_(data.TempInputCus) {}

void DataJobRows::CloseResults() {
    data_.TempResult.close();
    data_.TempTooling.close();
}

bool DataJobRows::SavedPartsExist() const {
    // An archive window may hold the query open; it is left as it was.
    Cursor& q = data_.SavedPartsQuery;
    const bool wasOpen = q.isOpen();
    if (!wasOpen)
        q.open();
    const bool any = !q.isEmpty();
    if (!wasOpen)
        q.close();
    return any;
}

} // namespace vorn
