// The shown diagram saved as vectors (SVG, PDF): the view is drawn again with
// the same routines and arguments as on screen, onto a vector device.

#include "MainWindow.h"

#include "DataModule.h"
#include "ToolingRows.h"
#include "VectorPicture.h"

#include <QLabel>

bool TVornMF::SaveShownViewAsVectors(const QString& fileName, QString* error) {
    vorn::TDataM1* dm = Data();
    if (!dm || ShowsWelcome()) {
        if (error)
            *error = QStringLiteral("%1: 只有方案的图才能保存为矢量图").arg(fileName);
        return false;
    }
    const vorn::DiagramView view = SelectedView();
    const bool twoSizeCut =
        view == vorn::DiagramView::Cutting && dm->TempInput.asDouble(QStringLiteral("Panel2")) > 0;
    std::vector<vorn::ToolingHole> holes;
    vorn::Cursor& tooling = dm->TempTooling;
    if (const QString type = vorn::ToolingTypeOf(view); !type.isEmpty() && tooling.isOpen()) {
        vorn::FilterRestore restore(tooling);
        holes = vorn::HolesOfType(tooling, type);
    }
    const vorn::TwoPanelCutting cut =
        twoSizeCut ? GatherTwoPanelCuttingArgs() : vorn::TwoPanelCutting{};
    const vorn::LayoutDrawing args = twoSizeCut ? vorn::LayoutDrawing{} : GatherLayoutArgs(view);
    return vorn::SaveVectorPicture(
        fileName, image1_->size(),
        [&](const vorn::DiagramCanvas& canvas) {
            if (twoSizeCut) {
                vorn::DrawTwoPanelCutting(cut, canvas);
                return;
            }
            const double scale = vorn::DrawLayoutDiagram(args, canvas);
            if (!holes.empty() && scale > 0)
                vorn::DrawToolingMarks(canvas, args.ContainerL, args.ContainerW, args.Kind, scale,
                                       holes);
        },
        error);
}
