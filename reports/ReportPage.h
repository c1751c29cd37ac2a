#pragma once
// The report page, described once. The build turns this description into the
// first sheet of the two workbook templates (formulas that read the "Data"
// sheet); printing, the preview and the PDF paint the same description with
// the values filled in. Lengths are points (1/72 inch) from the top-left
// corner of cell A1.

#include <QString>
#include <QStringList>

#include <vector>

namespace vorn::report {

// The looks a cell of the page can have; the workbook's cell formats are
// generated from this list in this order (format 0 is the sheet default).
enum class CellLook {
    Default,
    Company, // the company name in A1
    Title,   // the page title
    Label,   // the caption of a value
    Value,   // one value, shrunk to fit its box
    Heading, // the caption of a group of values
    Caption, // the caption of a picture
    Hole,    // one tooling hole
    Note,    // the note, wrapped
    // A company name or a value too long for one line at the readable
    // minimum: wrapped at that size, its row made as tall as it needs.
    CompanyWrapped,
    ValueWrapped,
};
constexpr int kCellLookCount = 11;

struct LookStyle {
    double fontPt = 10;
    bool bold = false;
    enum class Align { Left, Centre, Right } align = Align::Left;
    bool top = false;        // text at the top of the box (else vertically centred)
    bool wrap = false;       // several lines
    bool shrink = false;     // one line, made smaller until it fits
    bool shaded = false;     // light grey fill
    bool boxed = false;      // thin border on all sides
    bool underlined = false; // medium line under the box
    bool grey = false;       // grey text
    // Shrinking stops at this size; below it the text wraps in `wrapped`
    // (Default: no such look, the text shrinks on).
    double minPt = 0;
    CellLook wrapped = CellLook::Default;
};
const LookStyle& StyleOf(CellLook look);
// The font every cell uses; it has the Chinese glyphs of the labels.
QString PageFontFamily();

// One piece of a cell's text: literal text, or the text of a cell of the
// "Data" sheet (e.g. "B2").
struct TextPart {
    QString literal;
    QString dataCell;
};

// A cell of the page; a span merges cells to the right.
struct PageCell {
    int row = 1; // 1-based, as in the workbook
    int col = 1; // 1 = A
    int colSpan = 1;
    CellLook look = CellLook::Default;
    std::vector<TextPart> parts; // joined; no parts and not company: empty
    bool company = false;        // the company name (written into the cell itself)
    QString emptyUnless;         // a "Data" cell: the whole cell is empty while it is
};

// A picture's place: left and top in points, the size is the off-screen
// image size divided by the factor.
struct PicturePlace {
    QString name; // "Panel1", "Panel2" or "Base"
    double left = 0;
    double top = 0;
    double factor = 1;
};

// A row of the "Data" sheet: its caption in column A, its value in column B.
struct DataRow {
    int row = 2;
    QString caption;
};

struct PageLayout {
    QString templateFile;   // e.g. "ExlfileOne.xltx"
    QString title;          // the page title text
    int pictureWidth = 448; // off-screen image size in pixels
    int pictureHeight = 298;
    std::vector<double> colWidths;  // points, column A first
    std::vector<double> rowHeights; // points, row 1 first
    std::vector<PageCell> cells;
    std::vector<PicturePlace> pictures;
    std::vector<DataRow> dataRows; // B2 … B17 or B2 … B21
    int lastDataRow = 17;
    // The first row of the note part; the hole lines that do not fit beside
    // the pictures go in rows inserted just before it.
    int noteRow = 0;
    // Page: A4 portrait, these margins in points.
    double marginLeft = 36, marginRight = 36, marginTop = 36, marginBottom = 36;

    double Width() const;
    double Height() const;
    double ColLeft(int col) const; // 1-based
    double RowTop(int row) const;  // 1-based
    // The cell holding a point (1-based column and row) and the point's
    // offset from that cell's top-left corner, in points.
    struct CellPoint {
        int col = 1;
        int row = 1;
        double dx = 0;
        double dy = 0;
    };
    CellPoint CellAtPoint(double x, double y) const;
};

// The one-size and the two-size page as the templates hold them.
const PageLayout& OneSizePage();
const PageLayout& TwoSizePage();
inline const PageLayout& PageOf(bool twoSize) {
    return twoSize ? TwoSizePage() : OneSizePage();
}
// The page for a number of panel-1 and panel-2 holes: every hole gets a
// line; those beyond the lines beside the pictures continue in three
// columns across the page above the note.
PageLayout PageFor(bool twoSize, int holes1, int holes2);

// The page's fixed texts (title, captions, headings) in the language the
// windows speak; the page layout itself, and so the templates, keep the
// program's own Chinese.
QString PageText(const QString& text);
PageLayout InUserLanguage(PageLayout page);

// Points between a cell's edge and its text, as in a sheet.
constexpr double kCellPadding = 2.5;

// "A", "B", … "Z", "AA" …; and a cell name such as "B12".
QString ColumnName(int col);
QString CellName(int col, int row);

// The rows of the hole list on the "Data" sheet start here; panel 1 in
// columns C-E, panel 2 in F-H.
constexpr int kFirstHoleRow = 2;

} // namespace vorn::report
