// vornplan draw: one diagram to a picture file, from values on the command line.

#include "Command.h"
#include "DiagramRoutines.h"
#include "JobInput.h"
#include "Layout.h"
#include "PlanArguments.h"
#include "PlanRow.h"
#include "PlanViews.h"
#include "ResultRow.h"
#include "Tolerance.h"
#include "VectorPicture.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

namespace {

// Bad input ends the command with this message; nothing is written.
struct UsageError {
    QString message;
};

double Number(const QString& text, const QString& what) {
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        throw UsageError{QStringLiteral("%1: '%2' is not a number").arg(what, text)};
    return v;
}

double NonNegative(const QString& text, const QString& what) {
    const double v = Number(text, what);
    if (v < 0)
        throw UsageError{QStringLiteral("%1 must not be negative").arg(what)};
    return v;
}

// "LxW" (also "L×W"); both parts non-negative, or positive when asked.
std::pair<double, double> Pair(const QString& text, const QString& what, bool positive) {
    const QStringList parts = text.split(QRegularExpression(QStringLiteral("[xX\u00d7]")));
    if (parts.size() != 2)
        throw UsageError{QStringLiteral("%1: expected LxW, got '%2'").arg(what, text)};
    const double a = NonNegative(parts[0], what), b = NonNegative(parts[1], what);
    if (positive && (a <= 0 || b <= 0))
        throw UsageError{QStringLiteral("%1 must be positive").arg(what)};
    return {a, b};
}

std::vector<int> Counts(const QString& text, const QString& what, int least, int most) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() < least || parts.size() > most)
        throw UsageError{QStringLiteral("%1: expected %2 comma-separated counts, got '%3'")
                             .arg(what,
                                  least == most ? QString::number(least)
                                                : QStringLiteral("%1 or %2").arg(least).arg(most),
                                  text)};
    std::vector<int> counts;
    for (const QString& p : parts) {
        bool ok = false;
        const int n = p.trimmed().toInt(&ok);
        if (!ok || n < 0)
            throw UsageError{QStringLiteral("%1: '%2' is not a count").arg(what, p)};
        counts.push_back(n);
    }
    return counts;
}

std::vector<vorn::ToolingHole> Holes(const QString& text) {
    std::vector<vorn::ToolingHole> holes;
    for (const QString& item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList v = item.split(QLatin1Char(','));
        if (v.size() != 3)
            throw UsageError{QStringLiteral("--holes: expected X,Y,D, got '%1'").arg(item)};
        vorn::ToolingHole h;
        h.SerialNumber = static_cast<int>(holes.size()) + 1;
        h.Xcoordinate = Number(v[0], QStringLiteral("hole X"));
        h.Ycoordinate = Number(v[1], QStringLiteral("hole Y"));
        h.Diameter = NonNegative(v[2], QStringLiteral("hole diameter"));
        holes.push_back(h);
    }
    return holes;
}

// The job file was refused; its message is already on stderr.
struct JobRefused {
    int exitCode;
};

QString Required(const QCommandLineParser& p, const QString& name) {
    if (!p.isSet(name))
        throw UsageError{QStringLiteral("--%1 is required").arg(name)};
    return p.value(name);
}

// Draws on either canvas: a picture (exact pixels) or a vector device.
// False when the layout could not be drawn.
using Paint = std::function<bool(const vorn::DiagramCanvas&)>;

// Runs the job's search and paints one view of result row N (in Number order).
Paint JobRowPaint(const QCommandLineParser& p) {
    const QString viewName = Required(p, QStringLiteral("view"));
    const std::map<QString, vorn::DiagramView> views{
        {QStringLiteral("panel1"), vorn::DiagramView::Panel1},
        {QStringLiteral("panel2"), vorn::DiagramView::Panel2},
        {QStringLiteral("cut"), vorn::DiagramView::Cutting}};
    const auto view = views.find(viewName);
    if (view == views.end())
        throw UsageError{QStringLiteral("--view must be panel1, panel2 or cut")};
    vorn::ResultRow row;
    const std::string job = Required(p, QStringLiteral("job")).toStdString();
    const bool mm = p.isSet(QStringLiteral("mm"));
    if (p.isSet(QStringLiteral("panel"))) {
        // The typed panel's plan, as 'vornplan panel' and "拼 板" make it.
        if (p.isSet(QStringLiteral("row")))
            throw UsageError{QStringLiteral("--row and --panel: give one of them")};
        if (auto exit = vornplan::GivenPanelRow(
                "draw", job, mm, p.value(QStringLiteral("panel")).toStdString(), {}, row))
            throw JobRefused{*exit};
    } else if (auto exit =
                   vornplan::SearchRow("draw", job, mm, Required(p, QStringLiteral("row")), row)) {
        throw JobRefused{*exit};
    }
    const int n = row.Number;
    const vorn::PlanFields fields = vornplan::FieldsOf(row);
    // The marks of the report's pictures: the holes the presets place on
    // this plan (none on a cutting plan).
    std::vector<vorn::PlacedHole> placed;
    if (p.isSet(QStringLiteral("db"))) {
        if (p.isSet(QStringLiteral("holes")))
            throw UsageError{QStringLiteral("--holes and --db: give one of them")};
        std::string error;
        if (!vornplan::PlaceHolesFromFile(p.value(QStringLiteral("db")).toStdString(),
                                          fields.number, p.isSet(QStringLiteral("mm")), placed,
                                          error))
            throw UsageError{QString::fromStdString(error)};
    }
    if (view->second == vorn::DiagramView::Panel2 && !row.second)
        throw UsageError{QStringLiteral("row %1 has one panel size: no panel 2 to draw").arg(n)};
    if (view->second == vorn::DiagramView::Cutting && row.second) {
        const vorn::TwoPanelCutting cut = vorn::TwoPanelCuttingArgsOf(fields);
        return [cut](const vorn::DiagramCanvas& c) {
            vorn::DrawTwoPanelCutting(cut, c);
            return true;
        };
    }
    vorn::LayoutDrawing drawn = vorn::LayoutArgsOf(view->second, fields);
    if (view->second == vorn::DiagramView::Panel1)
        drawn.Boards = vorn::BoardsOfRow(*row.boards, drawn, row.Panel);
    else if (view->second == vorn::DiagramView::Panel2)
        drawn.Boards = vorn::BoardsOfRow(*row.second->boards, drawn, row.second->Panel2);
    std::vector<vorn::ToolingHole> holes;
    if (p.isSet(QStringLiteral("holes"))) {
        if (drawn.Kind != QLatin1String("Panel"))
            throw UsageError{QStringLiteral("--holes needs a panel view")};
        holes = Holes(p.value(QStringLiteral("holes")));
    } else if (drawn.Kind == QLatin1String("Panel")) {
        holes = vornplan::HolesOfType(placed, view->second == vorn::DiagramView::Panel2 ? "Panel2"
                                                                                        : "Panel1");
    }
    return [drawn, holes](const vorn::DiagramCanvas& c) {
        const double scale = vorn::DrawLayoutDiagram(drawn, c);
        if (scale > 0)
            vorn::DrawToolingMarks(c, drawn.ContainerL, drawn.ContainerW, drawn.Kind, scale, holes);
        return scale > 0;
    };
}

// Refuses counts whose blocks do not fit inside the container's margins, as
// the layout engine measures a layout (tolerant comparison), and a pattern N
// with both blocks, which draws nothing.
void CheckLayoutFits(const vorn::LayoutDrawing& a) {
    if (a.Pattern == QLatin1String("N") && a.La > 0 && a.Wb > 0 && a.Lb > 0 && a.Wa > 0)
        throw UsageError{
            QStringLiteral("--counts: pattern N has one block: La,Wb or Lb,Wa must hold a 0")};
    vorn::Layout layout{a.La, a.Wb, a.Lb, a.Wa, a.sLa, a.sWb, a.Pattern.at(0).toLatin1()};
    const vorn::Margins left =
        vorn::ActualMargins(layout, a.PieceL, a.PieceW, a.Spacing, a.ContainerL, a.ContainerW);
    if (!vorn::TolGe(left.mL, a.MarginL) || !vorn::TolGe(left.mW, a.MarginW))
        throw UsageError{
            QStringLiteral("--counts: %1 pieces of %2x%3 do not fit in %4x%5 within the margins")
                .arg(layout.Pieces())
                .arg(a.PieceL)
                .arg(a.PieceW)
                .arg(a.ContainerL)
                .arg(a.ContainerW)};
}

int Run(int argc, char** argv) {
    int appArgc = 1;
    const auto app = vornplan::DrawingApplication(appArgc, argv);

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Draws one diagram to a picture file: BMP, PNG, JPEG (.jpg, .jpeg), or vectors\n"
        "(SVG, PDF), by the name's suffix.\n"
        "Layout:   vornplan draw --kind Panel --pattern L --container 21x18 --margins 0.5x0.5\n"
        "          --piece 4x2 --spacing 0.1 --counts La,Wb,Lb,Wa,sLa,sWb [--holes X,Y,D;...]\n"
        "Two-size: vornplan draw --two-size --sheet 48x40 --panel1 20x12 --panel2 10x8\n"
        "          --pattern L --counts1 La,Wb,Lb,Wa --counts2 La,Wb,Lb,Wa\n"
        "A plan:   vornplan draw --job FILE [--mm] --row N --view panel1|panel2|cut [--db PATH]\n"
        "          (with --db, the tooling holes its presets place, marked as in the report)\n"
        "          or --panel LxW instead of --row: the plan of 'vornplan panel' (the job's\n"
        "          BestPacking included)"));
    p.addHelpOption();
    const auto opt = [&](const char* name, const char* help, const char* value) {
        p.addOption(QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help),
                                       QString::fromLatin1(value)));
    };
    opt("kind", "Panel (default) or Base.", "kind");
    opt("pattern", "Layout pattern N (default), L or W; L or W for --two-size.", "letter");
    opt("container", "Container length x width.", "LxW");
    opt("margins", "Margins along the length x along the width (default 0x0).", "LxW");
    opt("piece", "Upright piece length x width.", "LxW");
    opt("spacing", "Gap between pieces (default 0).", "gap");
    opt("counts", "La,Wb,Lb,Wa[,sLa,sWb].", "counts");
    opt("holes", "Tooling holes X,Y,D;X,Y,D;... numbered in order (kind Panel).", "holes");
    p.addOption(QCommandLineOption(QStringLiteral("two-size"),
                                   QStringLiteral("Draw a cutting plan with two panel sizes.")));
    opt("sheet", "Sheet length x width (--two-size).", "LxW");
    opt("panel1", "Panel 1 length x width (--two-size).", "LxW");
    opt("panel2", "Panel 2 length x width (--two-size).", "LxW");
    opt("counts1", "Panel 1 La,Wb,Lb,Wa (--two-size).", "counts");
    opt("counts2", "Panel 2 La,Wb,Lb,Wa (--two-size).", "counts");
    opt("size", "Picture width x height in pixels (default 800x600).", "WxH");
    p.addOption(QCommandLineOption(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                   QStringLiteral("Picture file to write."),
                                   QStringLiteral("file")));
    opt("job", "Job file of a search (as vornplan search reads it).", "file");
    opt("row", "Result row number in the sorted order (with --job).", "n");
    opt("view", "panel1, panel2 or cut (with --job).", "view");
    opt("panel", "The typed panel length x width, instead of --row (with --job).", "LxW");
    p.addOption(QCommandLineOption(
        QStringLiteral("mm"), QStringLiteral("The job's lengths are millimetres (with --job).")));
    opt("db", "Database whose tooling presets place the holes marked on a panel (with --job).",
        "path");

    QStringList args{QStringLiteral("vornplan draw")};
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    try {
        if (!p.parse(args))
            throw UsageError{p.errorText()};
        if (p.isSet(QStringLiteral("help"))) {
            std::fputs(qPrintable(p.helpText()), stdout);
            return 0;
        }
        if (!p.positionalArguments().isEmpty())
            throw UsageError{
                QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first())};
        const QString out = Required(p, QStringLiteral("o"));
        int W = 800, H = 600;
        if (p.isSet(QStringLiteral("size"))) {
            const auto [w, h] =
                Pair(p.value(QStringLiteral("size")), QStringLiteral("--size"), true);
            if (w != std::floor(w) || h != std::floor(h) || w <= 100 || h <= 100 || w > 20000 ||
                h > 20000)
                throw UsageError{QStringLiteral(
                    "--size: whole pixels above 100x100 (the 50-pixel frame) up to 20000x20000")};
            W = static_cast<int>(w);
            H = static_cast<int>(h);
        }
        if (!vorn::IsPictureName(out))
            throw UsageError{QStringLiteral("-o: the picture type follows the name: .bmp, .png, "
                                            ".jpg, .jpeg, .svg or .pdf, not '%1'")
                                 .arg(out)};
        QImage image(W, H, QImage::Format_RGB32);
        if (image.isNull())
            throw UsageError{QStringLiteral("--size: not enough memory for the picture")};
        Paint paint;
        const QString pattern = p.isSet(QStringLiteral("pattern"))
                                    ? p.value(QStringLiteral("pattern"))
                                    : QStringLiteral("N");

        if (p.isSet(QStringLiteral("job"))) {
            paint = JobRowPaint(p);
        } else if (p.isSet(QStringLiteral("db"))) {
            throw UsageError{QStringLiteral("--db places the holes of a plan: it goes with --job")};
        } else if (p.isSet(QStringLiteral("two-size"))) {
            if (pattern != QLatin1String("L") && pattern != QLatin1String("W"))
                throw UsageError{QStringLiteral("--two-size needs --pattern L or W")};
            vorn::TwoPanelCutting a;
            a.Pattern = pattern;
            std::tie(a.SheetL, a.SheetW) =
                Pair(Required(p, QStringLiteral("sheet")), QStringLiteral("--sheet"), true);
            std::tie(a.P1L, a.P1W) =
                Pair(Required(p, QStringLiteral("panel1")), QStringLiteral("--panel1"), true);
            std::tie(a.P2L, a.P2W) =
                Pair(Required(p, QStringLiteral("panel2")), QStringLiteral("--panel2"), true);
            const auto c1 =
                Counts(Required(p, QStringLiteral("counts1")), QStringLiteral("--counts1"), 4, 4);
            const auto c2 =
                Counts(Required(p, QStringLiteral("counts2")), QStringLiteral("--counts2"), 4, 4);
            a.La1 = c1[0], a.Wb1 = c1[1], a.Lb1 = c1[2], a.Wa1 = c1[3];
            a.La2 = c2[0], a.Wb2 = c2[1], a.Lb2 = c2[2], a.Wa2 = c2[3];
            if (p.isSet(QStringLiteral("holes")))
                throw UsageError{QStringLiteral("a cutting plan carries no tooling holes")};
            paint = [a](const vorn::DiagramCanvas& c) {
                vorn::DrawTwoPanelCutting(a, c);
                return true;
            };
        } else {
            vorn::LayoutDrawing a;
            a.Kind = p.isSet(QStringLiteral("kind")) ? p.value(QStringLiteral("kind"))
                                                     : QStringLiteral("Panel");
            if (a.Kind != QLatin1String("Panel") && a.Kind != QLatin1String("Base"))
                throw UsageError{QStringLiteral("--kind must be Panel or Base")};
            if (pattern != QLatin1String("N") && pattern != QLatin1String("L") &&
                pattern != QLatin1String("W"))
                throw UsageError{QStringLiteral("--pattern must be N, L or W")};
            a.Pattern = pattern;
            std::tie(a.ContainerL, a.ContainerW) =
                Pair(Required(p, QStringLiteral("container")), QStringLiteral("--container"), true);
            if (p.isSet(QStringLiteral("margins")))
                std::tie(a.MarginL, a.MarginW) =
                    Pair(p.value(QStringLiteral("margins")), QStringLiteral("--margins"), false);
            std::tie(a.PieceL, a.PieceW) =
                Pair(Required(p, QStringLiteral("piece")), QStringLiteral("--piece"), true);
            if (p.isSet(QStringLiteral("spacing")))
                a.Spacing =
                    NonNegative(p.value(QStringLiteral("spacing")), QStringLiteral("--spacing"));
            const auto c =
                Counts(Required(p, QStringLiteral("counts")), QStringLiteral("--counts"), 4, 6);
            a.La = c[0], a.Wb = c[1], a.Lb = c[2], a.Wa = c[3];
            if (c.size() == 6)
                a.sLa = c[4], a.sWb = c[5];
            std::vector<vorn::ToolingHole> holes;
            if (p.isSet(QStringLiteral("holes"))) {
                if (a.Kind != QLatin1String("Panel"))
                    throw UsageError{QStringLiteral("--holes needs --kind Panel")};
                holes = Holes(p.value(QStringLiteral("holes")));
            }
            CheckLayoutFits(a);
            paint = [a, holes](const vorn::DiagramCanvas& c) {
                const double scale = vorn::DrawLayoutDiagram(a, c);
                if (scale > 0)
                    vorn::DrawToolingMarks(c, a.ContainerL, a.ContainerW, a.Kind, scale, holes);
                return scale > 0;
            };
        }

        // The picture is drawn first in any case: it tells whether the layout
        // can be drawn at all before a vector file is begun.
        if (!paint(vorn::DiagramCanvas(image)))
            throw UsageError{QStringLiteral("the layout cannot be drawn (counts too large)")};
        QString error;
        const bool saved =
            vorn::IsVectorPictureName(out)
                ? vorn::SaveVectorPicture(
                      out, image.size(), [&](const vorn::DiagramCanvas& c) { paint(c); }, &error)
                : vorn::SavePicture(image, out, &error);
        if (!saved) {
            std::fprintf(stderr, "vornplan draw: cannot write %s: %s\n", qPrintable(out),
                         qPrintable(error));
            return 1;
        }
        std::printf("wrote %s (%dx%d)\n", qPrintable(out), W, H);
        return 0;
    } catch (const JobRefused& e) {
        return e.exitCode;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "vornplan draw: %s\n", qPrintable(e.message));
        return 2;
    }
}

vornplan::RegisterCommand reg{{"draw", "draw one diagram to a picture file", Run}};

} // namespace
