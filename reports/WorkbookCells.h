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

inline constexpr char kWorkbookCellsMagic[] = "VornCells2";

enum class CellKind : quint8 {
    End = 0,
    Text = 1,
    Number = 2,
    Format = 3, // a cell format, announced before its first use
    Column = 4, // a column's width and format
    Row = 5,    // a row's height
    Sheet = 6,  // the sheet's page set-up
};

// How a cell looks; formats are numbered in the order they are first used.
struct CellFormat {
    QString numberFormat; // e.g. "0.000", "yyyy-mm-dd"; empty: general
    bool bold = false;
    bool wrap = false; // several lines
};

// The printed page and the view of the sheet.
struct SheetSetUp {
    bool landscape = false;
    bool fitToWidth = false; // as many pages down as needed, one across
    int frozenRows = 0;      // rows that stay in view and repeat on every page
};

// The set-up, columns and rows are given before any cell; cells row by row,
// left to right (the writer streams them). Every cell sits at the top of its
// row, so a row made taller for a wrapped text still reads as one line.
class WorkbookCells {
public:
    explicit WorkbookCells(QIODevice& out);
    ~WorkbookCells();
    // The number of a format, announcing it the first time.
    int format(const CellFormat& f);
    void sheet(const SheetSetUp& setUp);
    void column(int col, double widthCharacters, int format = -1);
    void row(int row, double heightPoints);
    void text(int row, int col, const QString& value, int format = -1);
    void number(int row, int col, double value, int format = -1);
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
