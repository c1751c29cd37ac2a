#pragma once
// What the commands that read a job file share: their arguments, the job file
// itself with its messages and exit codes, and the CSV form of result rows.

#include "PanelSearch.h"
#include "SearchInterfaces.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace vornplan {

struct JobArguments {
    std::string path;
    bool mm = false;
    bool stats = false;
};

// Reads "[--mm] [--stats] JOBFILE". Returns an exit code when the command
// should end now (--help: 0; a bad argument: 2, with the help on stderr).
std::optional<int> ParseJobArguments(const char* command, int argc, char** argv, const char* help,
                                     bool allowStats, JobArguments& out);

// Opens a job file for reading; a folder, a missing or an unreadable file is
// named as such on stderr and gives exit code 2.
std::optional<int> OpenJobFile(const char* command, const std::string& path, std::ifstream& in);

// Reads and checks a job file. Returns an exit code when the job cannot run:
// 2 for a missing or malformed file or a value outside the engine's input
// domain (InputDomain.h; one line on stderr), 1 for a job the program would
// refuse (its message on stderr).
std::optional<int> LoadPanelJob(const char* command, const std::string& path,
                                vorn::DisplayUnit unit, vorn::PanelJob& job);
std::optional<int> LoadArrayJob(const char* command, const std::string& path,
                                vorn::DisplayUnit unit, vorn::ArrayJob& job);

// Ctrl+C (SIGINT) and SIGTERM from the construction on: one line on stderr
// ("vornplan COMMAND: interrupted") and exit status 130 at once, from the
// signal handler, whatever stage runs.
class InterruptibleProgress : public vorn::SearchProgress {
public:
    explicit InterruptibleProgress(const char* command);

protected:
    std::int64_t Check(std::int64_t steps) override;
};
int Interrupted(const char* command);

inline vorn::DisplayUnit UnitOf(const JobArguments& a) {
    return a.mm ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
}

// A CSV header and row of every column (reals in the shortest form that
// reads back as the same double, null fields empty).
template <class Row> std::string CsvHeader(const Row& any);
template <class Row> std::string CsvRow(const Row& r);
// Texts of reals written before, per column: rows of one search repeat most
// of their values (board, gap, sheet, panel sizes, often the utilizations).
// Each column keeps the last text per slot of a small table by value.
struct CsvColumnCache {
    struct Last {
        std::uint64_t bits = 0;
        std::uint8_t size = 0; // 0: nothing kept yet
        char text[32] = {};
    };
    static constexpr std::size_t kSlots = 64;
    std::vector<Last> columns; // kSlots per column
};
// The same row appended to out (no line end).
template <class Row>
void AppendCsvRow(std::string& out, const Row& r, CsvColumnCache* cache = nullptr);

// The header and every row as CSV lines, written to out in blocks of
// blockRows rows: the blocks are formatted on two threads where
// vorn::SearchThreads() allows and written in order as they are ready, so the
// text held stays a few blocks however many rows there are. Returns 0, or the
// errno of the first write that failed (nothing more is written then).
inline constexpr std::size_t kCsvBlockRows = 4096;
template <class Row>
int WriteCsv(std::FILE* out, const std::vector<Row>& rows, std::size_t blockRows = kCsvBlockRows);

} // namespace vornplan
