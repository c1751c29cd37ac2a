// The diagram area of the main window: the four views, their drawing
// arguments, the redraw, the resize and the picture export.

#include "Unit2.h"

#include "data1.h"

#include <QApplication>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QTabWidget>

#include <cmath>

using vorn::Cursor;
using vorn::DiagramView;

namespace {

constexpr int kArrayPage = 1;

double Num(const Cursor& c, const char* f) {
    return c.asDouble(QString::fromLatin1(f));
}
int Int(const Cursor& c, const char* f) {
    return c.asInt(QString::fromLatin1(f));
}
QString Text(const Cursor& c, const char* f) {
    return c.asString(QString::fromLatin1(f));
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
    vorn::LayoutDrawing a;
    const vorn::TDataM1* dm = Data();
    if (!dm)
        return a;
    const Cursor& j = dm->TempInput;
    switch (view) {
    case DiagramView::Panel1:
    case DiagramView::Panel2: {
        const bool two = view == DiagramView::Panel2;
        a.Kind = QStringLiteral("Panel");
        a.PieceL = Num(j, "Set_L");
        a.PieceW = Num(j, "Set_W");
        a.Spacing = Num(j, "Set_C");
        a.ContainerL = Num(j, two ? "Panel_L2" : "Panel_L");
        a.ContainerW = Num(j, two ? "Panel_W2" : "Panel_W");
        a.MarginL = Num(j, two ? "Border_L2" : "Border_L");
        a.MarginW = Num(j, two ? "Border_W2" : "Border_W");
        a.La = Int(j, two ? "Set_La2" : "Set_La");
        a.Wb = Int(j, two ? "Set_Wb2" : "Set_Wb");
        a.Lb = Int(j, two ? "Set_Lb2" : "Set_Lb");
        a.Wa = Int(j, two ? "Set_Wa2" : "Set_Wa");
        a.sLa = Int(j, two ? "Set_sLa2" : "Set_sLa");
        a.sWb = Int(j, two ? "Set_sWb2" : "Set_sWb");
        a.Pattern = Text(j, two ? "Up2" : "Up");
        break;
    }
    case DiagramView::Cutting:
        a.Kind = QStringLiteral("Base");
        a.PieceL = Num(j, "Panel_L");
        a.PieceW = Num(j, "Panel_W");
        a.ContainerL = Num(j, "Base_L");
        a.ContainerW = Num(j, "Base_W");
        a.La = Int(j, "P_La");
        a.Wb = Int(j, "P_Wb");
        a.Lb = Int(j, "P_Lb");
        a.Wa = Int(j, "P_Wa");
        a.sLa = Int(j, "P_sLa");
        a.sWb = Int(j, "P_sWb");
        a.Pattern = Text(j, "P_up");
        break;
    case DiagramView::Array: {
        // On the array tab the array row is drawn, elsewhere the job's array.
        const Cursor& s = tabs_->currentIndex() == kArrayPage ? dm->TempInputCus : j;
        a.Kind = QStringLiteral("Panel");
        a.PieceL = Num(s, "Part_L");
        a.PieceW = Num(s, "Part_W");
        a.Spacing = Num(s, "Part_C");
        a.ContainerL = Num(s, "Set_L");
        a.ContainerW = Num(s, "Set_W");
        a.MarginL = Num(s, "SetBorder_L");
        a.MarginW = Num(s, "SetBorder_W");
        a.La = Int(s, "Part_La");
        a.Wb = Int(s, "Part_Wb");
        a.Lb = Int(s, "Part_Lb");
        a.Wa = Int(s, "Part_Wa");
        a.Pattern = QStringLiteral("N");
        break;
    }
    }
    return a;
}

vorn::TwoPanelCutting TVornMF::GatherTwoPanelCuttingArgs() const {
    vorn::TwoPanelCutting a;
    const vorn::TDataM1* dm = Data();
    if (!dm)
        return a;
    const Cursor& j = dm->TempInput;
    a.SheetL = Num(j, "Base_L");
    a.SheetW = Num(j, "Base_W");
    a.P1L = Num(j, "Panel_L");
    a.P1W = Num(j, "Panel_W");
    a.P2L = Num(j, "Panel_L2");
    a.P2W = Num(j, "Panel_W2");
    a.La1 = Int(j, "P_La");
    a.Wb1 = Int(j, "P_Wb");
    a.Lb1 = Int(j, "P_Lb");
    a.Wa1 = Int(j, "P_Wa");
    a.La2 = Int(j, "P_La2");
    a.Wb2 = Int(j, "P_Wb2");
    a.Lb2 = Int(j, "P_Lb2");
    a.Wa2 = Int(j, "P_Wa2");
    a.Pattern = Text(j, "P_up");
    return a;
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
    const char* type = view == DiagramView::Panel1   ? "Panel1"
                       : view == DiagramView::Panel2 ? "Panel2"
                       : view == DiagramView::Array  ? "Array"
                                                     : nullptr;
    if (type)
        tooling.setFilter(QStringLiteral("PanelType='%1'").arg(QLatin1String(type)));
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

// Tooling holes are placed by a later part of the program; until then the
// working tooling table stays closed and no hole is drawn.
void TVornMF::ComputeToolingHolesNotBuilt() {}

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
    // The pane buttons are not needed: the pages scroll.
    const int cw = image1_->width();
    const int ch = image1_->height();
    const int width = (cw < progressBox_->width() || cw <= 400) ? cw : 400;
    progressBox_->setFixedWidth(std::max(width, 1));
    progressBox_->move(int(std::lround((cw - progressBox_->width()) / 2.0)),
                       int(std::lround((ch - progressBox_->height()) / 2.0 + 11)));
    if (!searching_ && Data() && UpdateJobCommands())
        RedrawSelectedView();
}

void TVornMF::PM04Click() {
    QFileDialog dialog(this, QString());
    dialog.setObjectName(QStringLiteral("SavePictureDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList filters{QStringLiteral("Bitmaps (*.bmp)"),
                              QStringLiteral("JPEG Image File (*.jpg)"),
                              QStringLiteral("JPEG Image File (*.jpeg)")};
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& f) {
        const qsizetype i = filters.indexOf(f);
        dialog.setDefaultSuffix(i == 1   ? QStringLiteral("jpg")
                                : i == 2 ? QStringLiteral("jpeg")
                                         : QStringLiteral("bmp"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString error;
    if (!vorn::SavePicture(image1_->pixmap().toImage(), dialog.selectedFiles().first(), &error))
        QMessageBox::critical(this, QStringLiteral("Vorn"), error);
}
