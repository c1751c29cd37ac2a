#pragma once
// A workbook of one sheet as a stream of cells, handed to the workbook
// writer program (`vorn_xlsxwriter`). The spreadsheet library and the zip
// library of the report templates both export the same zip function names
// with different meanings, so they never share one process: the program
// and vornplan write the cells, the writer makes the .xlsx.

#include <QHash>
#include <QString>
#include <QStringList>

class QDataStream;
class QIODevice;

namespace vorn {

inline constexpr char kWorkbookCellsMagic[] = "VornCells1";

enum class CellKind : quint8 { End = 0, Text = 1, Number = 2 };

// Cells must be added row by row, left to right (the writer streams them).
class WorkbookCells {
public:
    explicit WorkbookCells(QIODevice& out);
    ~WorkbookCells();
    void text(int row, int col, const QString& value);
    void number(int row, int col, double value, const QString& numberFormat);
    // Ends the stream; false when the device refused a write.
    bool finish();

private:
    QIODevice& m_out;
    QDataStream* m_stream;
    QHash<QString, qint32> m_formats;
};

// Runs the writer beside this program on a cell file; false with the
// writer's own reason when it fails.
bool RunWorkbookWriter(const QString& cellsFile, const QString& workbook, QString* error);

} // namespace vorn
