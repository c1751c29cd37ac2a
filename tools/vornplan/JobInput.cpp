#include "JobInput.h"

#include "InOrderChunks.h"
#include "InputDomain.h"
#include "JobFile.h"
#include "ResultRow.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <type_traits>
#include <unistd.h>

namespace vornplan {

std::optional<int> ParseJobArguments(const char* command, int argc, char** argv, const char* help,
                                     bool allowStats, JobArguments& out) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(help, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--mm"))
            out.mm = true;
        else if (allowStats && !std::strcmp(argv[i], "--stats"))
            out.stats = true;
        else if (out.path.empty() && argv[i][0] != '-')
            out.path = argv[i];
        else {
            std::fprintf(stderr, "vornplan %s: unexpected argument '%s'\n%s", command, argv[i],
                         help);
            return 2;
        }
    }
    if (out.path.empty()) {
        std::fprintf(stderr, "vornplan %s: no job file\n%s", command, help);
        return 2;
    }
    return std::nullopt;
}

std::optional<int> OpenJobFile(const char* command, const std::string& path, std::ifstream& in) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        std::fprintf(stderr, "vornplan %s: '%s' is a folder, not a job file\n", command,
                     path.c_str());
        return 2;
    }
    errno = 0;
    in.open(path, std::ios::binary);
    if (!in) {
        const int why = errno;
        std::fprintf(stderr, "vornplan %s: cannot open '%s': %s\n", command, path.c_str(),
                     why ? std::strerror(why) : "not readable");
        return 2;
    }
    return std::nullopt;
}

namespace {

char g_message[96] = "vornplan: interrupted\n";
std::size_t g_messageSize = std::strlen(g_message);

// Ctrl+C or SIGTERM ends the process at once, from the handler: the line on
// stderr and _exit(130). Nothing is written before a search ends, safe
// writes leave no half file, and waiting for the engine's next look, its
// helper thread and the freeing of gigabytes of containers node by node
// took seconds on large searches.
extern "C" void OnInterrupt(int) {
    [[maybe_unused]] const auto written = write(STDERR_FILENO, g_message, g_messageSize);
    _exit(130);
}

template <class Job, class Read, class Refusal, class Domain>
std::optional<int> LoadJob(const char* command, const std::string& path, Job& job, Read read,
                           Refusal refusal, Domain domain) {
    std::ifstream in;
    if (auto exit = OpenJobFile(command, path, in))
        return exit;
    if (const std::string e = read(in, job); !e.empty()) {
        std::fprintf(stderr, "vornplan %s: %s: %s\n", command, path.c_str(), e.c_str());
        return 2;
    }
    if (const std::string why = refusal(job); !why.empty()) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 1;
    }
    if (const std::string e = domain(job); !e.empty()) {
        std::fprintf(stderr, "vornplan %s: %s: %s\n", command, path.c_str(), e.c_str());
        return 2;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> LoadPanelJob(const char* command, const std::string& path,
                                vorn::DisplayUnit unit, vorn::PanelJob& job) {
    return LoadJob(
        command, path, job,
        [](std::istream& in, vorn::PanelJob& j) { return vorn::ReadPanelJob(in, j); },
        [](const vorn::PanelJob& j) { return vorn::PanelJobRefusal(j); },
        [unit](const vorn::PanelJob& j) { return vorn::PanelJobDomainError(j, unit); });
}

std::optional<int> LoadArrayJob(const char* command, const std::string& path,
                                vorn::DisplayUnit unit, vorn::ArrayJob& job) {
    return LoadJob(
        command, path, job,
        [](std::istream& in, vorn::ArrayJob& j) { return vorn::ReadArrayJob(in, j); },
        [](const vorn::ArrayJob& j) { return vorn::ArrayJobRefusal(j); },
        [unit](const vorn::ArrayJob& j) { return vorn::ArrayJobDomainError(j, unit); });
}

InterruptibleProgress::InterruptibleProgress(const char* command) {
    std::snprintf(g_message, sizeof g_message, "vornplan %s: interrupted\n", command);
    g_messageSize = std::strlen(g_message);
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
}

std::int64_t InterruptibleProgress::Check(std::int64_t) {
    return std::numeric_limits<std::int64_t>::max() / 2;
}

int Interrupted(const char* command) {
    std::fprintf(stderr, "vornplan %s: interrupted\n", command);
    return 130;
}

template <class Row> std::string CsvHeader(const Row& any) {
    std::string s;
    vorn::ForEachColumn(any, [&s](const char* name, const auto&) {
        if (!s.empty())
            s += ',';
        s += name;
    });
    return s;
}

template <class Row> void AppendCsvRow(std::string& out, const Row& r, CsvColumnCache* cache) {
    // The row is put together in one buffer (at most 47 fields of at most 32
    // characters) and appended at once: a search writes tens of thousands.
    char row[4096];
    char* p = row;
    std::size_t column = 0;
    constexpr std::size_t kColumns = 64;
    if (cache && cache->columns.empty())
        cache->columns.resize(kColumns * CsvColumnCache::kSlots);
    vorn::ForEachColumn(r, [&](const char*, const auto& v) {
        using V = std::decay_t<decltype(v)>;
        if (column++ > 0)
            *p++ = ',';
        if constexpr (std::is_same_v<V, double>) {
            if (cache && column <= kColumns) {
                const auto bits = std::bit_cast<std::uint64_t>(v);
                const std::size_t slot =
                    ((bits * 0x9E3779B97F4A7C15ULL) >> 58) % CsvColumnCache::kSlots;
                CsvColumnCache::Last& last =
                    cache->columns[(column - 1) * CsvColumnCache::kSlots + slot];
                if (last.size == 0 || last.bits != bits) {
                    // The shortest text that reads back as the same double.
                    const auto end = std::to_chars(last.text, last.text + sizeof last.text, v);
                    last.size = static_cast<std::uint8_t>(end.ptr - last.text);
                    last.bits = bits;
                }
                // A fixed-size copy (the row buffer has room): two moves.
                std::memcpy(p, last.text, sizeof last.text);
                p += last.size;
                return;
            }
            p = std::to_chars(p, p + 32, v).ptr;
        } else if constexpr (std::is_same_v<V, int>) {
            p = std::to_chars(p, p + 16, v).ptr;
        } else if constexpr (std::is_same_v<V, char>) {
            *p++ = v;
        }
        // std::nullopt: a null field stays empty
    });
    out.append(row, p);
}

template <class Row> std::string CsvRow(const Row& r) {
    std::string s;
    AppendCsvRow(s, r);
    return s;
}

template <class Row>
int WriteCsv(std::FILE* out, const std::vector<Row>& rows, std::size_t blockRows) {
    const auto write = [out](const std::string& text) {
        if (std::fwrite(text.data(), 1, text.size(), out) == text.size())
            return 0;
        return errno ? errno : EIO;
    };
    if (const int error = write(CsvHeader(Row{}) + '\n'))
        return error;
    blockRows = std::max<std::size_t>(blockRows, 1);
    // Blocks formatted on a second core where there is one and written in
    // order; a few blocks are held at once.
    vorn::InOrderChunks<std::string> blocks(
        (rows.size() + blockRows - 1) / blockRows, 2, vorn::SearchThreads() > 1,
        [&](std::size_t b, bool) {
            std::string text;
            CsvColumnCache cache;
            const std::size_t end = std::min(rows.size(), (b + 1) * blockRows);
            for (std::size_t k = b * blockRows; k < end; ++k) {
                AppendCsvRow(text, rows[k], &cache);
                text += '\n';
            }
            return text;
        },
        [] {});
    while (!blocks.Done())
        if (const int error = write(blocks.Take()))
            return error;
    return 0;
}

template std::string CsvHeader(const vorn::ResultRow&);
template std::string CsvHeader(const vorn::ArrayRow&);
template std::string CsvRow(const vorn::ResultRow&);
template std::string CsvRow(const vorn::ArrayRow&);
template void AppendCsvRow(std::string&, const vorn::ResultRow&, CsvColumnCache*);
template void AppendCsvRow(std::string&, const vorn::ArrayRow&, CsvColumnCache*);
template int WriteCsv(std::FILE*, const std::vector<vorn::ResultRow>&, std::size_t);
template int WriteCsv(std::FILE*, const std::vector<vorn::ArrayRow>&, std::size_t);

} // namespace vornplan
