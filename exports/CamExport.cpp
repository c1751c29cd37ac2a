// The DXF drawing and the placement list of a plan.

#include "CamExport.h"

#include "DiagramGeometry.h"
#include "SafeWrite.h"
#include "Tolerance.h"

#include <dl_dxf.h>
#include <dl_writer_ascii.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace vorn {
namespace {

// dxflib writes through a DL_WriterA; this one keeps the group codes in
// memory so that the owners can be linked before the file is written whole by
// the safe write (the file stream of the base class is never opened).
struct Record {
    int code;
    std::string value;
};

class MemoryWriter : public DL_WriterA {
public:
    explicit MemoryWriter(std::vector<Record>& out) : DL_WriterA("", DL_VERSION_2000), out_(out) {}

    void dxfReal(int gc, double value) const override {
        // Fixed notation without trailing zeros: every reader takes it.
        char text[64];
        std::snprintf(text, sizeof text, "%.10f", value + 0.0);
        std::string s(text);
        if (s.find('.') != std::string::npos) {
            s.erase(s.find_last_not_of('0') + 1);
            if (s.back() == '.')
                s += '0';
        }
        if (s == "-0.0")
            s = "0.0";
        out_.push_back({gc, s});
    }
    void dxfInt(int gc, int value) const override { out_.push_back({gc, std::to_string(value)}); }
    void dxfHex(int gc, int value) const override { out_.push_back({gc, Hex(value)}); }
    void dxfString(int gc, const char* value) const override {
        out_.push_back({gc, value ? value : ""});
    }
    void dxfString(int gc, const std::string& value) const override { out_.push_back({gc, value}); }

    static std::string Hex(unsigned long value) {
        char text[32];
        std::snprintf(text, sizeof text, "%lX", value);
        return text;
    }

private:
    std::vector<Record>& out_;
};

// dxflib leaves out the owner (group 330) of every table, record, block,
// entity and object; readers then guess it, and some refuse the file. Each
// one gets the owner the DXF structure gives it: a table the file (0), a
// record its table, a block and its entities the block's record, the model
// space entities *Model_Space's record, an object the dictionary that lists
// it. $HANDSEED becomes the next free handle.
void LinkOwners(std::vector<Record>& records) {
    std::vector<Record> out;
    out.reserve(records.size() + records.size() / 8);
    std::map<std::string, std::string> blockRecords; // name -> handle
    std::map<std::string, std::string> listedBy;     // object -> its dictionary
    std::string section, table, block, rootDictionary;
    unsigned long maxHandle = 0;
    std::size_t handSeed = 0;

    std::size_t i = 0;
    while (i < records.size()) {
        // One object: from its 0 record to the next.
        std::size_t end = i + 1;
        while (end < records.size() && records[end].code != 0)
            ++end;
        const std::string type = records[i].code == 0 ? records[i].value : std::string();
        const auto value = [&](int code) -> std::string {
            for (std::size_t k = i + 1; k < end; ++k)
                if (records[k].code == code)
                    return records[k].value;
            return {};
        };
        if (type == "SECTION")
            section = value(2);
        // The header's variables are no object; $HANDSEED is not a handle.
        std::size_t handleAt = 0;
        bool owned = false;
        for (std::size_t k = i + 1; k < end && records[k].code != 100 && type != "SECTION"; ++k) {
            if ((records[k].code == 5 || records[k].code == 105) && !handleAt)
                handleAt = k;
            if (records[k].code == 330)
                owned = true;
        }
        std::string handle = handleAt ? records[handleAt].value : std::string();
        if (handleAt)
            maxHandle = std::max(maxHandle, std::stoul(handle, nullptr, 16));

        std::string owner;
        if (section == "TABLES" && type == "TABLE") {
            owner = "0";
            table = handle;
        } else if (section == "TABLES" && type != "ENDTAB" && type != "SECTION") {
            owner = table;
            if (type == "BLOCK_RECORD")
                blockRecords[value(2)] = handle;
        } else if (section == "BLOCKS" && type != "SECTION") {
            if (type == "BLOCK")
                block = blockRecords[value(2)];
            owner = block;
        } else if (section == "ENTITIES" && type != "SECTION") {
            owner = blockRecords[value(67) == "1" ? "*Paper_Space" : "*Model_Space"];
        } else if (section == "OBJECTS" && type != "SECTION") {
            if (rootDictionary.empty()) {
                rootDictionary = handle;
                owner = "0";
            } else {
                const auto it = listedBy.find(handle);
                owner = it != listedBy.end() ? it->second : rootDictionary;
            }
            if (type == "DICTIONARY" || type == "ACDBDICTIONARYWDFLT")
                for (std::size_t k = i + 1; k < end; ++k)
                    if (records[k].code == 350 || records[k].code == 360)
                        listedBy.emplace(records[k].value, handle);
        }

        for (std::size_t k = i; k < end; ++k) {
            if (records[k].code == 9 && records[k].value == "$HANDSEED")
                handSeed = out.size() + 1;
            out.push_back(std::move(records[k]));
            if (k == handleAt && !owned && !owner.empty())
                out.push_back({330, owner});
        }
        i = end;
    }
    if (handSeed && handSeed < out.size())
        out[handSeed].value = MemoryWriter::Hex(maxHandle + 1);
    records = std::move(out);
}

std::string Text(const std::vector<Record>& records) {
    std::string text;
    for (const Record& r : records) {
        char code[16];
        std::snprintf(code, sizeof code, "%3d\n", r.code);
        text += code;
        text += r.value;
        text += '\n';
    }
    return text;
}

struct LayerLook {
    const char* name;
    int color; // AutoCAD colour index
};

const LayerLook kLayers[] = {
    {"PANEL1", 7},     {"BOARDS1", 3},  {"TOOLING1", 1}, {"PANEL2", 7},
    {"BOARDS2", 3},    {"TOOLING2", 1}, {"SHEET", 30},   {"CUTS", 40},
    {"DIMENSIONS", 8}, {"ARRAY", 5},    {"UNITS", 4},    {"ARRAY_TOOLING", 1},
};

// Entities of the drawing, all on the layer's own colour and line type.
class Drawing {
public:
    Drawing(DL_Dxf& dxf, DL_WriterA& dw) : dxf_(dxf), dw_(dw) {}

    void Rect(const char* layer, double x, double y, double w, double h) {
        dxf_.writePolyline(dw_, DL_PolylineData(4, 0, 0, 1), Attr(layer));
        for (const auto& [vx, vy] :
             {std::pair{x, y}, std::pair{x + w, y}, std::pair{x + w, y + h}, std::pair{x, y + h}})
            dxf_.writeVertex(dw_, DL_VertexData(vx, vy, 0, 0));
        dxf_.writePolylineEnd(dw_);
    }
    void Line(const char* layer, double x1, double y1, double x2, double y2) {
        dxf_.writeLine(dw_, DL_LineData(x1, y1, 0, x2, y2, 0), Attr(layer));
    }
    void Circle(const char* layer, double x, double y, double r) {
        dxf_.writeCircle(dw_, DL_CircleData(x, y, 0, r), Attr(layer));
    }
    void Point(const char* layer, double x, double y) {
        dxf_.writePoint(dw_, DL_PointData(x, y, 0), Attr(layer));
    }
    // Text of height h; centred on (x, y) along its baseline, or starting
    // there; `degrees` turns it counter-clockwise.
    void Text(const char* layer, double x, double y, double h, const QString& text, bool centred,
              double degrees) {
        dxf_.writeText(dw_,
                       DL_TextData(x, y, 0, x, y, 0, h, 1.0, 0, centred ? 1 : 0, 0,
                                   text.toStdString(), "Standard",
                                   degrees * std::numbers::pi / 180.0),
                       Attr(layer));
    }

private:
    static DL_Attributes Attr(const char* layer) {
        return DL_Attributes(layer, 256, -1, "BYLAYER", 1.0);
    }
    DL_Dxf& dxf_;
    DL_WriterA& dw_;
};

// Dimensions drawn as lines and text on the layer DIMENSIONS: extension
// lines, the dimension line with slanted ticks, and the value as the
// diagrams write it.
class Marks {
public:
    Marks(Drawing& d, double textHeight) : d_(d), th_(textHeight) {}

    // A length along x from x1 to x2 on a line at height yd; the extension
    // lines start just off the measured edges at yFrom.
    void AlongX(double x1, double x2, double yFrom, double yd) {
        const double s = yd >= yFrom ? 1 : -1;
        Ext(x1, yFrom + s * th_ / 3, x1, yd + s * th_ / 2);
        Ext(x2, yFrom + s * th_ / 3, x2, yd + s * th_ / 2);
        d_.Line(kLayer, x1, yd, x2, yd);
        Tick(x1, yd);
        Tick(x2, yd);
        const QString t = FormatLength(x2 - x1);
        if (Fits(t, x2 - x1))
            d_.Text(kLayer, (x1 + x2) / 2, yd + th_ / 3, th_, t, true, 0);
        else
            d_.Text(kLayer, x2 + th_ / 2, yd + th_ / 3, th_, t, false, 0);
    }
    // A length along y from y1 to y2 on a line at xd; text turned upright.
    void AlongY(double y1, double y2, double xFrom, double xd) {
        const double s = xd >= xFrom ? 1 : -1;
        Ext(xFrom + s * th_ / 3, y1, xd + s * th_ / 2, y1);
        Ext(xFrom + s * th_ / 3, y2, xd + s * th_ / 2, y2);
        d_.Line(kLayer, xd, y1, xd, y2);
        Tick(xd, y1);
        Tick(xd, y2);
        const QString t = FormatLength(y2 - y1);
        if (Fits(t, y2 - y1))
            d_.Text(kLayer, xd - th_ / 3, (y1 + y2) / 2, th_, t, true, 90);
        else
            d_.Text(kLayer, xd - th_ / 3, y2 + th_ / 2, th_, t, false, 90);
    }

private:
    static constexpr const char* kLayer = "DIMENSIONS";
    bool Fits(const QString& t, double span) const { return t.size() * th_ * 0.9 < span; }
    void Ext(double x1, double y1, double x2, double y2) {
        if (x1 != x2 || y1 != y2)
            d_.Line(kLayer, x1, y1, x2, y2);
    }
    void Tick(double x, double y) {
        d_.Line(kLayer, x - th_ / 4, y - th_ / 4, x + th_ / 4, y + th_ / 4);
    }
    Drawing& d_;
    double th_;
};

double TextHeight(const CamOutline& o) {
    return std::max(o.drawing.ContainerL, o.drawing.ContainerW) / 40;
}

// The top-left piece, as the diagrams dimension their first piece.
const Placement* FirstPiece(const std::vector<Placement>& pieces) {
    const Placement* best = nullptr;
    for (const Placement& p : pieces)
        if (!best || p.x < best->x || (p.x == best->x && p.y + p.width > best->y + best->width))
            best = &p;
    return best;
}

// The next piece to the right of `p` in its row.
const Placement* RightNeighbour(const std::vector<Placement>& pieces, const Placement& p) {
    const Placement* best = nullptr;
    for (const Placement& q : pieces)
        if (q.x > p.x + p.length - 1e-9 && q.y < p.y + p.width && q.y + q.width > p.y &&
            (!best || q.x < best->x))
            best = &q;
    return best;
}

struct OutlineLayers {
    const char* outline;
    const char* pieces;
    const char* holes; // nullptr: none
};

// One outline at x offset ox: outline, pieces, holes and marks. Returns its
// right edge including the marks.
double DrawOutline(Drawing& d, const CamOutline& o, double ox, const OutlineLayers& layers,
                   bool marginMarks) {
    const double L = o.drawing.ContainerL, W = o.drawing.ContainerW;
    const double th = TextHeight(o);
    d.Rect(layers.outline, ox, 0, L, W);
    for (const auto* list : {&o.pieces, &o.pieces2})
        for (const Placement& p : InListOrder(*list))
            d.Rect(layers.pieces, ox + p.x, p.y, p.length, p.width);
    if (layers.holes)
        for (const ToolingHole& h : o.holes) {
            if (h.Diameter > 0)
                d.Circle(layers.holes, ox + h.Xcoordinate, W - h.Ycoordinate, h.Diameter / 2);
            else
                d.Point(layers.holes, ox + h.Xcoordinate, W - h.Ycoordinate);
        }

    Marks m(d, th);
    m.AlongX(ox, ox + L, W, W + 4 * th);
    m.AlongY(0, W, ox, ox - 4 * th);
    double right = ox + L;
    // The first piece, its gap to the next one (a line lower, as the
    // diagrams draw it, so that neither text covers the other), and the free
    // borders at the left and the bottom.
    const Placement* first = FirstPiece(o.pieces);
    if (const Placement* p = first) {
        m.AlongX(ox + p->x, ox + p->x + p->length, p->y + p->width, W + 2 * th);
        m.AlongY(p->y, p->y + p->width, ox + p->x, ox - 2 * th);
        if (const Placement* q = RightNeighbour(o.pieces, *p); q && q->x > p->x + p->length)
            m.AlongX(ox + p->x + p->length, ox + q->x, p->y + p->width, W + th);
    }
    // Pieces laid the other way round (patterns L and W) are marked too, as
    // the diagrams mark both blocks: the lowest one's length below the
    // outline, its width at the left where that is free, else at the right.
    if (const Placement* p = first; p && o.pieces2.empty()) {
        const Placement* other = nullptr;
        for (const Placement& q : o.pieces)
            if (std::abs(q.length - p->length) > 1e-9 &&
                (!other || q.y < other->y || (q.y == other->y && q.x < other->x)))
                other = &q;
        if (other) {
            m.AlongX(ox + other->x, ox + other->x + other->length, other->y, -4 * th);
            const bool leftFree = other->y >= p->y + p->width || other->y + other->width <= p->y;
            if (leftFree) {
                m.AlongY(other->y, other->y + other->width, ox + other->x, ox - 2 * th);
            } else {
                m.AlongY(other->y, other->y + other->width, ox + other->x + other->length,
                         ox + L + 4 * th);
                right = ox + L + 5 * th;
            }
        }
    }
    // The first panel-2 cut where the cutting diagram marks it: beside
    // panel 1's its length above and its width at the right, below them its
    // width at the left and its length below.
    if (const Placement* p = FirstPiece(o.pieces2)) {
        if (o.pieces2Beside) {
            m.AlongX(ox + p->x, ox + p->x + p->length, p->y + p->width, W + 2 * th);
            m.AlongY(p->y, p->y + p->width, ox + p->x + p->length, ox + L + 2 * th);
            right = ox + L + 3 * th;
        } else {
            m.AlongY(p->y, p->y + p->width, ox + p->x, ox - 2 * th);
            m.AlongX(ox + p->x, ox + p->x + p->length, p->y, -2 * th);
        }
    }
    if (marginMarks && !o.pieces.empty()) {
        double minX = L, minY = W;
        for (const Placement& p : o.pieces) {
            minX = std::min(minX, p.x);
            minY = std::min(minY, p.y);
        }
        if (minX > 0)
            m.AlongX(ox, ox + minX, 0, -2 * th);
        if (minY > 0) {
            m.AlongY(0, minY, ox + L, ox + L + 2 * th);
            right = std::max(right, ox + L + 3 * th);
        }
    }
    return right;
}

std::string Number(double v) {
    // Rounded to 1e-9 so that sums like 0.5 + 3 * 4.1 read as written.
    const double r = std::nearbyint(v * 1e9) / 1e9 + 0.0;
    char text[64];
    const auto res = std::to_chars(text, text + sizeof text, r);
    return std::string(text, res.ptr);
}

} // namespace

const std::vector<const char*>& CamLayers() {
    static const std::vector<const char*> names = [] {
        std::vector<const char*> n;
        for (const LayerLook& l : kLayers)
            n.push_back(l.name);
        return n;
    }();
    return names;
}

CamPlan CamPlanOf(const PlanFields& plan, bool mm, const std::vector<ToolingHole>& panel1Holes,
                  const std::vector<ToolingHole>& panel2Holes,
                  const std::vector<ToolingHole>& arrayHoles, const std::vector<Placement>& boards,
                  const std::vector<Placement>& units, const std::vector<Placement>& boards2) {
    CamPlan p;
    p.mm = mm;
    const auto outline = [&](DiagramView view, const std::vector<ToolingHole>& holes,
                             const std::vector<Placement>& placed = {}, const char* count = "") {
        CamOutline o;
        o.drawing = LayoutArgsOf(view, plan);
        if (!placed.empty())
            o.drawing.Boards = BoardsOfRow(placed, o.drawing, plan.number(count));
        o.pieces = PlacementsOf(o.drawing);
        o.holes = holes;
        return o;
    };
    p.panel1 = outline(DiagramView::Panel1, panel1Holes, boards, "Panel");
    const bool two = plan.number("Panel2") > 0;
    if (two)
        p.panel2 = outline(DiagramView::Panel2, panel2Holes, boards2, "Panel2");
    const auto n = plan.number;
    if (PanelGood(n("Part_L"), n("Part_W"), n("Set_L"), n("Set_W"), n("PanelCu"), n("Panel_lvCu")))
        p.array = outline(DiagramView::Array, arrayHoles, units, "PanelCu");
    if (two) {
        const TwoPanelCutting cut = TwoPanelCuttingArgsOf(plan);
        const TwoSizePlacements placed = PlacementsOf(cut);
        p.sheet.drawing.Kind = QStringLiteral("Base");
        p.sheet.drawing.ContainerL = cut.SheetL;
        p.sheet.drawing.ContainerW = cut.SheetW;
        p.sheet.pieces = placed.panel1;
        p.sheet.pieces2 = placed.panel2;
        p.sheet.pieces2Beside = cut.Pattern == QLatin1String("L");
    } else {
        p.sheet = outline(DiagramView::Cutting, {});
    }
    return p;
}

QByteArray CamDxf(const CamPlan& plan) {
    std::vector<Record> records;
    MemoryWriter dw(records);
    DL_Dxf dxf;

    // Outlines left to right: panel 1, panel 2, the array, the sheet.
    struct Placed {
        const CamOutline* o;
        OutlineLayers layers;
        bool margins;
    };
    std::vector<Placed> order{{&plan.panel1, {"PANEL1", "BOARDS1", "TOOLING1"}, true}};
    if (plan.panel2)
        order.push_back({&*plan.panel2, {"PANEL2", "BOARDS2", "TOOLING2"}, true});
    if (plan.array)
        order.push_back({&*plan.array, {"ARRAY", "UNITS", "ARRAY_TOOLING"}, true});
    order.push_back({&plan.sheet, {"SHEET", "CUTS", nullptr}, false});
    double maxTh = 0;
    for (const Placed& p : order)
        maxTh = std::max(maxTh, TextHeight(*p.o));

    dxf.writeHeader(dw);
    dw.dxfString(9, "$INSUNITS");
    dw.dxfInt(70, plan.mm ? 4 : 1);
    dw.dxfString(9, "$MEASUREMENT");
    dw.dxfInt(70, plan.mm ? 1 : 0);
    dw.sectionEnd();

    dw.sectionTables();
    dxf.writeVPort(dw);
    dw.tableLinetypes(3);
    dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    dw.tableEnd();
    dw.tableLayers(static_cast<int>(std::size(kLayers)) + 1);
    dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", 7, -1, "CONTINUOUS", 1.0));
    for (const LayerLook& l : kLayers)
        dxf.writeLayer(dw, DL_LayerData(l.name, 0),
                       DL_Attributes("", l.color, -1, "CONTINUOUS", 1.0));
    dw.tableEnd();
    dw.tableStyle(1);
    // Written here rather than by dxflib, which leaves the font file (3)
    // empty and names the font in extended data only.
    dw.dxfString(0, "STYLE");
    dw.handle();
    dw.dxfString(100, "AcDbSymbolTableRecord");
    dw.dxfString(100, "AcDbTextStyleTableRecord");
    dw.dxfString(2, "Standard");
    dw.dxfInt(70, 0);
    dw.dxfReal(40, 0.0);
    dw.dxfReal(41, 1.0);
    dw.dxfReal(50, 0.0);
    dw.dxfInt(71, 0);
    dw.dxfReal(42, 0.2);
    dw.dxfString(3, "txt");
    dw.dxfString(4, "");
    dw.tableEnd();
    dxf.writeView(dw);
    dxf.writeUcs(dw);
    dw.tableAppid(1);
    dxf.writeAppid(dw, "ACAD");
    dw.tableEnd();
    dxf.writeDimStyle(dw, 1, 1, 1, 1, 1);
    dxf.writeBlockRecord(dw);
    dw.tableEnd();
    dw.sectionEnd();

    dw.sectionBlocks();
    dxf.writeBlock(dw, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, "*Model_Space");
    dxf.writeBlock(dw, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, "*Paper_Space");
    dxf.writeBlock(dw, DL_BlockData("*Paper_Space0", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, "*Paper_Space0");
    dw.sectionEnd();

    dw.sectionEntities();
    Drawing d(dxf, dw);
    double x = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Placed& p = order[i];
        // Room on the left for this outline's width marks.
        if (i > 0)
            x += 8 * maxTh;
        x = DrawOutline(d, *p.o, x, p.layers, p.margins);
    }
    dw.sectionEnd();
    dxf.writeObjects(dw);
    dxf.writeObjectsEnd(dw);
    dw.dxfEOF();
    LinkOwners(records);
    return QByteArray::fromStdString(Text(records));
}

QByteArray PlacementCsv(const CamPlan& plan) {
    std::string out = "panel,board,x,y,length,width,rotated\n";
    const auto rows = [&out](int panel, const CamOutline& o) {
        int board = 0;
        for (const Placement& p : InListOrder(o.pieces))
            out += std::to_string(panel) + ',' + std::to_string(++board) + ',' + Number(p.x) + ',' +
                   Number(p.y) + ',' + Number(p.length) + ',' + Number(p.width) + ',' +
                   (p.turned ? '1' : '0') + '\n';
    };
    rows(1, plan.panel1);
    if (plan.panel2)
        rows(2, *plan.panel2);
    return QByteArray::fromStdString(out);
}

bool WriteCamDxf(const CamPlan& plan, const QString& path, QString* error) {
    return SafeWriteFile(path, CamDxf(plan), error);
}

bool WritePlacementCsv(const CamPlan& plan, const QString& path, QString* error) {
    return SafeWriteFile(path, PlacementCsv(plan), error);
}

} // namespace vorn
