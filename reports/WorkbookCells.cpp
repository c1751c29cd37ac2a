#include "WorkbookCells.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QProcess>

namespace vorn {

// Formats are sent once, before the first cell that uses them: (kind
// Format, index, number format, bold, wrap).
WorkbookCells::WorkbookCells(QIODevice& out) : m_out(out), m_stream(new QDataStream(&out)) {
    m_stream->setVersion(QDataStream::Qt_6_0);
    m_stream->writeRawData(kWorkbookCellsMagic, int(sizeof kWorkbookCellsMagic));
}

WorkbookCells::~WorkbookCells() {
    delete m_stream;
}

int WorkbookCells::format(const CellFormat& f) {
    const QString key =
        f.numberFormat + QChar(0) + QChar(f.bold ? u'b' : u'-') + QChar(f.wrap ? u'w' : u'-');
    auto it = m_formats.constFind(key);
    if (it == m_formats.cend()) {
        it = m_formats.insert(key, qint32(m_formats.size()));
        *m_stream << quint8(CellKind::Format) << it.value() << f.numberFormat << f.bold << f.wrap;
    }
    return it.value();
}

void WorkbookCells::sheet(const SheetSetUp& setUp) {
    *m_stream << quint8(CellKind::Sheet) << setUp.landscape << setUp.fitToWidth
              << qint32(setUp.frozenRows);
}

void WorkbookCells::column(int col, double widthCharacters, int format) {
    *m_stream << quint8(CellKind::Column) << qint32(col) << widthCharacters << qint32(format);
}

void WorkbookCells::row(int row, double heightPoints) {
    *m_stream << quint8(CellKind::Row) << qint32(row) << heightPoints;
}

void WorkbookCells::text(int row, int col, const QString& value, int format) {
    *m_stream << quint8(CellKind::Text) << qint32(row) << qint32(col) << value << qint32(format);
}

void WorkbookCells::number(int row, int col, double value, int format) {
    *m_stream << quint8(CellKind::Number) << qint32(row) << qint32(col) << value << qint32(format);
}

bool WorkbookCells::finish() {
    *m_stream << quint8(CellKind::End);
    return m_stream->status() == QDataStream::Ok;
}

bool RunWorkbookWriter(const QString& cellsFile, const QString& workbook, QString* error) {
    const QString writer =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vorn_xlsxwriter"));
    QProcess p;
    p.start(writer, {cellsFile, workbook});
    if (!p.waitForStarted()) {
        *error = QStringLiteral("The workbook writer \"%1\" cannot be started: %2")
                     .arg(QDir::toNativeSeparators(writer), p.errorString());
        return false;
    }
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        const QString why = QString::fromUtf8(p.readAllStandardError()).trimmed();
        *error = why.isEmpty() ? QStringLiteral("The workbook writer failed.") : why;
        return false;
    }
    return true;
}

} // namespace vorn
