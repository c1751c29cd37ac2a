#include "WorkbookCells.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QProcess>

namespace vorn {

// Formats are sent once, the first time a cell uses them: (kind Number,
// row, col, value, index) with index = -1 − n announcing format n inline.
WorkbookCells::WorkbookCells(QIODevice& out) : m_out(out), m_stream(new QDataStream(&out)) {
    m_stream->setVersion(QDataStream::Qt_6_0);
    m_stream->writeRawData(kWorkbookCellsMagic, int(sizeof kWorkbookCellsMagic));
}

WorkbookCells::~WorkbookCells() {
    delete m_stream;
}

void WorkbookCells::text(int row, int col, const QString& value) {
    *m_stream << quint8(CellKind::Text) << qint32(row) << qint32(col) << value;
}

void WorkbookCells::number(int row, int col, double value, const QString& numberFormat) {
    qint32 index = -1;
    QString announce;
    if (!numberFormat.isEmpty()) {
        auto it = m_formats.constFind(numberFormat);
        if (it == m_formats.cend()) {
            it = m_formats.insert(numberFormat, qint32(m_formats.size()));
            announce = numberFormat;
        }
        index = it.value();
    }
    *m_stream << quint8(CellKind::Number) << qint32(row) << qint32(col) << value << index
              << announce;
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
