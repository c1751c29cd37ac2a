#include "CommandEnabling.h"

#include "Tolerance.h"

#include <QAction>

namespace vorn {

bool JobLayoutValid(const RowReader& job) {
    if (!PanelGood(job("Set_L"), job("Set_W"), job("Panel_L"), job("Panel_W"), job("Panel"),
                   job("Panel_lv")))
        return false;
    if (job("Panel2") > 0 && !PanelGood(job("Set_L"), job("Set_W"), job("Panel_L2"),
                                        job("Panel_W2"), job("Panel2"), job("Panel_lv2")))
        return false;
    if (job("PanelCu") > 0 && !PanelGood(job("Part_L"), job("Part_W"), job("Set_L"), job("Set_W"),
                                         job("PanelCu"), job("Panel_lvCu")))
        return false;
    return true;
}

bool ArrayLayoutValid(const RowReader& array) {
    return PanelGood(array("Part_L"), array("Part_W"), array("Set_L"), array("Set_W"),
                     array("Panel"), array("Panel_lv"));
}

void CommandEnabling::SetJobCommands(const QList<QAction*>& actions) {
    job_.clear();
    for (QAction* a : actions)
        job_.append(a);
}

void CommandEnabling::SetArchiveCommands(const QList<QAction*>& actions) {
    archive_.clear();
    for (QAction* a : actions)
        archive_.append(a);
}

void CommandEnabling::Enable(const QList<QPointer<QAction>>& actions, bool on) {
    for (const QPointer<QAction>& a : actions) {
        if (a)
            a->setEnabled(on);
    }
}

bool CommandEnabling::UpdateJobCommands(bool arrayTab, const RowReader& job,
                                        const RowReader& array) {
    if (arrayTab) {
        // The array tab never enables the job commands, even for a valid array.
        Enable(job_, false);
        if (ArrayLayoutValid(array))
            return true;
        if (showWelcome_)
            showWelcome_();
        return false;
    }
    if (!JobLayoutValid(job)) {
        DisableJobCommands();
        return false;
    }
    Enable(job_, true);
    return true;
}

void CommandEnabling::DisableJobCommands() {
    Enable(job_, false);
    if (showWelcome_)
        showWelcome_();
}

void CommandEnabling::UpdateArchiveCommands(bool savedPartsExist) {
    Enable(archive_, savedPartsExist);
}

} // namespace vorn
