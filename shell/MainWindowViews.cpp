// The diagram area of the main window: the four views, the redraw, the
// resize and the pane buttons.

#include "MainWindow.h"

#include "DataModule.h"
#include "JobCommands.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <cmath>

using vorn::DiagramView;

namespace {

constexpr int kArrayPage = 1;

double PanelTwo(const vorn::TDataM1& dm) {
    return dm.TempInput.asDouble(QStringLiteral("Panel2"));
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
    return dm ? vorn::ViewLayoutArgs(*dm, view, tabs_->currentIndex() == kArrayPage, givenBoards_,
                                     givenUnits_, givenBoards2_)
              : vorn::LayoutDrawing{};
}

vorn::TwoPanelCutting TVornMF::GatherTwoPanelCuttingArgs() const {
    const vorn::TDataM1* dm = Data();
    return dm ? vorn::ViewTwoPanelCuttingArgs(*dm) : vorn::TwoPanelCutting{};
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
double TVornMF::DrawView(DiagramView view) {
    const vorn::TDataM1* dm = Data();
    if (view == DiagramView::Cutting && dm && PanelTwo(*dm) > 0) {
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
void TVornMF::DrawViewTooling(DiagramView view, double scale) {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    const std::vector<vorn::ToolingHole> holes = vorn::ViewHoles(*dm, view);
    if (holes.empty() || scale <= 0)
        return;
    const bool twoSizeCut = view == DiagramView::Cutting && PanelTwo(*dm) > 0;
    const vorn::LayoutDrawing args = GatherLayoutArgs(view);
    QImage image = image1_->pixmap().toImage();
    vorn::DrawToolingMarks(image, args.ContainerL, args.ContainerW,
                           twoSizeCut ? QString() : args.Kind, scale, holes);
    image1_->setPixmap(QPixmap::fromImage(image));
}

void TVornMF::RedrawSelectedView() {
    const DiagramView view = SelectedView();
    const double scale = DrawView(view);
    DrawViewTooling(view, scale);
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
