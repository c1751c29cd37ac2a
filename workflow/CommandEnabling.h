#pragma once
// Which commands of the main window may run follows the job record: the job
// commands need a consistent plan, the archive commands need saved parts.

#include <QList>
#include <QPointer>
#include <functional>

class QAction;

namespace vorn {

// Reads a numeric column of the current row; a null reads as 0.
using RowReader = std::function<double(const char* column)>;

// Panel 1, then panel 2 when there is one, then the array when the board is one.
bool JobLayoutValid(const RowReader& job);
// The array row of the array tab.
bool ArrayLayoutValid(const RowReader& array);

class CommandEnabling {
public:
    // The twelve commands enabled and disabled together.
    void SetJobCommands(const QList<QAction*>& actions);
    // Open and Query, in tool bar and menu.
    void SetArchiveCommands(const QList<QAction*>& actions);
    // Puts the welcome picture into the diagram image.
    void SetShowWelcome(std::function<void()> show) { showWelcome_ = std::move(show); }

    bool UpdateJobCommands(bool arrayTab, const RowReader& job, const RowReader& array);
    void DisableJobCommands();
    void UpdateArchiveCommands(bool savedPartsExist);

private:
    static void Enable(const QList<QPointer<QAction>>& actions, bool on);

    QList<QPointer<QAction>> job_;
    QList<QPointer<QAction>> archive_;
    std::function<void()> showWelcome_;
};

} // namespace vorn
