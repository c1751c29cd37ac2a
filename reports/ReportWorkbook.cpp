#include "ReportWorkbook.h"

#include "ReportTemplate.h"
#include "SafeWrite.h"
#include "ZipParts.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <map>

namespace vorn::report {

namespace {

constexpr const char* kPkgRelNs = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* kXdrNs =
    "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing";
constexpr const char* kDrawingNs = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr const char* kTemplateType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
constexpr const char* kWorkbookType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
constexpr double kEmuPerPoint = 12700;

// A failure of one step; its text is the message the user sees.
struct BuildError {
    QString text;
};

[[noreturn]] void Fail(const QString& text) {
    throw BuildError{text};
}

void CheckXml(const QXmlStreamReader& r, const QString& part) {
    if (r.hasError())
        Fail(QStringLiteral("%1: %2 (line %3)").arg(part, r.errorString()).arg(r.lineNumber()));
}

// Text for a cell: characters XML 1.0 cannot carry are left out.
QString CellText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u >= 0x20 || u == u'\t' || u == u'\n' || u == u'\r')
            out += ch;
    }
    return out;
}

// One token of a subtree, kept to be written again unchanged.
struct Token {
    QXmlStreamReader::TokenType type;
    QString name; // qualified
    QXmlStreamAttributes attributes;
    QXmlStreamNamespaceDeclarations namespaces;
    QString text;
};

Token TokenOf(const QXmlStreamReader& r) {
    Token t{r.tokenType(), r.qualifiedName().toString(), {}, {}, {}};
    if (t.type == QXmlStreamReader::StartElement) {
        t.attributes = r.attributes();
        t.namespaces = r.namespaceDeclarations();
    } else if (t.type == QXmlStreamReader::Characters) {
        t.text = r.text().toString();
    }
    return t;
}

// Writes a token keeping the prefixes exactly as they were.
void Write(QXmlStreamWriter& w, const Token& t) {
    switch (t.type) {
    case QXmlStreamReader::StartElement:
        w.writeStartElement(t.name);
        for (const auto& ns : t.namespaces)
            w.writeAttribute(ns.prefix().isEmpty()
                                 ? QStringLiteral("xmlns")
                                 : QStringLiteral("xmlns:") + ns.prefix().toString(),
                             ns.namespaceUri().toString());
        for (const auto& a : t.attributes)
            w.writeAttribute(a.qualifiedName().toString(), a.value().toString());
        break;
    case QXmlStreamReader::EndElement:
        w.writeEndElement();
        break;
    case QXmlStreamReader::Characters:
        w.writeCharacters(t.text);
        break;
    default:
        break;
    }
}

// Reads the subtree of the current start element (inclusive).
std::vector<Token> ReadSubtree(QXmlStreamReader& r) {
    std::vector<Token> tokens{TokenOf(r)};
    int depth = 1;
    while (depth > 0 && !r.atEnd()) {
        r.readNext();
        if (r.isStartElement())
            ++depth;
        else if (r.isEndElement())
            --depth;
        if (r.isStartElement() || r.isEndElement() || r.isCharacters())
            tokens.push_back(TokenOf(r));
    }
    return tokens;
}

// Copies a whole part, letting `edit` take over at any start element: it
// returns true when it has consumed the element (and written what replaces it).
using ElementEdit = std::function<bool(QXmlStreamReader&, QXmlStreamWriter&)>;
QByteArray Rewrite(const QByteArray& in, const QString& part, const ElementEdit& edit,
                   const std::function<void(QXmlStreamWriter&, int depth)>& beforeEnd = {}) {
    QXmlStreamReader r(in);
    QByteArray out;
    QXmlStreamWriter w(&out);
    int depth = 0;
    while (!r.atEnd()) {
        r.readNext();
        switch (r.tokenType()) {
        case QXmlStreamReader::StartDocument:
            w.writeStartDocument(QStringLiteral("1.0"), true);
            break;
        case QXmlStreamReader::StartElement:
            if (edit && edit(r, w))
                break;
            ++depth;
            Write(w, TokenOf(r));
            break;
        case QXmlStreamReader::EndElement:
            if (beforeEnd)
                beforeEnd(w, depth);
            --depth;
            w.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
            if (!r.isWhitespace() || depth > 1)
                w.writeCharacters(r.text().toString());
            break;
        default:
            break;
        }
    }
    CheckXml(r, part);
    w.writeEndDocument();
    return out;
}

struct Relationship {
    QString id;
    QString type;
    QString target;
};

std::vector<Relationship> ReadRelationships(const QByteArray& xml, const QString& part) {
    std::vector<Relationship> rels;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("Relationship")) {
            const auto a = r.attributes();
            rels.push_back({a.value(QStringLiteral("Id")).toString(),
                            a.value(QStringLiteral("Type")).toString(),
                            a.value(QStringLiteral("Target")).toString()});
        }
    }
    CheckXml(r, part);
    return rels;
}

QByteArray RelationshipsXml(const std::vector<Relationship>& rels) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(QStringLiteral("Relationships"));
    w.writeDefaultNamespace(QString::fromLatin1(kPkgRelNs));
    for (const Relationship& rel : rels) {
        w.writeEmptyElement(QStringLiteral("Relationship"));
        w.writeAttribute(QStringLiteral("Id"), rel.id);
        w.writeAttribute(QStringLiteral("Type"), rel.type);
        w.writeAttribute(QStringLiteral("Target"), rel.target);
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

QString FreeId(const std::vector<Relationship>& rels) {
    for (int i = 1;; ++i) {
        const QString id = QStringLiteral("rId%1").arg(i);
        if (std::none_of(rels.begin(), rels.end(),
                         [&id](const Relationship& r) { return r.id == id; }))
            return id;
    }
}

// "xl/worksheets/sheet1.xml" -> "xl/worksheets/_rels/sheet1.xml.rels".
QString RelsPartOf(const QString& part) {
    const QFileInfo fi(part);
    const QString dir = fi.path() == QLatin1String(".") ? QString() : fi.path() + u'/';
    return dir + QStringLiteral("_rels/") + fi.fileName() + QStringLiteral(".rels");
}

// A target of a relationship of `sourcePart`, as a part name.
QString ResolveTarget(const QString& sourcePart, const QString& target) {
    if (target.startsWith(u'/'))
        return target.mid(1);
    const QString dir =
        sourcePart.contains(u'/') ? sourcePart.section(u'/', 0, -2) + u'/' : QString();
    return QDir::cleanPath(dir + target);
}

int ColumnOf(const QString& ref) {
    int col = 0;
    for (QChar ch : ref) {
        if (!ch.isLetter())
            break;
        col = col * 26 + (ch.toUpper().unicode() - u'A' + 1);
    }
    return col;
}

int RowOf(const QString& ref) {
    static const QRegularExpression digits(QStringLiteral("(\\d+)$"));
    const auto m = digits.match(ref);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// One cell of a sheet as read, with what to write instead.
struct SheetCell {
    QXmlStreamAttributes attributes;
    std::vector<Token> tokens; // the original element
    QString formula;           // the text of its <f>, if any
    bool rewrite = false;
    bool inlineText = false; // rewrite as an inline string
    QString text;            // the inline string or the formula's cached value
    QString style;           // a cell format to use instead of its own
};

struct SheetRow {
    QXmlStreamAttributes attributes;
    std::map<int, SheetCell> cells;
    double height = 0; // points; 0 keeps the row's own
};

// The attributes with one of them set to `value`.
QXmlStreamAttributes WithAttribute(const QXmlStreamAttributes& attributes, const QString& name,
                                   const QString& value) {
    QXmlStreamAttributes out;
    bool set = false;
    for (const auto& a : attributes) {
        if (a.qualifiedName() == name) {
            out.append(name, value);
            set = true;
        } else {
            out.append(a.qualifiedName().toString(), a.value().toString());
        }
    }
    if (!set)
        out.append(name, value);
    return out;
}

QString PointsText(double pt) {
    return QString::number(pt, 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

std::map<int, SheetRow> ReadSheetData(QXmlStreamReader& r) {
    std::map<int, SheetRow> rows;
    int depth = 1;
    SheetRow* row = nullptr;
    while (depth > 0 && !r.atEnd()) {
        r.readNext();
        if (r.isEndElement()) {
            --depth;
            continue;
        }
        if (!r.isStartElement())
            continue;
        if (r.name() == QLatin1String("row")) {
            const int n = r.attributes().value(QStringLiteral("r")).toInt();
            row = &rows[n];
            row->attributes = r.attributes();
            ++depth;
        } else if (r.name() == QLatin1String("c") && row) {
            const QString ref = r.attributes().value(QStringLiteral("r")).toString();
            SheetCell cell;
            cell.attributes = r.attributes();
            cell.tokens = ReadSubtree(r);
            for (std::size_t i = 0; i + 1 < cell.tokens.size(); ++i)
                if (cell.tokens[i].type == QXmlStreamReader::StartElement &&
                    cell.tokens[i].name.endsWith(QLatin1String("f")) &&
                    cell.tokens[i].name.section(u':', -1) == QLatin1String("f") &&
                    cell.tokens[i + 1].type == QXmlStreamReader::Characters)
                    cell.formula = cell.tokens[i + 1].text;
            row->cells[ColumnOf(ref)] = std::move(cell);
        } else {
            ReadSubtree(r); // nothing else belongs in sheetData
        }
    }
    return rows;
}

void SetText(std::map<int, SheetRow>& rows, int rowNumber, int col, const QString& text) {
    SheetRow& row = rows[rowNumber];
    SheetCell& cell = row.cells[col];
    cell.rewrite = true;
    cell.inlineText = true;
    cell.text = CellText(text);
}

void WriteSheetData(QXmlStreamWriter& w, const std::map<int, SheetRow>& rows) {
    w.writeStartElement(QStringLiteral("sheetData"));
    for (const auto& [n, row] : rows) {
        w.writeStartElement(QStringLiteral("row"));
        w.writeAttribute(QStringLiteral("r"), QString::number(n));
        for (const auto& a : row.attributes) {
            // The span hint may be out of date once cells are added.
            const QStringView name = a.qualifiedName();
            if (name == QLatin1String("r") || name == QLatin1String("spans") ||
                (row.height > 0 &&
                 (name == QLatin1String("ht") || name == QLatin1String("customHeight"))))
                continue;
            w.writeAttribute(name.toString(), a.value().toString());
        }
        if (row.height > 0) {
            w.writeAttribute(QStringLiteral("ht"), PointsText(row.height));
            w.writeAttribute(QStringLiteral("customHeight"), QStringLiteral("1"));
        }
        for (const auto& [col, cell] : row.cells) {
            if (!cell.rewrite && !cell.tokens.empty()) {
                // As it was, at its (maybe moved) place.
                Token start = cell.tokens.front();
                start.attributes =
                    WithAttribute(start.attributes, QStringLiteral("r"), CellName(col, n));
                if (!cell.style.isEmpty())
                    start.attributes =
                        WithAttribute(start.attributes, QStringLiteral("s"), cell.style);
                Write(w, start);
                for (std::size_t i = 1; i < cell.tokens.size(); ++i)
                    Write(w, cell.tokens[i]);
                continue;
            }
            w.writeStartElement(QStringLiteral("c"));
            w.writeAttribute(QStringLiteral("r"), CellName(col, n));
            if (!cell.style.isEmpty())
                w.writeAttribute(QStringLiteral("s"), cell.style);
            else if (const auto s = cell.attributes.value(QStringLiteral("s")); !s.isEmpty())
                w.writeAttribute(QStringLiteral("s"), s.toString());
            if (!cell.rewrite) { // a cell of a format alone
                w.writeEndElement();
                continue;
            }
            if (cell.inlineText) {
                InlineString(w, cell.text);
            } else {
                w.writeAttribute(QStringLiteral("t"), QStringLiteral("str"));
                w.writeTextElement(QStringLiteral("f"), cell.formula);
                w.writeTextElement(QStringLiteral("v"), cell.text);
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
}

QString Dimension(const std::map<int, SheetRow>& rows) {
    int minCol = 0, maxCol = 0;
    for (const auto& [n, row] : rows)
        for (const auto& [col, cell] : row.cells) {
            minCol = minCol == 0 ? col : std::min(minCol, col);
            maxCol = std::max(maxCol, col);
        }
    if (rows.empty() || maxCol == 0)
        return QStringLiteral("A1");
    return CellName(minCol, rows.begin()->first) + u':' + CellName(maxCol, rows.rbegin()->first);
}

// Elements of a worksheet that come after <drawing>.
bool AfterDrawing(QStringView name) {
    static const QStringList names = {
        QStringLiteral("legacyDrawing"),   QStringLiteral("legacyDrawingHF"),
        QStringLiteral("drawingHF"),       QStringLiteral("picture"),
        QStringLiteral("oleObjects"),      QStringLiteral("controls"),
        QStringLiteral("webPublishItems"), QStringLiteral("tableParts"),
        QStringLiteral("extLst")};
    return names.contains(name.toString());
}

// Elements of a worksheet that come after <mergeCells>.
bool AfterMerges(QStringView name) {
    static const QStringList names = {
        QStringLiteral("phoneticPr"),       QStringLiteral("conditionalFormatting"),
        QStringLiteral("dataValidations"),  QStringLiteral("hyperlinks"),
        QStringLiteral("printOptions"),     QStringLiteral("pageMargins"),
        QStringLiteral("pageSetup"),        QStringLiteral("headerFooter"),
        QStringLiteral("rowBreaks"),        QStringLiteral("colBreaks"),
        QStringLiteral("customProperties"), QStringLiteral("cellWatches"),
        QStringLiteral("ignoredErrors"),    QStringLiteral("smartTags"),
        QStringLiteral("drawing")};
    return names.contains(name.toString()) || AfterDrawing(name);
}

// What to change in a worksheet.
struct SheetEdit {
    std::function<void(std::map<int, SheetRow>&)> fill; // the cells
    QString drawingId;                                  // a <drawing> to add, if set
    // The merged ranges from those the sheet has (unset: left as they are).
    std::function<QStringList(const QStringList&)> merges;
};

void WriteMerges(QXmlStreamWriter& w, const QStringList& refs) {
    if (refs.isEmpty())
        return;
    w.writeStartElement(QStringLiteral("mergeCells"));
    w.writeAttribute(QStringLiteral("count"), QString::number(refs.size()));
    for (const QString& ref : refs) {
        w.writeEmptyElement(QStringLiteral("mergeCell"));
        w.writeAttribute(QStringLiteral("ref"), ref);
    }
    w.writeEndElement();
}

// Rewrites a worksheet as `edit` says.
QByteArray EditSheet(const QByteArray& xml, const QString& part, const SheetEdit& edit) {
    // First pass: the cells, to know the new extent, and the merged ranges.
    std::map<int, SheetRow> rows;
    QStringList merges;
    {
        QXmlStreamReader r(xml);
        while (!r.atEnd()) {
            r.readNext();
            if (!r.isStartElement())
                continue;
            if (r.name() == QLatin1String("sheetData"))
                rows = ReadSheetData(r);
            else if (r.name() == QLatin1String("mergeCell"))
                merges << r.attributes().value(QStringLiteral("ref")).toString();
        }
        CheckXml(r, part);
    }
    edit.fill(rows);
    if (edit.merges)
        merges = edit.merges(merges);
    bool drawingWritten = edit.drawingId.isEmpty();
    bool mergesWritten = !edit.merges;
    auto writeDrawing = [&](QXmlStreamWriter& w) {
        if (drawingWritten)
            return;
        w.writeEmptyElement(QStringLiteral("drawing"));
        w.writeAttribute(QStringLiteral("xmlns:r"), QString::fromLatin1(kRelNs));
        w.writeAttribute(QStringLiteral("r:id"), edit.drawingId);
        drawingWritten = true;
    };
    auto writeMerges = [&](QXmlStreamWriter& w) {
        if (!mergesWritten)
            WriteMerges(w, merges);
        mergesWritten = true;
    };
    return Rewrite(
        xml, part,
        [&](QXmlStreamReader& r, QXmlStreamWriter& w) {
            const QStringView name = r.name();
            if (r.namespaceUri() != QLatin1String(kMainNs))
                return false;
            if (name == QLatin1String("sheetData")) {
                ReadSubtree(r);
                WriteSheetData(w, rows);
                return true;
            }
            if (name == QLatin1String("dimension")) {
                ReadSubtree(r);
                w.writeEmptyElement(QStringLiteral("dimension"));
                w.writeAttribute(QStringLiteral("ref"), Dimension(rows));
                return true;
            }
            if (name == QLatin1String("mergeCells") && !mergesWritten) {
                ReadSubtree(r);
                writeMerges(w);
                return true;
            }
            if (AfterMerges(name))
                writeMerges(w);
            if (name == QLatin1String("drawing") && !edit.drawingId.isEmpty())
                Fail(QStringLiteral("%1: the template's report sheet already holds drawings")
                         .arg(part));
            if (AfterDrawing(name))
                writeDrawing(w);
            return false;
        },
        [&](QXmlStreamWriter& w, int depth) {
            if (depth == 1) { // the end of <worksheet>
                writeMerges(w);
                writeDrawing(w);
            }
        });
}

QByteArray DrawingXml(const ReportContent& content, const std::vector<QString>& ids) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(QStringLiteral("xdr:wsDr"));
    w.writeAttribute(QStringLiteral("xmlns:xdr"), QString::fromLatin1(kXdrNs));
    w.writeAttribute(QStringLiteral("xmlns:a"), QString::fromLatin1(kDrawingNs));
    w.writeAttribute(QStringLiteral("xmlns:r"), QString::fromLatin1(kRelNs));
    const PageLayout& page = content.Page();
    int n = 0;
    for (const PicturePlace& place : page.pictures) {
        if (!content.pictures.contains(place.name))
            continue;
        // The printed size is the described one, whatever the pixels.
        const auto emu = [](double pt) { return QString::number(qRound64(pt * kEmuPerPoint)); };
        const QString x = emu(place.left), y = emu(place.top);
        const QString cx = emu(page.pictureWidth / place.factor);
        const QString cy = emu(page.pictureHeight / place.factor);
        // Placed by the cell under its top-left corner and the offset into
        // that cell, so it lands on the described point in any program.
        const PageLayout::CellPoint at = page.CellAtPoint(place.left, place.top);
        w.writeStartElement(QStringLiteral("xdr:oneCellAnchor"));
        w.writeStartElement(QStringLiteral("xdr:from"));
        w.writeTextElement(QStringLiteral("xdr:col"), QString::number(at.col - 1));
        w.writeTextElement(QStringLiteral("xdr:colOff"), emu(at.dx));
        w.writeTextElement(QStringLiteral("xdr:row"), QString::number(at.row - 1));
        w.writeTextElement(QStringLiteral("xdr:rowOff"), emu(at.dy));
        w.writeEndElement();
        w.writeEmptyElement(QStringLiteral("xdr:ext"));
        w.writeAttribute(QStringLiteral("cx"), cx);
        w.writeAttribute(QStringLiteral("cy"), cy);
        w.writeStartElement(QStringLiteral("xdr:pic"));
        w.writeStartElement(QStringLiteral("xdr:nvPicPr"));
        w.writeEmptyElement(QStringLiteral("xdr:cNvPr"));
        w.writeAttribute(QStringLiteral("id"), QString::number(n + 2));
        w.writeAttribute(QStringLiteral("name"), place.name);
        w.writeAttribute(QStringLiteral("descr"), place.name + QStringLiteral(".png"));
        w.writeStartElement(QStringLiteral("xdr:cNvPicPr"));
        w.writeEmptyElement(QStringLiteral("a:picLocks"));
        w.writeAttribute(QStringLiteral("noChangeAspect"), QStringLiteral("1"));
        w.writeEndElement();
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("xdr:blipFill"));
        w.writeEmptyElement(QStringLiteral("a:blip"));
        w.writeAttribute(QStringLiteral("r:embed"), ids[std::size_t(n)]);
        w.writeStartElement(QStringLiteral("a:stretch"));
        w.writeEmptyElement(QStringLiteral("a:fillRect"));
        w.writeEndElement();
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("xdr:spPr"));
        w.writeStartElement(QStringLiteral("a:xfrm"));
        w.writeEmptyElement(QStringLiteral("a:off"));
        w.writeAttribute(QStringLiteral("x"), x);
        w.writeAttribute(QStringLiteral("y"), y);
        w.writeEmptyElement(QStringLiteral("a:ext"));
        w.writeAttribute(QStringLiteral("cx"), cx);
        w.writeAttribute(QStringLiteral("cy"), cy);
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("a:prstGeom"));
        w.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
        w.writeEmptyElement(QStringLiteral("a:avLst"));
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement(); // pic
        w.writeEmptyElement(QStringLiteral("xdr:clientData"));
        w.writeEndElement(); // anchor
        ++n;
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

QByteArray ContentTypes(const QByteArray& xml, const QString& workbookPart,
                        const QString& drawingPart) {
    struct Entry {
        bool isDefault;
        QString key;
        QString type;
    };
    std::vector<Entry> entries;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement())
            continue;
        const auto a = r.attributes();
        if (r.name() == QLatin1String("Default"))
            entries.push_back({true, a.value(QStringLiteral("Extension")).toString(),
                               a.value(QStringLiteral("ContentType")).toString()});
        else if (r.name() == QLatin1String("Override"))
            entries.push_back({false, a.value(QStringLiteral("PartName")).toString(),
                               a.value(QStringLiteral("ContentType")).toString()});
    }
    CheckXml(r, QStringLiteral("[Content_Types].xml"));
    bool png = false;
    for (Entry& e : entries) {
        png = png || (e.isDefault && e.key.compare(QLatin1String("png"), Qt::CaseInsensitive) == 0);
        // A workbook made from a template is a workbook, not a template.
        if (!e.isDefault && e.key == u'/' + workbookPart && e.type == QLatin1String(kTemplateType))
            e.type = QString::fromLatin1(kWorkbookType);
    }
    if (!png)
        entries.insert(entries.begin(), {true, QStringLiteral("png"), QStringLiteral("image/png")});
    entries.push_back(
        {false, u'/' + drawingPart,
         QStringLiteral("application/vnd.openxmlformats-officedocument.drawing+xml")});
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(QStringLiteral("Types"));
    w.writeDefaultNamespace(
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types"));
    for (const Entry& e : entries) {
        w.writeEmptyElement(e.isDefault ? QStringLiteral("Default") : QStringLiteral("Override"));
        w.writeAttribute(e.isDefault ? QStringLiteral("Extension") : QStringLiteral("PartName"),
                         e.key);
        w.writeAttribute(QStringLiteral("ContentType"), e.type);
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        Fail(QStringLiteral("a picture of the report cannot be made"));
    return bytes;
}

const PageCell* CellOf(const PageLayout& page, int row, int col) {
    for (const PageCell& cell : page.cells)
        if (cell.row == row && cell.col == col)
            return &cell;
    return nullptr;
}

// "A37:F37" with its rows from `from` on moved down by `by`.
QString MovedRange(const QString& ref, int from, int by) {
    QStringList ends = ref.split(u':');
    for (QString& end : ends) {
        const int row = RowOf(end);
        if (row >= from)
            end = CellName(ColumnOf(end), row + by);
    }
    return ends.join(u':');
}

// The report sheet made this content's page. The template holds the page
// without continued hole lines; the lines that continue go in rows inserted
// before the note, every row gets its fitted height and every text the
// look it was fitted with.
void FillReportSheet(std::map<int, SheetRow>& rows, const ReportContent& content) {
    const PageLayout& base = PageOf(content.twoSize);
    const PageLayout& page = content.Page();
    const int added = int(page.rowHeights.size()) - int(base.rowHeights.size());
    if (added > 0) {
        std::map<int, SheetRow> moved;
        for (auto& [n, row] : rows)
            moved[n >= base.noteRow ? n + added : n] = std::move(row);
        rows = std::move(moved);
    }
    for (int n = 1; n <= int(page.rowHeights.size()); ++n)
        rows[n].height = page.rowHeights[std::size_t(n - 1)];
    for (const PageCell& cell : page.cells) {
        const QString style = QString::number(int(cell.look));
        const bool inserted =
            added > 0 && cell.row >= base.noteRow && cell.row < base.noteRow + added;
        const PageCell* was =
            inserted
                ? nullptr
                : CellOf(base, cell.row >= base.noteRow ? cell.row - added : cell.row, cell.col);
        SheetRow& row = rows[cell.row];
        // The covered cells of a new merge carry its look, so that borders run across.
        for (int c = cell.col + 1; c < cell.col + cell.colSpan; ++c)
            if (row.cells[c].tokens.empty())
                row.cells[c].style = style;
        SheetCell& sc = row.cells[cell.col];
        if (!was || was->look != cell.look)
            sc.style = style;
        const QString formula = FormulaOf(cell);
        if (sc.tokens.empty()) {
            // A line the template does not have.
            if (!formula.isEmpty()) {
                sc.rewrite = true;
                sc.formula = formula;
                sc.text = CellText(content.TextOf(cell));
            } else if (!cell.company && !cell.parts.empty()) {
                sc.rewrite = true;
                sc.inlineText = true;
                sc.text = CellText(cell.parts.front().literal);
            }
        } else if (!formula.isEmpty() && sc.formula == formula) {
            // The value the formula shows until it is worked out again.
            sc.rewrite = true;
            sc.text = CellText(content.TextOf(cell));
        } else if (formula.isEmpty() && !cell.company && !cell.parts.empty() && was &&
                   !was->parts.empty() &&
                   was->parts.front().literal != cell.parts.front().literal) {
            // The template's fixed text, in the language the page speaks.
            sc.rewrite = true;
            sc.inlineText = true;
            sc.text = CellText(cell.parts.front().literal);
        }
    }
    SetText(rows, 1, 1, content.company);
}

// The merged ranges of the report sheet: the template's, moved with their
// rows, and those of the inserted rows.
QStringList ReportMerges(const QStringList& merges, const ReportContent& content) {
    const PageLayout& base = PageOf(content.twoSize);
    const PageLayout& page = content.Page();
    const int added = int(page.rowHeights.size()) - int(base.rowHeights.size());
    QStringList out;
    for (const QString& ref : merges)
        out << (added > 0 ? MovedRange(ref, base.noteRow, added) : ref);
    for (const PageCell& cell : page.cells)
        if (added > 0 && cell.colSpan > 1 && cell.row >= base.noteRow &&
            cell.row < base.noteRow + added)
            out << CellName(cell.col, cell.row) + u':' +
                       CellName(cell.col + cell.colSpan - 1, cell.row);
    return out;
}

// A sheet's name as a formula writes it.
QString SheetReference(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.]*$"));
    if (plain.match(name).hasMatch())
        return name;
    return u'\'' + QString(name).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// Elements of a workbook that come after <definedNames>.
bool AfterDefinedNames(QStringView name) {
    static const QStringList names = {QStringLiteral("calcPr"),
                                      QStringLiteral("oleSize"),
                                      QStringLiteral("customWorkbookViews"),
                                      QStringLiteral("pivotCaches"),
                                      QStringLiteral("smartTagPr"),
                                      QStringLiteral("smartTagTypes"),
                                      QStringLiteral("webPublishing"),
                                      QStringLiteral("fileRecoveryPr"),
                                      QStringLiteral("webPublishObjects"),
                                      QStringLiteral("extLst")};
    return names.contains(name.toString());
}

QString FreePartName(const ZipParts& parts, const QString& pattern) {
    for (int i = 1;; ++i) {
        const QString name = pattern.arg(i);
        if (!parts.Has(name))
            return name;
    }
}

void Build(const ReportContent& content, ZipParts& pkg) {
    // The workbook part and its sheets.
    const QString rootRels = QStringLiteral("_rels/.rels");
    QString workbookPart;
    for (const Relationship& rel : ReadRelationships(pkg.Get(rootRels), rootRels))
        if (rel.type.endsWith(QLatin1String("/officeDocument")))
            workbookPart = ResolveTarget(QString(), rel.target);
    if (workbookPart.isEmpty() || !pkg.Has(workbookPart))
        Fail(QStringLiteral("the template holds no workbook"));
    const QString workbookRelsPart = RelsPartOf(workbookPart);
    std::map<QString, QString> targets;
    for (const Relationship& rel : ReadRelationships(pkg.Get(workbookRelsPart), workbookRelsPart))
        targets[rel.id] = ResolveTarget(workbookPart, rel.target);
    QStringList sheetParts;
    QString reportSheet;
    int sheetIndex = 0;
    // Only the report page goes to paper: its print area, and the "Data"
    // sheet hidden, as spreadsheet programs print every sheet that shows.
    const QString printArea = QStringLiteral("$A$1:$%1$%2")
                                  .arg(ColumnName(int(content.Page().colWidths.size())))
                                  .arg(content.Page().rowHeights.size());
    bool namesWritten = false;
    auto writeNames = [&](QXmlStreamWriter& w, const std::vector<Token>& others) {
        w.writeStartElement(QStringLiteral("definedNames"));
        for (const Token& t : others)
            Write(w, t);
        w.writeStartElement(QStringLiteral("definedName"));
        w.writeAttribute(QStringLiteral("name"), QStringLiteral("_xlnm.Print_Area"));
        w.writeAttribute(QStringLiteral("localSheetId"), QStringLiteral("0"));
        w.writeCharacters(SheetReference(reportSheet) + u'!' + printArea);
        w.writeEndElement();
        w.writeEndElement();
        namesWritten = true;
    };
    // Worksheets(2).Name := "Data"
    const QByteArray workbook = Rewrite(
        pkg.Get(workbookPart), workbookPart,
        [&](QXmlStreamReader& r, QXmlStreamWriter& w) {
            if (r.name() == QLatin1String("definedNames")) {
                // The names kept but the report sheet's print area.
                const std::vector<Token> tokens = ReadSubtree(r);
                std::vector<Token> others;
                for (std::size_t i = 1; i + 1 < tokens.size(); ++i) {
                    std::size_t end = i;
                    int depth = 0;
                    do {
                        if (tokens[end].type == QXmlStreamReader::StartElement)
                            ++depth;
                        else if (tokens[end].type == QXmlStreamReader::EndElement)
                            --depth;
                        ++end;
                    } while (depth > 0 && end + 1 < tokens.size());
                    const auto& a = tokens[i].attributes;
                    const bool printAreaOfReport =
                        a.value(QStringLiteral("name")) == QLatin1String("_xlnm.Print_Area") &&
                        a.value(QStringLiteral("localSheetId")) == QLatin1String("0");
                    if (!printAreaOfReport)
                        others.insert(others.end(), tokens.begin() + long(i),
                                      tokens.begin() + long(end));
                    i = end - 1;
                }
                writeNames(w, others);
                return true;
            }
            if (AfterDefinedNames(r.name()) && !namesWritten)
                writeNames(w, {});
            if (r.name() != QLatin1String("sheet"))
                return false;
            Token t = TokenOf(r);
            for (const auto& a : t.attributes)
                if (a.name() == QLatin1String("id") && a.namespaceUri() == QLatin1String(kRelNs))
                    sheetParts << targets[a.value().toString()];
            if (++sheetIndex == 1)
                reportSheet = t.attributes.value(QStringLiteral("name")).toString();
            if (sheetIndex == 2) {
                t.attributes =
                    WithAttribute(t.attributes, QStringLiteral("name"), QStringLiteral("Data"));
                t.attributes =
                    WithAttribute(t.attributes, QStringLiteral("state"), QStringLiteral("hidden"));
            }
            Write(w, t);
            ReadSubtree(r);
            w.writeEndElement();
            return true;
        },
        [&](QXmlStreamWriter& w, int depth) {
            if (depth == 1 && !namesWritten) // the end of <workbook>
                writeNames(w, {});
        });
    if (sheetParts.size() < 2 || !pkg.Has(sheetParts[0]) || !pkg.Has(sheetParts[1]))
        Fail(QStringLiteral("the template needs a report sheet and a second sheet"));
    pkg.Set(workbookPart, workbook);

    // The pictures and their drawing on the first sheet.
    const QString drawingPart = FreePartName(pkg, QStringLiteral("xl/drawings/drawing%1.xml"));
    std::vector<Relationship> drawingRels;
    std::vector<QString> ids;
    for (const PicturePlace& place : content.Page().pictures) {
        if (!content.pictures.contains(place.name))
            continue;
        const QString media = FreePartName(pkg, QStringLiteral("xl/media/image%1.png"));
        pkg.Set(media, Png(content.pictures.value(place.name)));
        ids.push_back(FreeId(drawingRels));
        drawingRels.push_back({ids.back(), QString::fromLatin1(kRelNs) + QStringLiteral("/image"),
                               QStringLiteral("../media/") + QFileInfo(media).fileName()});
    }
    pkg.Set(drawingPart, DrawingXml(content, ids));
    pkg.Set(RelsPartOf(drawingPart), RelationshipsXml(drawingRels));
    const QString sheetRelsPart = RelsPartOf(sheetParts[0]);
    std::vector<Relationship> sheetRels;
    if (pkg.Has(sheetRelsPart))
        sheetRels = ReadRelationships(pkg.Get(sheetRelsPart), sheetRelsPart);
    const QString drawingId = FreeId(sheetRels);
    sheetRels.push_back({drawingId, QString::fromLatin1(kRelNs) + QStringLiteral("/drawing"),
                         QStringLiteral("../drawings/") + QFileInfo(drawingPart).fileName()});
    pkg.Set(sheetRelsPart, RelationshipsXml(sheetRels));
    pkg.Set(
        QStringLiteral("[Content_Types].xml"),
        ContentTypes(pkg.Get(QStringLiteral("[Content_Types].xml")), workbookPart, drawingPart));

    // Sheet1: the page of this content, A1 and the values its formulas show
    // until they are worked out again.
    SheetEdit report;
    report.fill = [&content](std::map<int, SheetRow>& rows) { FillReportSheet(rows, content); };
    report.drawingId = drawingId;
    report.merges = [&content](const QStringList& merges) { return ReportMerges(merges, content); };
    pkg.Set(sheetParts[0], EditSheet(pkg.Get(sheetParts[0]), sheetParts[0], report));
    // Data: B2 … and the hole rows. An empty value leaves its cell empty (the
    // page's formulas read it as empty text).
    SheetEdit data;
    data.fill = [&content](std::map<int, SheetRow>& rows) {
        // The captions the template holds, in the language the page speaks.
        const QStringList heads = DataSheetHeads();
        for (int c = 0; c < heads.size(); ++c)
            if (const QString text = PageText(heads[c]); text != heads[c])
                SetText(rows, 1, c + 1, text);
        const PageLayout& base = PageOf(content.twoSize);
        for (std::size_t i = 0; i < content.Page().dataRows.size() && i < base.dataRows.size(); ++i)
            if (const DataRow& d = content.Page().dataRows[i];
                d.caption != base.dataRows[i].caption)
                SetText(rows, d.row, 1, d.caption);
        for (auto it = content.data.begin(); it != content.data.end(); ++it)
            if (!it.value().isEmpty())
                SetText(rows, RowOf(it.key()), ColumnOf(it.key()), it.value());
    };
    pkg.Set(sheetParts[1], EditSheet(pkg.Get(sheetParts[1]), sheetParts[1], data));
}

} // namespace

QString TemplatePath(const QString& programDir, bool twoSize) {
    return QDir(programDir).filePath(PageOf(twoSize).templateFile);
}

QString TemplateMissingMessage() {
    return QCoreApplication::translate("ReportWorkbook",
                                       "模板文件 \"Exlfile.xlt\" 不存在，此操作失败!");
}

bool BuildReportWorkbook(const ReportContent& content, const QString& templatePath,
                         QByteArray& workbook, QString* error) {
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!QFileInfo::exists(templatePath))
        return fail(TemplateMissingMessage());
    ZipParts pkg;
    QString why;
    if (!ReadZip(templatePath, pkg, &why))
        return fail(why);
    try {
        Build(content, pkg);
    } catch (const BuildError& e) {
        return fail(QStringLiteral("%1: %2").arg(QFileInfo(templatePath).fileName(), e.text));
    }
    if (!WriteZip(pkg, workbook, &why))
        return fail(why);
    return true;
}

bool WriteReportWorkbook(const ReportContent& content, const QString& templatePath,
                         const QString& path, QString* error) {
    QByteArray bytes;
    if (!BuildReportWorkbook(content, templatePath, bytes, error))
        return false;
    return SafeWriteFile(path, bytes, error);
}

} // namespace vorn::report
