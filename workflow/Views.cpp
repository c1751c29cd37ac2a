// The diagram area of the main window: the four views, their drawing
// arguments, the redraw, the resize and the picture export.

#include "MainWindow.h"

#include "DataModule.h"
#include "RecentFolders.h"
#include "VectorPicture.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <cmath>

using vorn::Cursor;
using vorn::DiagramView;

namespace {

constexpr int kArrayPage = 1;

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

DiagramView TVornMF::SelectedView() const {
    for (DiagramView v :
         {DiagramView::Panel1, DiagramView::Panel2, DiagramView::Cutting, DiagramView::Array})
        if (Selector(v)->isChecked())
            return v;
    return DiagramView::Panel1;
}

vorn::LayoutDrawing TVornMF::GatherLayoutArgs(DiagramView view) const {
    const vorn::TDataM1* dm = Data();
    if (!dm)
        return {};
    // On the array tab the array row is drawn, elsewhere the job's array.
    const bool arrayRow = view == DiagramView::Array && tabs_->currentIndex() == kArrayPage;
    vorn::LayoutDrawing a =
        vorn::LayoutArgsOf(view, FieldsOf(arrayRow ? dm->TempInputCus : dm->TempInput));
    if (view == DiagramView::Panel1)
        a.Boards = vorn::BoardsOfRow(givenBoards_, a, Num(dm->TempInput, "Panel"));
    return a;
}

vorn::TwoPanelCutting TVornMF::GatherTwoPanelCuttingArgs() const {
    const vorn::TDataM1* dm = Data();
    return dm ? vorn::TwoPanelCuttingArgsOf(FieldsOf(dm->TempInput)) : vorn::TwoPanelCutting{};
}

double TVornMF::ShowDiagram(const std::function<double(QImage&)>& draw) {
    QImage image(image1_->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    const double scale = draw(image);
    image1_->setPixmap(QPixmap::fromImage(image));
    showsWelcome_ = false;
    return scale;
}

// Steps 1-2 of the redraw: the view itself; returns the scale (0 for the
// two-size cutting plan, which carries no holes).
double TVornMF::DrawSelectedView(DiagramView view) {
    const vorn::TDataM1* dm = Data();
    if (view == DiagramView::Cutting && dm && Num(dm->TempInput, "Panel2") > 0) {
        const vorn::TwoPanelCutting args = GatherTwoPanelCuttingArgs();
        ShowDiagram([&args](QImage& image) {
            vorn::DrawTwoPanelCutting(args, image);
            return 0.0;
        });
        return 0;
    }
    const vorn::LayoutDrawing args = GatherLayoutArgs(view);
    return ShowDiagram([&args](QImage& image) { return vorn::DrawLayoutDiagram(args, image); });
}

// Steps 3-5: the view's holes, with the tooling table's filter put back.
void TVornMF::DrawSelectedViewTooling(DiagramView view, double scale) {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    Cursor& tooling = dm->TempTooling;
    const QString saved = tooling.filter();
    if (const QString type = vorn::ToolingTypeOf(view); !type.isEmpty())
        tooling.setFilter(QStringLiteral("PanelType='%1'").arg(type));
    std::vector<vorn::ToolingHole> holes;
    try {
        holes = ShownHoles(tooling);
    } catch (...) {
        tooling.setFilter(saved);
        throw;
    }
    tooling.setFilter(saved);
    if (holes.empty() || scale <= 0)
        return;
    const bool twoSizeCut = view == DiagramView::Cutting && Num(dm->TempInput, "Panel2") > 0;
    const vorn::LayoutDrawing args = GatherLayoutArgs(view);
    QImage image = image1_->pixmap().toImage();
    vorn::DrawToolingMarks(image, args.ContainerL, args.ContainerW,
                           twoSizeCut ? QString() : args.Kind, scale, holes);
    image1_->setPixmap(QPixmap::fromImage(image));
}

void TVornMF::RedrawSelectedView() {
    const DiagramView view = SelectedView();
    const double scale = DrawSelectedView(view);
    DrawSelectedViewTooling(view, scale);
}

void TVornMF::RadioButton1Click() {
    if (searching_)
        return;
    if (UpdateJobCommands())
        RedrawSelectedView();
}

void TVornMF::FormResize() {
    if (QApplication::closingDown())
        return;
    UpdatePaneButtons();
    const int cw = image1_->width();
    const int ch = image1_->height();
    const int width = (cw < progressBox_->width() || cw <= 400) ? cw : 400;
    progressBox_->setFixedWidth(std::max(width, 1));
    progressBox_->move(int(std::lround((cw - progressBox_->width()) / 2.0)),
                       int(std::lround((ch - progressBox_->height()) / 2.0 + 11)));
    if (!searching_ && Data() && UpdateJobCommands())
        RedrawSelectedView();
}

namespace {

QScrollBar* PageScrollBar(const QTabWidget* tabs) {
    auto* area = qobject_cast<QScrollArea*>(tabs->currentWidget());
    return area ? area->verticalScrollBar() : nullptr;
}

} // namespace

void TVornMF::UpdatePaneButtons() {
    // The pages scroll; the buttons go straight to either end of a page
    // that is taller than the window lets it be.
    if (!bitBtn1_ || !bitBtn2_)
        return; // still being built
    const QScrollBar* bar = PageScrollBar(tabs_);
    const bool scrolls = bar && bar->maximum() > bar->minimum();
    const bool atBottom = scrolls && bar->value() >= bar->maximum();
    const int x = tabs_->width() - bitBtn1_->width() - 4;
    bitBtn1_->setVisible(scrolls && !atBottom);
    bitBtn2_->setVisible(atBottom);
    bitBtn1_->move(x, tabs_->height() - bitBtn1_->height() - 4);
    bitBtn2_->move(x, tabs_->tabBar()->height() + 4);
    bitBtn1_->raise();
    bitBtn2_->raise();
}

void TVornMF::BitBtn1Click() {
    if (QScrollBar* bar = PageScrollBar(tabs_))
        bar->setValue(bar->maximum());
    FormResize();
}

void TVornMF::BitBtn2Click() {
    if (QScrollBar* bar = PageScrollBar(tabs_))
        bar->setValue(bar->minimum());
    FormResize();
}

void TVornMF::PM04Click() {
    QFileDialog dialog(this, QString());
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
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& f) {
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
    const bool saved = dxf ? SavePlanForMachines(file, &error)
                       : vorn::IsVectorPictureName(file)
                           ? SaveShownViewAsVectors(file, &error)
                           : vorn::SavePicture(image1_->pixmap().toImage(), file, &error);
    if (!saved)
        QMessageBox::critical(this, QStringLiteral("Vorn"), error);
    else
        statusBar()->showMessage(
            QStringLiteral("图片已写入 %1").arg(QDir::toNativeSeparators(file)));
}
