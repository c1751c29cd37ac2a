#include "PlanArguments.h"

#include "Cursor.h"
#include "DbError.h"
#include "PlanWork.h"
#include "SchemaCheck.h"
#include "SqliteConnection.h"
#include "ToolingWork.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace vornplan {

std::optional<int> ParsePlanArguments(const char* command, int argc, char** argv, const char* help,
                                      const std::vector<std::string>& extra, PlanArguments& out) {
    auto fail = [&](const std::string& why) {
        std::fprintf(stderr, "vornplan %s: %s\n%s", command, why.c_str(), help);
        return 2;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(help, stdout);
            return 0;
        }
        if (a == "--mm") {
            out.mm = true;
            continue;
        }
        std::string* value = nullptr;
        if (a == "--job")
            value = &out.job;
        else if (a == "--db")
            value = &out.db;
        else if (a == "--row" && std::find(extra.begin(), extra.end(), a) != extra.end())
            value = &out.row;
        else if (a == "--panel" && std::find(extra.begin(), extra.end(), a) != extra.end())
            value = &out.panel;
        if (!value)
            return fail("unexpected argument '" + a + "'");
        if (i + 1 >= argc || argv[i + 1][0] == '\0')
            return fail(a + " needs a value");
        *value = argv[++i];
    }
    if (out.job.empty())
        return fail("no job file (--job FILE)");
    for (const std::string& e : extra) {
        if ((e == "--row" && out.row.empty()) || (e == "--panel" && out.panel.empty()))
            return fail("missing " + e);
    }
    return std::nullopt;
}

bool ParseSize(const std::string& text, double& l, double& w) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    auto number = [](const std::string& s, double& v) {
        if (s.empty())
            return false;
        char* end = nullptr;
        v = std::strtod(s.c_str(), &end);
        return end && *end == '\0' && std::isfinite(v) && v >= 0;
    };
    return number(text.substr(0, x), l) && number(text.substr(x + 1), w);
}

namespace {

// One table of a database file, opened for reading.
template <class Read>
bool WithTable(const std::string& path, const char* table, Read read, std::string& error) {
    const QString file = QString::fromStdString(path);
    if (const QString problem = vorn::CheckDatabaseSchema(file); !problem.isEmpty()) {
        error = problem.toStdString();
        return false;
    }
    try {
        vorn::SqliteConnection connection;
        connection.setPath(file);
        vorn::Cursor cursor(connection, QString::fromLatin1(table), vorn::Cursor::Policy::Cached);
        read(cursor);
        cursor.close();
    } catch (const vorn::DbError& e) {
        error = path + ": " + e.text().toStdString();
        return false;
    }
    return true;
}

} // namespace

bool ReadPresetsFromFile(const std::string& path, std::vector<vorn::ToolingPreset>& panel,
                         std::vector<vorn::ToolingPreset>& array, std::string& error) {
    return WithTable(
        path, "SetTooling",
        [&](vorn::Cursor& c) {
            c.setSort(QStringLiteral("SerialNumber"));
            panel = vorn::ReadToolingPresets(c, QStringLiteral("Panel"));
            array = vorn::ReadToolingPresets(c, QStringLiteral("Array"));
        },
        error);
}

bool PlaceHolesFromFile(const std::string& path, const vorn::RowReader& plan, bool mm,
                        std::vector<vorn::PlacedHole>& holes, std::string& error) {
    std::vector<vorn::ToolingPreset> panel, array;
    if (!ReadPresetsFromFile(path, panel, array, error))
        return false;
    holes = vorn::ComputeToolingHoles(
        panel, array, vorn::OutlinesOf(plan),
        vorn::UnitFactor(mm ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch));
    return true;
}

std::vector<vorn::ToolingHole> HolesOfType(const std::vector<vorn::PlacedHole>& holes,
                                           const char* panelType) {
    std::vector<vorn::ToolingHole> shown;
    for (const vorn::PlacedHole& h : holes)
        if (h.PanelType == panelType)
            shown.push_back(
                {h.SerialNumber, h.Xcoordinate.value_or(0), h.Ycoordinate.value_or(0), h.Diameter});
    return shown;
}

bool ReadSheetsFromFile(const std::string& path, std::vector<vorn::SheetSize>& sheets,
                        std::string& error) {
    return WithTable(
        path, "SetBase",
        [&](vorn::Cursor& c) {
            c.setSort(QStringLiteral("Base_L;Base_W"));
            sheets = vorn::EnabledSheetSizes(c);
        },
        error);
}

std::string ProgramDatabase() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("Vorn.mdb") : (exe.parent_path() / "Vorn.mdb").string();
}

} // namespace vornplan
