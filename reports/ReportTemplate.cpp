#include "ReportTemplate.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamWriter>

#include <algorithm>
#include <functional>

namespace vorn::report {

namespace {

QString Num(double v) {
    return QString::number(v, 'f', 4).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

QByteArray Xml(const std::function<void(QXmlStreamWriter&)>& body) {
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    body(w);
    w.writeEndDocument();
    return bytes;
}

QString Quoted(const QString& text) {
    QString q = text;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QByteArray Styles() {
    return Xml([](QXmlStreamWriter& w) {
        w.writeStartElement(QStringLiteral("styleSheet"));
        w.writeDefaultNamespace(QString::fromLatin1(kMainNs));
        w.writeStartElement(QStringLiteral("fonts"));
        w.writeAttribute(QStringLiteral("count"), QString::number(kCellLookCount));
        for (int i = 0; i < kCellLookCount; ++i) {
            const LookStyle& s = StyleOf(static_cast<CellLook>(i));
            w.writeStartElement(QStringLiteral("font"));
            if (s.bold)
                w.writeEmptyElement(QStringLiteral("b"));
            w.writeEmptyElement(QStringLiteral("sz"));
            w.writeAttribute(QStringLiteral("val"), Num(i == 0 ? 11 : s.fontPt));
            w.writeEmptyElement(QStringLiteral("color"));
            w.writeAttribute(QStringLiteral("rgb"),
                             s.grey ? QStringLiteral("FF595959") : QStringLiteral("FF000000"));
            w.writeEmptyElement(QStringLiteral("name"));
            // The default font sets the column units: Calibri 11 (7-pixel digits).
            w.writeAttribute(QStringLiteral("val"),
                             i == 0 ? QStringLiteral("Calibri") : PageFontFamily());
            w.writeEmptyElement(QStringLiteral("charset"));
            w.writeAttribute(QStringLiteral("val"), QStringLiteral("134"));
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("fills"));
        w.writeAttribute(QStringLiteral("count"), QStringLiteral("3"));
        for (const char* pattern : {"none", "gray125"}) {
            w.writeStartElement(QStringLiteral("fill"));
            w.writeEmptyElement(QStringLiteral("patternFill"));
            w.writeAttribute(QStringLiteral("patternType"), QString::fromLatin1(pattern));
            w.writeEndElement();
        }
        w.writeStartElement(QStringLiteral("fill"));
        w.writeStartElement(QStringLiteral("patternFill"));
        w.writeAttribute(QStringLiteral("patternType"), QStringLiteral("solid"));
        w.writeEmptyElement(QStringLiteral("fgColor"));
        w.writeAttribute(QStringLiteral("rgb"), QStringLiteral("FFEDEDED"));
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement();
        // Borders: 0 none, 1 thin box, 2 medium line below.
        w.writeStartElement(QStringLiteral("borders"));
        w.writeAttribute(QStringLiteral("count"), QStringLiteral("3"));
        const char* sides[] = {"left", "right", "top", "bottom", "diagonal"};
        for (int b = 0; b < 3; ++b) {
            w.writeStartElement(QStringLiteral("border"));
            for (const char* side : sides) {
                const bool on = (b == 1 && std::string(side) != "diagonal") ||
                                (b == 2 && std::string(side) == "bottom");
                if (!on) {
                    w.writeEmptyElement(QString::fromLatin1(side));
                    continue;
                }
                w.writeStartElement(QString::fromLatin1(side));
                w.writeAttribute(QStringLiteral("style"),
                                 b == 1 ? QStringLiteral("thin") : QStringLiteral("medium"));
                w.writeEmptyElement(QStringLiteral("color"));
                w.writeAttribute(QStringLiteral("rgb"), QStringLiteral("FF808080"));
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("cellStyleXfs"));
        w.writeAttribute(QStringLiteral("count"), QStringLiteral("1"));
        w.writeEmptyElement(QStringLiteral("xf"));
        w.writeAttribute(QStringLiteral("numFmtId"), QStringLiteral("0"));
        w.writeAttribute(QStringLiteral("fontId"), QStringLiteral("0"));
        w.writeAttribute(QStringLiteral("fillId"), QStringLiteral("0"));
        w.writeAttribute(QStringLiteral("borderId"), QStringLiteral("0"));
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("cellXfs"));
        w.writeAttribute(QStringLiteral("count"), QString::number(kCellLookCount));
        for (int i = 0; i < kCellLookCount; ++i) {
            const LookStyle& s = StyleOf(static_cast<CellLook>(i));
            w.writeStartElement(QStringLiteral("xf"));
            w.writeAttribute(QStringLiteral("numFmtId"), QStringLiteral("49")); // text
            w.writeAttribute(QStringLiteral("fontId"), QString::number(i));
            w.writeAttribute(QStringLiteral("fillId"),
                             s.shaded ? QStringLiteral("2") : QStringLiteral("0"));
            w.writeAttribute(QStringLiteral("borderId"), s.boxed        ? QStringLiteral("1")
                                                         : s.underlined ? QStringLiteral("2")
                                                                        : QStringLiteral("0"));
            w.writeAttribute(QStringLiteral("xfId"), QStringLiteral("0"));
            w.writeAttribute(QStringLiteral("applyFont"), QStringLiteral("1"));
            w.writeAttribute(QStringLiteral("applyAlignment"), QStringLiteral("1"));
            w.writeEmptyElement(QStringLiteral("alignment"));
            w.writeAttribute(QStringLiteral("horizontal"),
                             s.align == LookStyle::Align::Centre  ? QStringLiteral("center")
                             : s.align == LookStyle::Align::Right ? QStringLiteral("right")
                                                                  : QStringLiteral("left"));
            w.writeAttribute(QStringLiteral("vertical"),
                             s.top ? QStringLiteral("top") : QStringLiteral("center"));
            if (s.wrap)
                w.writeAttribute(QStringLiteral("wrapText"), QStringLiteral("1"));
            if (s.shrink)
                w.writeAttribute(QStringLiteral("shrinkToFit"), QStringLiteral("1"));
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("cellStyles"));
        w.writeAttribute(QStringLiteral("count"), QStringLiteral("1"));
        w.writeEmptyElement(QStringLiteral("cellStyle"));
        w.writeAttribute(QStringLiteral("name"), QStringLiteral("Normal"));
        w.writeAttribute(QStringLiteral("xfId"), QStringLiteral("0"));
        w.writeAttribute(QStringLiteral("builtinId"), QStringLiteral("0"));
        w.writeEndElement();
        w.writeEndElement();
    });
}

void Columns(QXmlStreamWriter& w, const std::vector<double>& widthsPt) {
    w.writeStartElement(QStringLiteral("cols"));
    for (std::size_t i = 0; i < widthsPt.size(); ++i) {
        w.writeEmptyElement(QStringLiteral("col"));
        w.writeAttribute(QStringLiteral("min"), QString::number(i + 1));
        w.writeAttribute(QStringLiteral("max"), QString::number(i + 1));
        w.writeAttribute(QStringLiteral("width"), Num(ColumnCharacters(widthsPt[i])));
        w.writeAttribute(QStringLiteral("customWidth"), QStringLiteral("1"));
    }
    w.writeEndElement();
}

void PageSetup(QXmlStreamWriter& w, const PageLayout& page) {
    w.writeEmptyElement(QStringLiteral("printOptions"));
    w.writeAttribute(QStringLiteral("horizontalCentered"), QStringLiteral("1"));
    w.writeEmptyElement(QStringLiteral("pageMargins"));
    w.writeAttribute(QStringLiteral("left"), Num(page.marginLeft / 72));
    w.writeAttribute(QStringLiteral("right"), Num(page.marginRight / 72));
    w.writeAttribute(QStringLiteral("top"), Num(page.marginTop / 72));
    w.writeAttribute(QStringLiteral("bottom"), Num(page.marginBottom / 72));
    w.writeAttribute(QStringLiteral("header"), QStringLiteral("0.3"));
    w.writeAttribute(QStringLiteral("footer"), QStringLiteral("0.3"));
    w.writeEmptyElement(QStringLiteral("pageSetup"));
    w.writeAttribute(QStringLiteral("paperSize"), QStringLiteral("9")); // A4
    w.writeAttribute(QStringLiteral("orientation"), QStringLiteral("portrait"));
    w.writeAttribute(QStringLiteral("fitToWidth"), QStringLiteral("1"));
    w.writeAttribute(QStringLiteral("fitToHeight"), QStringLiteral("1"));
}

QByteArray ReportSheet(const PageLayout& page) {
    return Xml([&page](QXmlStreamWriter& w) {
        const int lastCol = static_cast<int>(page.colWidths.size());
        const int lastRow = static_cast<int>(page.rowHeights.size());
        w.writeStartElement(QStringLiteral("worksheet"));
        w.writeDefaultNamespace(QString::fromLatin1(kMainNs));
        w.writeNamespace(QString::fromLatin1(kRelNs), QStringLiteral("r"));
        w.writeStartElement(QStringLiteral("sheetPr"));
        w.writeEmptyElement(QStringLiteral("pageSetUpPr"));
        w.writeAttribute(QStringLiteral("fitToPage"), QStringLiteral("1"));
        w.writeEndElement();
        w.writeEmptyElement(QStringLiteral("dimension"));
        w.writeAttribute(QStringLiteral("ref"), QStringLiteral("A1:") + CellName(lastCol, lastRow));
        w.writeStartElement(QStringLiteral("sheetViews"));
        w.writeEmptyElement(QStringLiteral("sheetView"));
        w.writeAttribute(QStringLiteral("showGridLines"), QStringLiteral("0"));
        w.writeAttribute(QStringLiteral("tabSelected"), QStringLiteral("1"));
        w.writeAttribute(QStringLiteral("workbookViewId"), QStringLiteral("0"));
        w.writeEndElement();
        w.writeEmptyElement(QStringLiteral("sheetFormatPr"));
        w.writeAttribute(QStringLiteral("defaultRowHeight"), QStringLiteral("15"));
        Columns(w, page.colWidths);
        w.writeStartElement(QStringLiteral("sheetData"));
        for (int r = 1; r <= lastRow; ++r) {
            w.writeStartElement(QStringLiteral("row"));
            w.writeAttribute(QStringLiteral("r"), QString::number(r));
            w.writeAttribute(QStringLiteral("ht"), Num(page.rowHeights[std::size_t(r - 1)]));
            w.writeAttribute(QStringLiteral("customHeight"), QStringLiteral("1"));
            for (int c = 1; c <= lastCol; ++c) {
                // A cell of the page layout, or a covered cell of a merge
                // (it carries the look so that borders run across).
                const PageCell* at = nullptr;
                const PageCell* covering = nullptr;
                for (const PageCell& cell : page.cells) {
                    if (cell.row != r)
                        continue;
                    if (cell.col == c)
                        at = &cell;
                    else if (c > cell.col && c < cell.col + cell.colSpan)
                        covering = &cell;
                }
                if (!at && !covering)
                    continue;
                w.writeStartElement(QStringLiteral("c"));
                w.writeAttribute(QStringLiteral("r"), CellName(c, r));
                w.writeAttribute(QStringLiteral("s"),
                                 QString::number(static_cast<int>((at ? at : covering)->look)));
                if (at) {
                    const QString formula = FormulaOf(*at);
                    if (!formula.isEmpty()) {
                        w.writeTextElement(QStringLiteral("f"), formula);
                    } else if (at->company) {
                        InlineString(w, QStringLiteral("Your Compration name"));
                    } else if (!at->parts.empty()) {
                        InlineString(w, at->parts.front().literal);
                    }
                }
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
        std::vector<QString> merges;
        for (const PageCell& cell : page.cells)
            if (cell.colSpan > 1)
                merges.push_back(CellName(cell.col, cell.row) + u':' +
                                 CellName(cell.col + cell.colSpan - 1, cell.row));
        w.writeStartElement(QStringLiteral("mergeCells"));
        w.writeAttribute(QStringLiteral("count"), QString::number(merges.size()));
        for (const QString& m : merges) {
            w.writeEmptyElement(QStringLiteral("mergeCell"));
            w.writeAttribute(QStringLiteral("ref"), m);
        }
        w.writeEndElement();
        PageSetup(w, page);
        w.writeEndElement();
    });
}

} // namespace

QStringList DataSheetHeads() {
    return {QT_TRANSLATE_NOOP("ReportPage", "项目"),
            QT_TRANSLATE_NOOP("ReportPage", "内容"),
            QT_TRANSLATE_NOOP("ReportPage", "拼板1孔号"),
            QT_TRANSLATE_NOOP("ReportPage", "拼板1坐标(X,Y)"),
            QT_TRANSLATE_NOOP("ReportPage", "拼板1孔径"),
            QT_TRANSLATE_NOOP("ReportPage", "拼板2孔号"),
            QT_TRANSLATE_NOOP("ReportPage", "拼板2坐标(X,Y)"),
            QT_TRANSLATE_NOOP("ReportPage", "拼板2孔径")};
}

namespace {

QByteArray DataSheet(const PageLayout& page) {
    return Xml([&page](QXmlStreamWriter& w) {
        w.writeStartElement(QStringLiteral("worksheet"));
        w.writeDefaultNamespace(QString::fromLatin1(kMainNs));
        w.writeNamespace(QString::fromLatin1(kRelNs), QStringLiteral("r"));
        w.writeEmptyElement(QStringLiteral("dimension"));
        w.writeAttribute(QStringLiteral("ref"),
                         QStringLiteral("A1:") + CellName(8, page.lastDataRow));
        w.writeStartElement(QStringLiteral("sheetViews"));
        w.writeEmptyElement(QStringLiteral("sheetView"));
        w.writeAttribute(QStringLiteral("workbookViewId"), QStringLiteral("0"));
        w.writeEndElement();
        w.writeEmptyElement(QStringLiteral("sheetFormatPr"));
        w.writeAttribute(QStringLiteral("defaultRowHeight"), QStringLiteral("15"));
        Columns(w, {66, 150, 45, 120, 66, 45, 120, 66});
        const QStringList heads = DataSheetHeads();
        w.writeStartElement(QStringLiteral("sheetData"));
        w.writeStartElement(QStringLiteral("row"));
        w.writeAttribute(QStringLiteral("r"), QStringLiteral("1"));
        for (int c = 0; c < heads.size(); ++c) {
            w.writeStartElement(QStringLiteral("c"));
            w.writeAttribute(QStringLiteral("r"), CellName(c + 1, 1));
            w.writeAttribute(QStringLiteral("s"),
                             QString::number(static_cast<int>(CellLook::Label)));
            InlineString(w, heads[c]);
            w.writeEndElement();
        }
        w.writeEndElement();
        for (const DataRow& d : page.dataRows) {
            w.writeStartElement(QStringLiteral("row"));
            w.writeAttribute(QStringLiteral("r"), QString::number(d.row));
            w.writeStartElement(QStringLiteral("c"));
            w.writeAttribute(QStringLiteral("r"), CellName(1, d.row));
            InlineString(w, d.caption);
            w.writeEndElement();
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeEmptyElement(QStringLiteral("pageMargins"));
        for (const char* side : {"left", "right", "top", "bottom"})
            w.writeAttribute(QString::fromLatin1(side), QStringLiteral("0.5"));
        w.writeAttribute(QStringLiteral("header"), QStringLiteral("0.3"));
        w.writeAttribute(QStringLiteral("footer"), QStringLiteral("0.3"));
        w.writeEndElement();
    });
}

QByteArray Workbook(const PageLayout& page) {
    return Xml([&page](QXmlStreamWriter& w) {
        w.writeStartElement(QStringLiteral("workbook"));
        w.writeDefaultNamespace(QString::fromLatin1(kMainNs));
        w.writeNamespace(QString::fromLatin1(kRelNs), QStringLiteral("r"));
        w.writeStartElement(QStringLiteral("bookViews"));
        w.writeEmptyElement(QStringLiteral("workbookView"));
        w.writeAttribute(QStringLiteral("activeTab"), QStringLiteral("0"));
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("sheets"));
        const char* names[] = {"Sheet1", "Data"};
        for (int i = 0; i < 2; ++i) {
            w.writeEmptyElement(QStringLiteral("sheet"));
            w.writeAttribute(QStringLiteral("name"), QString::fromLatin1(names[i]));
            w.writeAttribute(QStringLiteral("sheetId"), QString::number(i + 1));
            w.writeAttribute(QString::fromLatin1(kRelNs), QStringLiteral("id"),
                             QStringLiteral("rId%1").arg(i + 1));
        }
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("definedNames"));
        w.writeStartElement(QStringLiteral("definedName"));
        w.writeAttribute(QStringLiteral("name"), QStringLiteral("_xlnm.Print_Area"));
        w.writeAttribute(QStringLiteral("localSheetId"), QStringLiteral("0"));
        w.writeCharacters(QStringLiteral("Sheet1!$A$1:$%1$%2")
                              .arg(ColumnName(static_cast<int>(page.colWidths.size())))
                              .arg(page.rowHeights.size()));
        w.writeEndElement();
        w.writeEndElement();
        // The page's formulas are worked out when the workbook is opened.
        w.writeEmptyElement(QStringLiteral("calcPr"));
        w.writeAttribute(QStringLiteral("calcId"), QStringLiteral("191029"));
        w.writeAttribute(QStringLiteral("fullCalcOnLoad"), QStringLiteral("1"));
        w.writeEndElement();
    });
}

} // namespace

void InlineString(QXmlStreamWriter& w, const QString& text) {
    w.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
    w.writeStartElement(QStringLiteral("is"));
    w.writeStartElement(QStringLiteral("t"));
    w.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    w.writeCharacters(text);
    w.writeEndElement();
    w.writeEndElement();
}

double ColumnCharacters(double points) {
    // Pixels at 96 dpi over the 7-pixel digit of the default font.
    return points * 96.0 / 72.0 / 7.0;
}

QString FormulaOf(const PageCell& cell) {
    if (cell.company)
        return {};
    bool anyData = false;
    for (const TextPart& p : cell.parts)
        anyData = anyData || !p.dataCell.isEmpty();
    if (!anyData)
        return {};
    QStringList pieces;
    for (const TextPart& p : cell.parts)
        pieces << (p.dataCell.isEmpty() ? Quoted(p.literal) : QStringLiteral("Data!") + p.dataCell);
    // Joining with "" makes an empty Data cell read as empty text, not 0.
    if (pieces.size() == 1)
        pieces << QStringLiteral("\"\"");
    QString f = pieces.join(u'&');
    if (!cell.emptyUnless.isEmpty())
        f = QStringLiteral("IF(Data!%1=\"\",\"\",%2)").arg(cell.emptyUnless, f);
    return f;
}

bool MakeTemplatePackage(const PageLayout& page, const QString& fixedPartsDir, ZipParts& out,
                         QString* error) {
    out.parts.clear();
    const QDir dir(fixedPartsDir);
    // The content types first, as spreadsheet programs expect.
    QStringList names;
    QDirIterator it(fixedPartsDir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << dir.relativeFilePath(it.next());
    names.sort();
    names.removeAll(QStringLiteral("[Content_Types].xml"));
    names.prepend(QStringLiteral("[Content_Types].xml"));
    for (const QString& name : names) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            if (error)
                *error = QStringLiteral("%1: %2").arg(f.fileName(), f.errorString());
            return false;
        }
        out.Set(name, f.readAll());
    }
    out.Set(QStringLiteral("xl/workbook.xml"), Workbook(page));
    out.Set(QStringLiteral("xl/styles.xml"), Styles());
    out.Set(QStringLiteral("xl/worksheets/sheet1.xml"), ReportSheet(page));
    out.Set(QStringLiteral("xl/worksheets/sheet2.xml"), DataSheet(page));
    return true;
}

} // namespace vorn::report
