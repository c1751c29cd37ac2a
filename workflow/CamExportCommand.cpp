// The picked plan for machines: the DXF drawing and the board placement
// list, from the job row and the working tooling holes, on the same code as
// vornplan cam.

#include "JobCommands.h"

#include "CamExport.h"
#include "DataModule.h"
#include "RecentFolders.h"
#include "ToolingRows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <map>

namespace vorn {

bool SavePlanForMachines(JobWindow& w, const QString& fileName, QString* error) {
    TDataM1* dm = w.Data();
    if (!dm || w.ShowsWelcome()) {
        if (error)
            *error = QCoreApplication::translate("JobCommands",
                                                 "%1: 只有拼板方案才能导出为 DXF 或坐标表")
                         .arg(fileName);
        return false;
    }
    // Every hole of the table as the tooling tab holds it; one without a
    // place (an empty coordinate) is not drilled anywhere.
    std::map<QString, std::vector<vorn::ToolingHole>> holes;
    vorn::Cursor& t = dm->TempTooling;
    if (t.isOpen()) {
        vorn::FilterRestore restore(t);
        t.setFilter(QString());
        const int type = t.fieldIndex(QStringLiteral("PanelType"));
        const int n = t.fieldIndex(QStringLiteral("SerialNumber"));
        const int x = t.fieldIndex(QStringLiteral("Xcoordinate"));
        const int y = t.fieldIndex(QStringLiteral("Ycoordinate"));
        const int d = t.fieldIndex(QStringLiteral("Diameter"));
        for (int r = 0; r < t.recordCount(); ++r)
            if (!t.valueAt(r, x).isNull() && !t.valueAt(r, y).isNull())
                holes[t.valueAt(r, type).toString()].push_back(
                    {t.valueAt(r, n).toInt(), t.valueAt(r, x).toDouble(),
                     t.valueAt(r, y).toDouble(), t.valueAt(r, d).toDouble()});
    }
    const vorn::Cursor& job = dm->TempInput;
    const vorn::PlanFields fields{
        [&job](const char* f) { return job.asDouble(QString::fromLatin1(f)); },
        [&job](const char* f) { return job.asString(QString::fromLatin1(f)); }};
    // A plan laid out beyond the blocks: its boards, as the view draws them.
    const vorn::CamPlan plan = vorn::CamPlanOf(
        fields, w.UnitIsMm(), holes[QStringLiteral("Panel1")], holes[QStringLiteral("Panel2")],
        holes[QStringLiteral("Array")], w.GivenBoards(), w.GivenUnits(), w.GivenBoards2());
    if (QFileInfo(fileName).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        return vorn::WritePlacementCsv(plan, fileName, error);
    return vorn::WriteCamDxf(plan, fileName, error);
}

void ExportPlanForMachinesCommand(JobWindow& w) {
    QFileDialog dialog(w.Parent(), QString());
    dialog.setObjectName(QStringLiteral("SaveCamDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList filters{QStringLiteral("DXF (*.dxf)"),
                              QCoreApplication::translate("JobCommands", "拼板坐标 CSV (*.csv)")};
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral("dxf"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, filters](const QString& f) {
                         dialog.setDefaultSuffix(filters.indexOf(f) == 1 ? QStringLiteral("csv")
                                                                         : QStringLiteral("dxf"));
                     });
    vorn::StartInLastFolder(dialog, vorn::FileKind::Pictures);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString file = dialog.selectedFiles().first();
    vorn::RememberFolder(vorn::FileKind::Pictures, file);
    QString error;
    if (!SavePlanForMachines(w, file, &error))
        QMessageBox::critical(w.Parent(), QStringLiteral("Vorn"), error);
    else
        w.ShowStatus(QCoreApplication::translate("JobCommands", "拼板方案已写入 %1")
                         .arg(QDir::toNativeSeparators(file)));
}

} // namespace vorn
