#pragma once
// What one report shows: the texts of the "Data" sheet, the company name and
// the pictures, made from plain values (the job row, the part's own fields,
// the unit, the holes). The workbook, the printout and the PDF all take this.

#include "DiagramRoutines.h"
#include "DrawingSurface.h"
#include "PlanViews.h"
#include "ReportPage.h"

#include <QImage>
#include <QMap>
#include <QString>

#include <functional>
#include <map>
#include <vector>

namespace vorn::report {

// The job as the report reads it.
struct ReportJob {
    PlanFields plan; // the job row's columns (Panel_L, Set_La, Up, …) in the display unit
    QString partNumber;
    QString customerPart;
    QString operatorName;
    QString date;
    QString note;
    QString unitCaption; // "Inch" or "mm"
    // Panel 1 laid out beyond the block patterns: every board as placed (see
    // BoardsOfRow); empty for a block layout.
    std::vector<Placement> boards;
    // The same for panel 2 of a two-size plan.
    std::vector<Placement> boards2;
};

// The placeholder the page shows when no company name is set.
QString CompanyPlaceholder();
// The hint shown when the company name is empty.
QString CompanyHint();

// One picture of the report drawn onto a canvas of the page's picture size
// in pixels: onto the printer or the PDF as vectors, into the workbook's
// images at print resolution.
using ReportDrawing = std::function<void(const DiagramCanvas&)>;

// Pixels per picture pixel of the workbook's images: at least 300 per inch
// at their printed size.
int PrintPictureScale(const PicturePlace& place);

struct ReportContent {
    bool twoSize = false;
    QString company;                           // as written into A1
    QMap<QString, QString> data;               // "Data" sheet: cell name -> text
    std::map<QString, ReportDrawing> drawings; // "Panel1", "Panel2", "Base"
    QMap<QString, QImage> pictures;            // the same at print resolution
    PageLayout page;                           // the page for these holes and texts (FitPage)

    const PageLayout& Page() const { return page; }
    // The text a cell of the page shows (what its formula gives).
    QString TextOf(const PageCell& cell) const;
    // The page cell at a workbook position, or null.
    const PageCell* CellAt(int row, int col) const;
};

// Builds the content: formats every value, lays out the page for them and
// draws the pictures off screen.
// `holes1` and `holes2` are the panel-1 and panel-2 holes in list order.
ReportContent MakeReportContent(const ReportJob& job, const QString& companyName,
                                const std::vector<ToolingHole>& holes1,
                                const std::vector<ToolingHole>& holes2);

// The cell texts alone (no pictures), for the checks that need no drawing.
QMap<QString, QString> ReportDataCells(const ReportJob& job, const std::vector<ToolingHole>& holes1,
                                       const std::vector<ToolingHole>& holes2);

// The three texts of one hole line: "#n", "(x,y)", "Φd".
QStringList HoleTexts(const ToolingHole& hole);

} // namespace vorn::report
