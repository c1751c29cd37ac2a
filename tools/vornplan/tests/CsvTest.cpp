// The CSV of many rows, written in blocks on one thread and on two.

#include "JobInput.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Rows whose reals repeat (as a search's do) and differ, some with a
// second panel, some with null fields.
std::vector<vorn::ResultRow> Rows(std::size_t n) {
    std::vector<vorn::ResultRow> rows(n);
    for (std::size_t i = 0; i < n; ++i) {
        vorn::ResultRow& r = rows[i];
        r.Number = int(i + 1);
        r.Set_L = 0.378;
        r.Panel_L = 6 + double(i % 7) / 3;
        r.Panel_lv = 100.0 / double(i + 3);
        r.Up = i % 2 ? 'L' : 'N';
        if (i % 3 == 0) {
            r.second.emplace();
            r.second->Panel_L2 = double(i) * 0.1;
        } else {
            r.P_sLa = int(i);
            r.P_sWb = 2;
        }
    }
    return rows;
}

template <class Row> std::string OneByOne(const std::vector<Row>& rows) {
    std::string text = vornplan::CsvHeader(Row{}) + '\n';
    for (const Row& r : rows)
        text += vornplan::CsvRow(r) + '\n';
    return text;
}

template <class Row>
std::string Written(const std::vector<Row>& rows, std::size_t blockRows, int& error) {
    std::FILE* f = std::tmpfile();
    error = vornplan::WriteCsv(f, rows, blockRows);
    std::string text(std::size_t(std::ftell(f)), '\0');
    std::rewind(f);
    text.resize(std::fread(text.data(), 1, text.size(), f));
    std::fclose(f);
    return text;
}

TEST(VornplanCsv, BlocksGiveTheRowsOneByOne) {
    std::vector<vorn::ArrayRow> arrays(9);
    for (std::size_t i = 0; i < arrays.size(); ++i)
        arrays[i].Panel_lv = 10 + double(i) / 7;
    for (const char* threads : {"1", "2"}) {
        setenv("VORN_THREADS", threads, 1);
        // No rows, one block exactly, a part block, blocks odd and even in number.
        for (const std::size_t n : {0, 4, 5, 8, 23}) {
            const auto rows = Rows(n);
            int error = -1;
            EXPECT_EQ(Written(rows, 4, error), OneByOne(rows))
                << n << " rows, " << threads << " thread(s)";
            EXPECT_EQ(error, 0);
        }
        int error = -1;
        EXPECT_EQ(Written(arrays, 2, error), OneByOne(arrays)) << threads << " thread(s)";
        EXPECT_EQ(error, 0);
    }
    unsetenv("VORN_THREADS");
}

// A full device: the failure is returned (not 0) and the helper thread ends.
TEST(VornplanCsv, FailedWriteIsReturned) {
    const auto rows = Rows(400);
    for (const char* threads : {"1", "2"}) {
        setenv("VORN_THREADS", threads, 1);
        std::FILE* full = std::fopen("/dev/full", "w");
        ASSERT_NE(full, nullptr);
        EXPECT_EQ(vornplan::WriteCsv(full, rows, 4), ENOSPC) << threads << " thread(s)";
        std::fclose(full);
    }
    unsetenv("VORN_THREADS");
}

} // namespace
