#include "ReportPage.h"

#include <QCoreApplication>

#include <cmath>
#include <numeric>

namespace vorn::report {

namespace {

using Align = LookStyle::Align;

// Readable minimum sizes: a value or a hole line shrinks to 6 points at
// most, the company name to 10.
const LookStyle kStyles[kCellLookCount] = {
    /* Default */ {},
    /* Company */
    {16, true, Align::Centre, false, false, true, false, false, false, false, 10,
     CellLook::CompanyWrapped},
    /* Title   */ {12, true, Align::Centre, false, false, false, false, false, true},
    /* Label   */ {9, true, Align::Left, false, false, true, true, true},
    /* Value   */
    {9, false, Align::Left, false, false, true, false, true, false, false, 6,
     CellLook::ValueWrapped},
    /* Heading */ {10, true, Align::Left, false, false, false, false, false, true},
    /* Caption */ {9, true, Align::Left, false, false, false, false, false, false, true},
    /* Hole    */ {8, false, Align::Left, false, false, true, false, false, false, false, 6},
    /* Note    */ {9, false, Align::Left, true, true, false, false, true},
    /* CompanyWrapped */ {10, true, Align::Centre, false, true},
    /* ValueWrapped   */ {6, false, Align::Left, false, true, false, false, true},
};

// Builds a page row by row; cells go into the row just added.
class PageBuilder {
public:
    explicit PageBuilder(PageLayout& page) : page_(page) {}

    // `count` rows sharing `total` points. Row edges fall on whole pixels at
    // 96 dpi (0.75 point), the steps in which spreadsheet programs size rows,
    // so the sheet's rows are exactly the described ones.
    void Rows(int count, double total) {
        const double start = page_.Height();
        double edge = start;
        for (int i = 1; i <= count; ++i) {
            const double next = std::round((start + total * i / count) / 0.75) * 0.75;
            page_.rowHeights.push_back(next - edge);
            edge = next;
        }
    }
    int Row() const { return static_cast<int>(page_.rowHeights.size()) + 1; }

    void Cell(int row, int col, int span, CellLook look, std::vector<TextPart> parts) {
        PageCell c;
        c.row = row;
        c.col = col;
        c.colSpan = span;
        c.look = look;
        c.parts = std::move(parts);
        page_.cells.push_back(std::move(c));
    }
    void Text(int row, int col, int span, CellLook look, const QString& text) {
        Cell(row, col, span, look, {{text, {}}});
    }
    void Data(int row, int col, int span, CellLook look, int dataRow) {
        Cell(row, col, span, look, {{{}, CellName(2, dataRow)}});
    }
    // A caption and its value in the left column pair (A label, B value).
    void Pair(int row, int dataRow) {
        Text(row, 1, 1, CellLook::Label, CaptionOf(dataRow));
        Data(row, 2, 1, CellLook::Value, dataRow);
    }
    // One hole of the list: "#n  (x,y)  Φd" over two columns, empty without a hole.
    void Hole(int row, int col, int dataRow, bool panel2) {
        const int c = panel2 ? 6 : 3;
        PageCell cell;
        cell.row = row;
        cell.col = col;
        cell.colSpan = 2;
        cell.look = CellLook::Hole;
        cell.parts = {{{}, CellName(c, dataRow)},
                      {QStringLiteral("  "), {}},
                      {{}, CellName(c + 1, dataRow)},
                      {QStringLiteral("  "), {}},
                      {{}, CellName(c + 2, dataRow)}};
        cell.emptyUnless = CellName(c, dataRow);
        page_.cells.push_back(std::move(cell));
    }

    QString CaptionOf(int dataRow) const {
        for (const DataRow& d : page_.dataRows)
            if (d.row == dataRow)
                return d.caption;
        return {};
    }

    // Company, title and the part's own data in rows 1-4.
    void Header(int lastCol) {
        Rows(1, 27);
        PageCell company;
        company.row = 1;
        company.col = 1;
        company.colSpan = lastCol;
        company.look = CellLook::Company;
        company.company = true;
        page_.cells.push_back(company);
        Rows(1, 21);
        Text(2, 1, lastCol, CellLook::Title, page_.title);
        Rows(2, 36);
        const int fields[2][3] = {{2, 3, 4}, {5, 6, 7}};
        for (int r = 0; r < 2; ++r)
            for (int k = 0; k < 3; ++k) {
                Text(3 + r, 1 + 2 * k, 1, CellLook::Label, CaptionOf(fields[r][k]));
                Data(3 + r, 2 + 2 * k, 1, CellLook::Value, fields[r][k]);
            }
    }

    // Holes `first` … `first + count - 1` of a list (0-based) under a
    // heading, in three columns of column pairs, down each column first.
    void MoreHoles(const QString& heading, int first, int count, bool panel2) {
        if (count <= 0)
            return;
        Rows(1, 18);
        Text(Row() - 1, 1, 6, CellLook::Heading, heading);
        const int lines = (count + 2) / 3;
        const int top = Row();
        Rows(lines, 13.5 * lines);
        for (int i = 0; i < count; ++i)
            Hole(top + i % lines, 1 + 2 * (i / lines), kFirstHoleRow + first + i, panel2);
    }

    // The note under the pictures: a gap of `gap` points, its heading and
    // its box.
    void Note(double gap, int noteRow, int lastCol) {
        page_.noteRow = Row();
        Rows(1, gap);
        Rows(1, 18);
        Text(Row() - 1, 1, lastCol, CellLook::Heading, CaptionOf(noteRow));
        Rows(1, 60);
        Data(Row() - 1, 1, lastCol, CellLook::Note, noteRow);
    }

private:
    PageLayout& page_;
};

// The gap above the note: down to 18 points below the last picture, or 9
// below the continued hole list.
double NoteGap(const PageLayout& page, double pictureBottom, bool continued) {
    return continued ? 9 : pictureBottom + 18 - page.Height();
}

PageLayout MakeOneSizePage(int holes) {
    PageLayout page;
    page.templateFile = QStringLiteral("ExlfileOne.xltx");
    page.title = QT_TRANSLATE_NOOP("ReportPage", "拼 板 开 料 报 告");
    page.pictureHeight = 298;
    page.lastDataRow = 17;
    page.colWidths = {58.5, 82.5, 96, 96, 95.25, 94.5};
    page.dataRows = {{2, QT_TRANSLATE_NOOP("ReportPage", "料号")},
                     {3, QT_TRANSLATE_NOOP("ReportPage", "客户料号")},
                     {4, QT_TRANSLATE_NOOP("ReportPage", "层数")},
                     {5, QT_TRANSLATE_NOOP("ReportPage", "单位")},
                     {6, QT_TRANSLATE_NOOP("ReportPage", "制作人")},
                     {7, QT_TRANSLATE_NOOP("ReportPage", "日期")},
                     {8, QT_TRANSLATE_NOOP("ReportPage", "单元尺寸")},
                     {9, QT_TRANSLATE_NOOP("ReportPage", "单元间距")},
                     {10, QT_TRANSLATE_NOOP("ReportPage", "拼板尺寸")},
                     {11, QT_TRANSLATE_NOOP("ReportPage", "拼板排版数")},
                     {12, QT_TRANSLATE_NOOP("ReportPage", "拼板板边")},
                     {13, QT_TRANSLATE_NOOP("ReportPage", "拼板利用率")},
                     {14, QT_TRANSLATE_NOOP("ReportPage", "板料尺寸")},
                     {15, QT_TRANSLATE_NOOP("ReportPage", "开料数")},
                     {16, QT_TRANSLATE_NOOP("ReportPage", "板料利用率")},
                     {17, QT_TRANSLATE_NOOP("ReportPage", "备注")}};
    page.pictures = {{QStringLiteral("Panel1"), 141, 140, 1.3},
                     {QStringLiteral("Base"), 141, 393, 1.3}};
    PageBuilder b(page);
    b.Header(6);
    b.Rows(1, 122 - page.Height());
    b.Rows(1, 18); // row 6: 122-140
    b.Text(6, 1, 2, CellLook::Heading, QT_TRANSLATE_NOOP("ReportPage", "拼板资料"));
    b.Text(6, 3, 4, CellLook::Caption, QT_TRANSLATE_NOOP("ReportPage", "拼板排版图"));
    // Rows 7-18 beside the panel picture, 140-375.
    b.Rows(12, 375 - 140);
    for (int i = 0; i < 6; ++i)
        b.Pair(7 + i, 8 + i);
    b.Text(14, 1, 2, CellLook::Heading, QT_TRANSLATE_NOOP("ReportPage", "开料资料"));
    for (int i = 0; i < 3; ++i)
        b.Pair(15 + i, 14 + i);
    b.Rows(1, 18); // row 19: 375-393
    b.Text(19, 1, 2, CellLook::Heading, QT_TRANSLATE_NOOP("ReportPage", "工具孔"));
    b.Text(19, 3, 4, CellLook::Caption, QT_TRANSLATE_NOOP("ReportPage", "开料图"));
    // Rows 20-35 beside the cutting plan, 393 to its bottom.
    const double bottom = 393 + page.pictureHeight / 1.3;
    b.Rows(16, bottom - 393);
    constexpr int beside = 16;
    for (int i = 0; i < beside; ++i)
        b.Hole(20 + i, 1, kFirstHoleRow + i, false);
    b.MoreHoles(QT_TRANSLATE_NOOP("ReportPage", "工具孔（续）"), beside, holes - beside, false);
    b.Note(NoteGap(page, bottom, holes > beside), 17, 6);
    return page;
}

PageLayout MakeTwoSizePage(int holes1, int holes2) {
    PageLayout page;
    page.templateFile = QStringLiteral("ExlfileTow.xltx");
    page.title = QT_TRANSLATE_NOOP("ReportPage", "拼 板 开 料 报 告（两种拼板）");
    page.pictureHeight = 248;
    page.lastDataRow = 21;
    page.colWidths = {66, 122, 84, 84, 84, 82.5};
    page.dataRows = {{2, QT_TRANSLATE_NOOP("ReportPage", "料号")},
                     {3, QT_TRANSLATE_NOOP("ReportPage", "客户料号")},
                     {4, QT_TRANSLATE_NOOP("ReportPage", "层数")},
                     {5, QT_TRANSLATE_NOOP("ReportPage", "单位")},
                     {6, QT_TRANSLATE_NOOP("ReportPage", "制作人")},
                     {7, QT_TRANSLATE_NOOP("ReportPage", "日期")},
                     {8, QT_TRANSLATE_NOOP("ReportPage", "单元尺寸")},
                     {9, QT_TRANSLATE_NOOP("ReportPage", "单元间距")},
                     {10, QT_TRANSLATE_NOOP("ReportPage", "拼板1尺寸")},
                     {11, QT_TRANSLATE_NOOP("ReportPage", "拼板1排版数")},
                     {12, QT_TRANSLATE_NOOP("ReportPage", "拼板1板边")},
                     {13, QT_TRANSLATE_NOOP("ReportPage", "拼板1利用率")},
                     {14, QT_TRANSLATE_NOOP("ReportPage", "拼板2尺寸")},
                     {15, QT_TRANSLATE_NOOP("ReportPage", "拼板2排版数")},
                     {16, QT_TRANSLATE_NOOP("ReportPage", "拼板2板边")},
                     {17, QT_TRANSLATE_NOOP("ReportPage", "拼板2利用率")},
                     {18, QT_TRANSLATE_NOOP("ReportPage", "板料尺寸")},
                     {19, QT_TRANSLATE_NOOP("ReportPage", "开料数")},
                     {20, QT_TRANSLATE_NOOP("ReportPage", "板料利用率")},
                     {21, QT_TRANSLATE_NOOP("ReportPage", "备注")}};
    page.pictures = {{QStringLiteral("Panel1"), 188, 120, 1.5},
                     {QStringLiteral("Panel2"), 188, 302, 1.5},
                     {QStringLiteral("Base"), 188, 485, 1.5}};
    const double h = page.pictureHeight / 1.5;
    PageBuilder b(page);
    b.Header(6);
    b.Rows(1, 102 - page.Height());
    b.Rows(1, 18); // row 6: 102-120
    b.Text(6, 1, 2, CellLook::Heading, QT_TRANSLATE_NOOP("ReportPage", "拼板1资料"));
    b.Text(6, 3, 4, CellLook::Caption, QT_TRANSLATE_NOOP("ReportPage", "拼板1排版图"));
    b.Rows(9, h); // rows 7-15 beside panel 1
    for (int i = 0; i < 6; ++i)
        b.Pair(7 + i, 8 + i);
    b.Text(14, 1, 2, CellLook::Heading, QT_TRANSLATE_NOOP("ReportPage", "拼板2资料"));
    b.Pair(15, 14);
    b.Rows(1, 302 - page.Height()); // row 16: up to panel 2
    b.Pair(16, 15);
    b.Text(16, 3, 4, CellLook::Caption, QT_TRANSLATE_NOOP("ReportPage", "拼板2排版图"));
    b.Rows(9, h); // rows 17-25 beside panel 2
    b.Pair(17, 16);
    b.Pair(18, 17);
    b.Text(20, 1, 2, CellLook::Heading, QT_TRANSLATE_NOOP("ReportPage", "开料资料"));
    for (int i = 0; i < 3; ++i)
        b.Pair(21 + i, 18 + i);
    b.Rows(1, 485 - page.Height()); // row 26: up to the cutting plan
    b.Text(26, 1, 2, CellLook::Heading, QT_TRANSLATE_NOOP("ReportPage", "工具孔 拼板1"));
    b.Text(26, 3, 4, CellLook::Caption, QT_TRANSLATE_NOOP("ReportPage", "开料图"));
    b.Rows(11, h); // rows 27-37 beside the cutting plan
    constexpr int beside = 5;
    for (int i = 0; i < beside; ++i)
        b.Hole(27 + i, 1, kFirstHoleRow + i, false);
    b.Text(32, 1, 2, CellLook::Heading, QT_TRANSLATE_NOOP("ReportPage", "工具孔 拼板2"));
    for (int i = 0; i < beside; ++i)
        b.Hole(33 + i, 1, kFirstHoleRow + i, true);
    b.MoreHoles(QT_TRANSLATE_NOOP("ReportPage", "工具孔 拼板1（续）"), beside, holes1 - beside,
                false);
    b.MoreHoles(QT_TRANSLATE_NOOP("ReportPage", "工具孔 拼板2（续）"), beside, holes2 - beside,
                true);
    b.Note(NoteGap(page, 485 + h, holes1 > beside || holes2 > beside), 21, 6);
    return page;
}

} // namespace

const LookStyle& StyleOf(CellLook look) {
    return kStyles[static_cast<int>(look)];
}

QString PageFontFamily() {
    return QStringLiteral("WenQuanYi Micro Hei");
}

double PageLayout::Width() const {
    return std::accumulate(colWidths.begin(), colWidths.end(), 0.0);
}

double PageLayout::Height() const {
    return std::accumulate(rowHeights.begin(), rowHeights.end(), 0.0);
}

double PageLayout::ColLeft(int col) const {
    double x = 0;
    for (int c = 1; c < col && c <= static_cast<int>(colWidths.size()); ++c)
        x += colWidths[static_cast<std::size_t>(c - 1)];
    return x;
}

double PageLayout::RowTop(int row) const {
    double y = 0;
    for (int r = 1; r < row && r <= static_cast<int>(rowHeights.size()); ++r)
        y += rowHeights[static_cast<std::size_t>(r - 1)];
    return y;
}

PageLayout::CellPoint PageLayout::CellAtPoint(double x, double y) const {
    CellPoint p;
    const int cols = static_cast<int>(colWidths.size());
    const int rows = static_cast<int>(rowHeights.size());
    while (p.col < cols && ColLeft(p.col + 1) <= x)
        ++p.col;
    while (p.row < rows && RowTop(p.row + 1) <= y)
        ++p.row;
    p.dx = x - ColLeft(p.col);
    p.dy = y - RowTop(p.row);
    return p;
}

const PageLayout& OneSizePage() {
    static const PageLayout page = MakeOneSizePage(0);
    return page;
}

const PageLayout& TwoSizePage() {
    static const PageLayout page = MakeTwoSizePage(0, 0);
    return page;
}

PageLayout PageFor(bool twoSize, int holes1, int holes2) {
    return twoSize ? MakeTwoSizePage(holes1, holes2) : MakeOneSizePage(holes1);
}

QString PageText(const QString& text) {
    return QCoreApplication::translate("ReportPage", text.toUtf8().constData());
}

PageLayout InUserLanguage(PageLayout page) {
    page.title = PageText(page.title);
    for (DataRow& d : page.dataRows)
        d.caption = PageText(d.caption);
    for (PageCell& cell : page.cells)
        for (TextPart& part : cell.parts)
            if (part.dataCell.isEmpty())
                part.literal = PageText(part.literal);
    return page;
}

QString ColumnName(int col) {
    QString name;
    for (int c = col; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

QString CellName(int col, int row) {
    return ColumnName(col) + QString::number(row);
}

} // namespace vorn::report
