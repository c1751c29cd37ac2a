// The views' drawing arguments from the working tables, the holes a view
// shows, and the picture export.

#include "JobCommands.h"

#include "DataModule.h"
#include "RecentFolders.h"
#include "VectorPicture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace vorn {

namespace {

double Num(const Cursor& c, const char* f) {
    return c.asDouble(QString::fromLatin1(f));
}

// The current row of a cursor as the field lookup of the view tables.
vorn::PlanFields FieldsOf(const Cursor& c) {
    return {[&c](const char* f) { return c.asDouble(QString::fromLatin1(f)); },
            [&c](const char* f) { return c.asString(QString::fromLatin1(f)); }};
}

// The holes of the working tooling table as it is filtered now.
std::vector<vorn::ToolingHole> ShownHoles(const Cursor& t) {
    std::vector<vorn::ToolingHole> holes;
    if (!t.isOpen())
        return holes;
    const int n = t.fieldIndex(QStringLiteral("SerialNumber"));
    const int x = t.fieldIndex(QStringLiteral("Xcoordinate"));
    const int y = t.fieldIndex(QStringLiteral("Ycoordinate"));
    const int d = t.fieldIndex(QStringLiteral("Diameter"));
    for (int r = 0; r < t.recordCount(); ++r)
        holes.push_back({t.valueAt(r, n).toInt(), t.valueAt(r, x).toDouble(),
                         t.valueAt(r, y).toDouble(), t.valueAt(r, d).toDouble()});
    return holes;
}

} // namespace

LayoutDrawing ViewLayoutArgs(const TDataM1& dm, DiagramView view, bool arrayPage,
                             const std::vector<Placement>& givenBoards,
                             const std::vector<Placement>& givenUnits,
                             const std::vector<Placement>& givenBoards2) {
    const bool arrayRow = view == DiagramView::Array && arrayPage;
    LayoutDrawing a = LayoutArgsOf(view, FieldsOf(arrayRow ? dm.TempInputCus : dm.TempInput));
    if (view == DiagramView::Panel1)
        a.Boards = BoardsOfRow(givenBoards, a, Num(dm.TempInput, "Panel"));
    else if (view == DiagramView::Panel2)
        a.Boards = BoardsOfRow(givenBoards2, a, Num(dm.TempInput, "Panel2"));
    else if (view == DiagramView::Array)
        // The job row keeps the handed-over array's count as PanelCu.
        a.Boards = BoardsOfRow(
            givenUnits, a, arrayRow ? Num(dm.TempInputCus, "Panel") : Num(dm.TempInput, "PanelCu"));
    return a;
}

TwoPanelCutting ViewTwoPanelCuttingArgs(const TDataM1& dm) {
    return TwoPanelCuttingArgsOf(FieldsOf(dm.TempInput));
}

std::vector<ToolingHole> ViewHoles(TDataM1& dm, DiagramView view) {
    Cursor& tooling = dm.TempTooling;
    const QString saved = tooling.filter();
    if (const QString type = ToolingTypeOf(view); !type.isEmpty())
        tooling.setFilter(QStringLiteral("PanelType='%1'").arg(type));
    std::vector<ToolingHole> holes;
    try {
        holes = ShownHoles(tooling);
    } catch (...) {
        tooling.setFilter(saved);
        throw;
    }
    tooling.setFilter(saved);
    return holes;
}

void SavePictureCommand(JobWindow& w) {
    QFileDialog dialog(w.Parent(), QString());
    dialog.setObjectName(QStringLiteral("SavePictureDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList filters{QStringLiteral("Bitmaps (*.bmp)"),
                              QStringLiteral("JPEG Image File (*.jpg)"),
                              QStringLiteral("JPEG Image File (*.jpeg)"),
                              QStringLiteral("SVG (*.svg)"),
                              QStringLiteral("PDF (*.pdf)"),
                              QStringLiteral("DXF (*.dxf)")};
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, filters](const QString& f) {
                         const qsizetype i = filters.indexOf(f);
                         dialog.setDefaultSuffix(i == 1   ? QStringLiteral("jpg")
                                                 : i == 2 ? QStringLiteral("jpeg")
                                                 : i == 3 ? QStringLiteral("svg")
                                                 : i == 4 ? QStringLiteral("pdf")
                                                 : i == 5 ? QStringLiteral("dxf")
                                                          : QStringLiteral("bmp"));
                     });
    vorn::StartInLastFolder(dialog, vorn::FileKind::Pictures);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString error;
    const QString file = dialog.selectedFiles().first();
    vorn::RememberFolder(vorn::FileKind::Pictures, file);
    // .svg and .pdf are drawn again as vectors, .dxf is the plan's drawing
    // for machines, the rest saved as pixels.
    const bool dxf =
        QFileInfo(file).suffix().compare(QLatin1String("dxf"), Qt::CaseInsensitive) == 0;
    const bool saved = dxf                         ? SavePlanForMachines(w, file, &error)
                       : IsVectorPictureName(file) ? SaveShownViewAsVectors(w, file, &error)
                                                   : SavePicture(w.DiagramPicture(), file, &error);
    if (!saved)
        QMessageBox::critical(w.Parent(), QStringLiteral("Vorn"), error);
    else
        w.ShowStatus(QCoreApplication::translate("JobCommands", "图片已写入 %1")
                         .arg(QDir::toNativeSeparators(file)));
}

} // namespace vorn
