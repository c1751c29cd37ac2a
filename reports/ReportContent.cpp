#include "ReportContent.h"

#include "DisplayFormat.h"
#include "ReportFit.h"

#include <QCoreApplication>
#include <QPainter>

#include <cmath>

namespace vorn::report {

namespace {

using DisplayFormat::formatNumber;

QString Num(const PlanFields& p, const char* column, const char* format) {
    return formatNumber(p.number(column), QString::fromLatin1(format));
}

QString Pair(const PlanFields& p, const char* first, const char* second, const char* format) {
    return DisplayFormat::joinPair(Num(p, first, format), Num(p, second, format), QChar(0x00D7));
}

QString Borders(const PlanFields& p, const char* l, const char* w, const char* format) {
    return QStringLiteral("L&R:") + Num(p, l, format) + QStringLiteral(";T&B:") + Num(p, w, format);
}

QString UnitText(const QString& caption) {
    if (caption == QLatin1String("mm"))
        return QCoreApplication::translate("ReportContent", "毫米(mm)");
    if (caption == QLatin1String("Inch"))
        return QCoreApplication::translate("ReportContent", "英寸(Inch)");
    return caption;
}

ReportDrawing PanelDrawing(DiagramView view, const PlanFields& plan,
                           const std::vector<ToolingHole>& holes,
                           const std::vector<Placement>& boards = {}) {
    LayoutDrawing args = LayoutArgsOf(view, plan);
    args.Boards =
        BoardsOfRow(boards, args, plan.number(view == DiagramView::Panel2 ? "Panel2" : "Panel"));
    return [args, holes](const DiagramCanvas& canvas) {
        const double scale = DrawLayoutDiagram(args, canvas);
        DrawToolingMarks(canvas, args.ContainerL, args.ContainerW, args.Kind, scale, holes);
    };
}

// The drawing in pixels `scale` times the picture's own: the same lines and
// labels, only finer.
QImage PrintPicture(const ReportDrawing& drawing, QSize size, int scale) {
    QImage image(size * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = qRound(72.0 * scale / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&image);
    painter.scale(scale, scale);
    drawing(DiagramCanvas(painter, size));
    return image;
}

} // namespace

int PrintPictureScale(const PicturePlace& place) {
    // A picture pixel is 1/factor point on paper.
    return int(std::ceil(300.0 / 72.0 / place.factor - 1e-9));
}

QString CompanyPlaceholder() {
    return QStringLiteral("Your Compration name");
}

QString CompanyHint() {
    return QCoreApplication::translate("ReportContent", "请在默认值设置菜单中设置公司名称");
}

QStringList HoleTexts(const ToolingHole& h) {
    // No group separator inside the pair: "(1,059.1800,5.0800)" reads as three numbers.
    const QString coordinate = QStringLiteral("0.0000");
    return {u'#' + QString::number(h.SerialNumber),
            u'(' + formatNumber(h.Xcoordinate, coordinate) + u',' +
                formatNumber(h.Ycoordinate, coordinate) + u')',
            QChar(0x03A6) + formatNumber(h.Diameter, QStringLiteral("#,##0.0000"))};
}

QMap<QString, QString> ReportDataCells(const ReportJob& job, const std::vector<ToolingHole>& holes1,
                                       const std::vector<ToolingHole>& holes2) {
    const PlanFields& p = job.plan;
    QMap<QString, QString> d;
    d[QStringLiteral("B2")] = job.partNumber;
    d[QStringLiteral("B3")] = job.customerPart;
    // No layer count given: the field stays empty rather than "0".
    const double layer = p.number("Layer");
    d[QStringLiteral("B4")] = layer != 0 ? formatNumber(layer, QString()) : QString();
    d[QStringLiteral("B5")] = UnitText(job.unitCaption);
    d[QStringLiteral("B6")] = job.operatorName;
    d[QStringLiteral("B7")] = job.date;
    d[QStringLiteral("B8")] = Pair(p, "Set_L", "Set_W", "0.0000");
    d[QStringLiteral("B9")] = Num(p, "Set_C", "0.0000");
    d[QStringLiteral("B10")] = Pair(p, "Panel_L", "Panel_W", "0.000");
    d[QStringLiteral("B11")] = Num(p, "Panel", "") + QStringLiteral(" Pas/Panel");
    d[QStringLiteral("B12")] = Borders(p, "Border_L", "Border_W", "0.000");
    d[QStringLiteral("B13")] = Num(p, "Panel_lv", "0.000%");
    int row = 14;
    if (p.number("Panel2") >= 1) {
        d[QStringLiteral("B14")] = Pair(p, "Panel_L2", "Panel_W2", "0.000");
        d[QStringLiteral("B15")] = Num(p, "Panel2", "") + QStringLiteral(" Pas/Panel");
        d[QStringLiteral("B16")] = Borders(p, "Border_L2", "Border_W2", "0.0000");
        d[QStringLiteral("B17")] = Num(p, "Panel_lv2", "0.000%");
        row = 18;
    }
    d[CellName(2, row)] = Pair(p, "Base_L", "Base_W", "0.0");
    d[CellName(2, row + 1)] = Num(p, "Panel_N", "") + QStringLiteral(" Panel/Sheet");
    d[CellName(2, row + 2)] = Num(p, "Base_lv", "0.000%");
    d[CellName(2, row + 3)] = job.note;
    // Panel 1 in C-E, panel 2 in F-H, from row 2 on.
    for (int list = 0; list < 2; ++list) {
        const std::vector<ToolingHole>& holes = list == 0 ? holes1 : holes2;
        for (std::size_t k = 0; k < holes.size(); ++k) {
            const QStringList texts = HoleTexts(holes[k]);
            for (int i = 0; i < 3; ++i)
                d[CellName(3 + 3 * list + i, kFirstHoleRow + static_cast<int>(k))] = texts[i];
        }
    }
    return d;
}

ReportContent MakeReportContent(const ReportJob& job, const QString& companyName,
                                const std::vector<ToolingHole>& holes1,
                                const std::vector<ToolingHole>& holes2) {
    ReportContent c;
    // A two-size job is one with a second panel count (as the template choice).
    c.twoSize = job.plan.number("Panel2") != 0;
    c.company = companyName.isEmpty() ? CompanyPlaceholder() : companyName;
    c.data = ReportDataCells(job, holes1, holes2);
    c.page = FitPage(InUserLanguage(PageFor(c.twoSize, int(holes1.size()), int(holes2.size()))),
                     [&c](const PageCell& cell) { return c.TextOf(cell); });
    c.drawings[QStringLiteral("Panel1")] =
        PanelDrawing(DiagramView::Panel1, job.plan, holes1, job.boards);
    if (job.plan.number("Panel2") > 0)
        c.drawings[QStringLiteral("Panel2")] =
            PanelDrawing(DiagramView::Panel2, job.plan, holes2, job.boards2);
    if (job.plan.number("Panel2") < 1) {
        const LayoutDrawing cut = LayoutArgsOf(DiagramView::Cutting, job.plan);
        c.drawings[QStringLiteral("Base")] = [cut](const DiagramCanvas& canvas) {
            DrawLayoutDiagram(cut, canvas);
        };
    } else {
        const TwoPanelCutting cut = TwoPanelCuttingArgsOf(job.plan);
        c.drawings[QStringLiteral("Base")] = [cut](const DiagramCanvas& canvas) {
            DrawTwoPanelCutting(cut, canvas);
        };
    }
    const QSize size(c.page.pictureWidth, c.page.pictureHeight);
    for (const PicturePlace& place : c.page.pictures)
        if (const auto it = c.drawings.find(place.name); it != c.drawings.end())
            c.pictures[place.name] = PrintPicture(it->second, size, PrintPictureScale(place));
    return c;
}

QString ReportContent::TextOf(const PageCell& cell) const {
    if (cell.company)
        return company;
    if (!cell.emptyUnless.isEmpty() && data.value(cell.emptyUnless).isEmpty())
        return {};
    QString text;
    for (const TextPart& part : cell.parts)
        text += part.dataCell.isEmpty() ? part.literal : data.value(part.dataCell);
    return text;
}

const PageCell* ReportContent::CellAt(int row, int col) const {
    for (const PageCell& cell : Page().cells)
        if (cell.row == row && cell.col == col)
            return &cell;
    return nullptr;
}

} // namespace vorn::report
