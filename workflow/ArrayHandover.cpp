// "到 智 能 拼 板 开 料 处 理": the picked array becomes the job's board and the
// panel search runs with it.

#include "JobCommands.h"

#include "DataModule.h"
#include "Tolerance.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace vorn {

bool HandOverArray(JobWindow& w) {
    TDataM1* dm = w.Data();
    if (!dm || w.SearchRunning())
        return false;
    if (w.ArrayRow())
        w.ArrayRow()->CommitFields();
    Cursor& cus = dm->TempInputCus;
    auto n = [&cus](const char* f) { return cus.asDouble(QString::fromLatin1(f)); };
    if (!cus.isOpen() ||
        !PanelGood(n("Part_L"), n("Part_W"), n("Set_L"), n("Set_W"), n("Panel"), n("Panel_lv"))) {
        QMessageBox::information(
            w.Parent(), QStringLiteral("Vorn"),
            QCoreApplication::translate("JobCommands",
                                        "上传信息有误或不全，请执行 \"上传数据\" 操作！"),
            QMessageBox::Ok);
        return false;
    }
    Cursor& job = dm->TempInput;
    job.edit();
    for (const char* f : {"Part_L", "Part_W", "Part_C", "SetBorder_L", "SetBorder_W", "Set_L",
                          "Set_W", "Part_La", "Part_Wb", "Part_Lb", "Part_Wa"})
        job.setValue(QString::fromLatin1(f), cus.value(QString::fromLatin1(f)));
    job.setValue(QStringLiteral("PanelCu"), cus.value(QStringLiteral("Panel")));
    job.setValue(QStringLiteral("Panel_lvCu"), cus.value(QStringLiteral("Panel_lv")));
    dm->TempResult.close();
    for (const char* f : {"Panel_L", "Panel_W", "Border_L", "Border_W", "Panel", "Panel_lv",
                          "Panel_L2", "Panel_W2", "Border_L2", "Border_W2", "Panel2", "Panel_lv2",
                          "Base_L", "Base_W", "Panel_N", "Base_lv"})
        job.setValue(QString::fromLatin1(f), QVariant());
    job.post();
    return true;
}

} // namespace vorn
