// The shown diagram saved as vectors (SVG, PDF): the view is drawn again with
// the same routines and arguments as on screen, onto a vector device.

#include "JobCommands.h"

#include <QCoreApplication>

#include "DataModule.h"
#include "ToolingRows.h"
#include "VectorPicture.h"

namespace vorn {

bool SaveShownViewAsVectors(JobWindow& w, const QString& fileName, QString* error) {
    TDataM1* dm = w.Data();
    if (!dm || w.ShowsWelcome()) {
        if (error)
            *error = QCoreApplication::translate("JobCommands", "%1: 只有方案的图才能保存为矢量图")
                         .arg(fileName);
        return false;
    }
    const DiagramView view = w.SelectedView();
    const bool twoSizeCut =
        view == vorn::DiagramView::Cutting && dm->TempInput.asDouble(QStringLiteral("Panel2")) > 0;
    std::vector<vorn::ToolingHole> holes;
    vorn::Cursor& tooling = dm->TempTooling;
    if (const QString type = vorn::ToolingTypeOf(view); !type.isEmpty() && tooling.isOpen()) {
        vorn::FilterRestore restore(tooling);
        holes = vorn::HolesOfType(tooling, type);
    }
    const vorn::TwoPanelCutting cut = twoSizeCut ? ViewTwoPanelCuttingArgs(*dm) : TwoPanelCutting{};
    const LayoutDrawing args = twoSizeCut
                                   ? LayoutDrawing{}
                                   : ViewLayoutArgs(*dm, view, w.OnArrayPage(), w.GivenBoards(),
                                                    w.GivenUnits(), w.GivenBoards2());
    return vorn::SaveVectorPicture(
        fileName, w.DiagramSize(),
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

} // namespace vorn
