#pragma once
// One plan of a job file: the job's search run, the rows sorted and numbered,
// row N taken, and its columns read by name (as the diagrams and the report
// read the main window's job row).

#include "PanelSearch.h"
#include "PlanViews.h"
#include "ResultRow.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QString>

#include <initializer_list>
#include <memory>

#include <optional>
#include <string>
#include <vector>

namespace vornplan {

// A result row's columns by name.
vorn::PlanFields FieldsOf(const vorn::ResultRow& row);

// Row `text` (1-based) of rows; false when it is not there.
template <class Row> bool PickRow(const std::vector<Row>& rows, const QString& text, Row& out) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1 || n > static_cast<int>(rows.size()))
        return false;
    out = rows[static_cast<std::size_t>(n - 1)];
    return true;
}

// Runs the search of the job file and returns row `rowText` (1-based, in the
// sorted order). Returns an exit code when the command should end: the job
// file's own (2 or 1, message on stderr), or 2 for a row that is not there.
std::optional<int> SearchRow(const char* command, const std::string& jobPath, bool mm,
                             const QString& rowText, vorn::ResultRow& out);
// The same for a job already read.
std::optional<int> SearchRow(const char* command, const vorn::PanelJob& job, vorn::DisplayUnit unit,
                             const QString& rowText, vorn::ResultRow& out);

// The options of a command on one plan row: --job, --row, --mm and --db.
void AddPlanRowOptions(QCommandLineParser& p);
// The database --db names, else the one beside the program.
std::string DatabaseOption(const QCommandLineParser& p);

// The plan of the job file's boards on the typed panel `panel` ("LxW"), as
// 'vornplan panel' makes it (sheets from the database `db` when not empty).
// Returns an exit code when the command should end: 1 the job is refused
// (the program's message on stderr), 2 bad input.
std::optional<int> GivenPanelRow(const char* command, const std::string& jobPath, bool mm,
                                 const std::string& panel, const std::string& db,
                                 vorn::ResultRow& out);

// Reads the command line into `p` (argv[0] is the command's own name): --help
// prints the help (exit 0); a parse error, a stray argument or a missing
// `required` option ends with exit 2 and "vornplan COMMAND: ..." on stderr.
std::optional<int> ParseCommandLine(const char* command, QCommandLineParser& p, int argc,
                                    char** argv, std::initializer_list<const char*> required);

// Drawing needs fonts, hence a GUI application; without a display it
// renders off screen.
std::unique_ptr<QGuiApplication> DrawingApplication(int& argc, char** argv);

} // namespace vornplan
