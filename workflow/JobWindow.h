#pragma once
// What the job's operations need of the window that shows the job: its rows
// and tables, the identity fields, the picked plan's boards, the views, the
// progress frame and the messages. The main window implements it; the
// operations in this folder take it and never see the window itself.

#include "JobTypes.h"
#include "Placement.h"
#include "WorkRow.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

class QWidget;

namespace vorn {

class Cursor;
class SearchProgress;
class TDataM1;

// The part's identifying fields on the parts tab.
struct JobIdentity {
    QString partNumber;
    QString customerPart;
    QString operatorName;
    QString date;
    QString note;
};

class JobWindow : public DefaultsHost {
public:
    // Parent of every box and dialog an operation shows.
    virtual QWidget* Parent() = 0;
    // The data module; null when the database could not be opened.
    virtual TDataM1* Data() const = 0;
    virtual QString ProgramDir() const = 0;
    virtual bool SearchRunning() const = 0;
    // True while the array tab is shown: commands work on the array row.
    virtual bool OnArrayPage() const = 0;
    // The unit button's caption.
    virtual QString UnitCaption() const = 0;
    virtual void SetUnitCaption(const QString& caption) = 0;

    // A short line in the status bar.
    virtual void ShowStatus(const QString& text) = 0;

    virtual JobIdentity Identity() const = 0;
    virtual void SetIdentity(const JobIdentity& identity) = 0;
    // The tooling check box and the tooling tab with it.
    virtual void SetToolingAllowed(bool allowed) = 0;
    // The tooling tab enabled or not, and its buttons following the table.
    virtual void ShowToolingTab(bool enabled) = 0;

    // Every board of the job's plan (a typed panel's or a picked result
    // row's) laid out beyond the block patterns; empty otherwise.
    virtual std::vector<Placement>& GivenBoards() = 0;
    // The same for the units of the array row (a picked array result row).
    virtual std::vector<Placement>& GivenUnits() = 0;
    // Panel 2's boards of a two-size plan laid out beyond the blocks.
    virtual std::vector<Placement>& GivenBoards2() = 0;

    // The result grid: detached while a table is rewritten under it.
    virtual bool ResultsAttached() const = 0;
    virtual void DetachResults() = 0;
    virtual void AttachResults() = 0;
    // The grid's current row becomes the job's plan (double-click).
    virtual void PickUpResult() = 0;

    // The views.
    virtual DiagramView SelectedView() const = 0;
    virtual void SelectView(DiagramView view) = 0;
    // Draws the view; returns the scale (0 for the two-size cutting plan).
    virtual double DrawView(DiagramView view) = 0;
    // The view's tooling holes over what DrawView drew at `scale`.
    virtual void DrawViewTooling(DiagramView view, double scale) = 0;
    // Redraws the selected view when the job's commands allow it.
    virtual void RedrawIfPlan() = 0;
    virtual bool ShowsWelcome() const = 0;
    virtual void ShowWelcomePicture() = 0;
    // The picture shown and the size of the diagram area.
    virtual QImage DiagramPicture() const = 0;
    virtual QSize DiagramSize() const = 0;
    // The views and panel fields for a plan of one or of two panel sizes.
    virtual void ShowPanelSizes(bool two) = 0;
    // The whole-array view offered (beside the panel views) or not.
    virtual void OfferArrayView(bool offered) = 0;

    // Commands.
    virtual bool UpdateJobCommands() = 0;
    virtual void EnableCommands(std::initializer_list<const char*> names, bool enabled) = 0;
    // Delete follows whether the typed part number names a saved part.
    virtual void CheckPartNumber() = 0;
    virtual void StartNewJob() = 0;
    // False, after the message, while the ratio field holds a refused value.
    virtual bool ParameterChecksPass() = 0;
    // What is being typed is settled in the unit shown now.
    virtual void SettleTyping() = 0;

    // Runs `search` inside the progress frame (commands locked, the box
    // shown, the grid detached); false when the user cancelled.
    virtual bool RunSearch(Cursor& table, const char* sort, std::int64_t maximum,
                           const std::function<void(SearchProgress&)>& search) = 0;
    virtual SearchTimings& Timings() = 0;
};

} // namespace vorn
