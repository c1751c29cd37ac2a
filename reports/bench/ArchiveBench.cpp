// Figures of the parts archive with many saved parts (not a test):
// archive_bench [parts]   (default 10,000 parts, six holes each)
// Opening the query window, sorting, searching, switching the unit, the
// export in both formats, and save, open and delete, each timed once.
#include "ArchiveFixture.h"
#include "PartListExport.h"
#include "PartsArchive.h"
#include "QueryWindow.h"
#include "VornTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>

#include <cstdio>
#include <ctime>

using namespace vorn;

namespace {

// Wall time and the process's own processor time: on a shared machine the
// second tells what the work costs whatever else runs.
std::clock_t g_cpu = 0;
void Report(const char* what, QElapsedTimer& t) {
    const std::clock_t now = std::clock();
    std::printf("  %-46s %8.1f ms wall %8.1f ms cpu\n", what, t.nsecsElapsed() / 1e6,
                double(now - g_cpu) * 1000.0 / CLOCKS_PER_SEC);
    g_cpu = now;
    t.restart();
}

// `parts` saved parts with six holes each, written by SQL in one go.
void Fill(TDataM1& dm, int parts) {
    QString columns, values;
    for (const auto& [column, value] : test::PlanColumns()) {
        columns += u',' + QString::fromLatin1(column);
        values += u',' + (value.typeId() == QMetaType::QString
                              ? u'\'' + value.toString() + u'\''
                              : QString::number(value.toDouble(), 'g', 17));
    }
    // Each part a little different, so sorting has work to do.
    values.replace(QStringLiteral(",6,"), QStringLiteral(",2 + (i * 7) % 11,"));
    Cursor hold(dm.connection(), QStringLiteral("Hold"), Cursor::Policy::ReadOnly);
    hold.setSql({QStringLiteral("select 1")});
    hold.open();
    dm.connection().exec(QStringLiteral("BEGIN"));
    dm.connection().exec(
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO data0004 (Part_number, Customer_Part, Employee, Date, Time, "
            "Note%2) SELECT printf('P%06d', (i * 7919) % %1), printf('C%06d', i), "
            "'EMPLOYEE', '2026-03-04', 90507, 'note'%3 FROM n")
            .arg(parts)
            .arg(columns, values));
    dm.connection().exec(QStringLiteral(
        "INSERT INTO Data0005 (D4_PTR, PanelType, SerialNumber, Xcoordinate, Ycoordinate, "
        "Diameter) SELECT d.ID, t.k, s.n, 0.3 + s.n, 0.25 + s.n / 10.0, 0.125 FROM data0004 d, "
        "(SELECT 'Panel1' AS k UNION ALL SELECT 'Panel2' UNION ALL SELECT 'Array') t, "
        "(SELECT 1 AS n UNION ALL SELECT 2) s"));
    dm.connection().exec(QStringLiteral("COMMIT"));
}

} // namespace

int main(int argc, char** argv) {
    test::prepareApplication();
    QApplication app(argc, argv);
    const int parts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    QElapsedTimer t;
    t.start();
    g_cpu = std::clock();
    Fill(dm, parts);
    std::printf("Archive with %d parts, %d holes (%s)\n", parts, parts * 6,
                qPrintable(dir.databasePath()));
    Report("filled by SQL", t);

    {
        TForm3 window(dm);
        window.show();
        QApplication::processEvents();
        Report("query window opened and shown", t);
        window.PartsGrid()->scrollToBottom();
        QApplication::processEvents();
        Report("scrolled to the last part", t);
        window.DBGrid1TitleClick(2);
        QApplication::processEvents();
        Report("sorted by Layer (title click)", t);
        window.DBGrid1TitleClick(2);
        QApplication::processEvents();
        Report("sorted by Layer again (descending)", t);
        window.SearchField()->setCurrentIndex(1);
        window.SearchText()->setText(QStringLiteral("p0099"));
        window.ToolButton5Click();
        QApplication::processEvents();
        Report("searched a part-number prefix", t);
        window.ToolingButton()->click();
        QApplication::processEvents();
        Report("tooling panel shown", t);
        dm.SavedPartsQuery.next();
        QApplication::processEvents();
        Report("next part with the tooling panel shown", t);
        window.UnitButton()->click();
        QApplication::processEvents();
        Report("switched to mm", t);
        QString error;
        const bool text =
            ExportPartList(dm, dir.file(QStringLiteral("list.txt")), PartListFormat::Text, true,
                           QDateTime::currentDateTime(), &error);
        Report("exported as text", t);
        const bool book =
            ExportPartList(dm, dir.file(QStringLiteral("list.xlsx")), PartListFormat::Workbook,
                           true, QDateTime::currentDateTime(), &error);
        Report("exported as workbook", t);
        if (!text || !book)
            std::printf("  export failed: %s\n", qPrintable(error));
        window.reject();
    }

    t.restart();
    g_cpu = std::clock();
    test::PutPlan(dm, false);
    test::PutHoles(dm, test::PlanHoles(2), false);
    PartRecord r = JobPartRecord(dm, false);
    r.partNumber = QStringLiteral("NEW-PART");
    SavePart(dm, r, QDateTime::currentDateTime(), {});
    Report("saved a new part", t);
    r.partNumber = QStringLiteral("P000100");
    SavePart(dm, r, QDateTime::currentDateTime(), [] { return true; });
    Report("saved over an existing part", t);
    SetSavedPartsSql(dm, false, QueryText::SavedPartsOrder);
    dm.SavedPartsQuery.open();
    dm.SavedPartsQuery.setFilter(QStringLiteral("Part_number='P000100'"));
    dm.SavedPartsQuery.setFiltered(true);
    LoadSavedPart(dm, false);
    dm.SavedPartsQuery.setFiltered(false);
    dm.SavedPartsQuery.close();
    Report("opened a part (query, filter, load)", t);
    DeletePart(dm, QStringLiteral("P000100"), [] { return true; });
    Report("deleted a part", t);
    return 0;
}
