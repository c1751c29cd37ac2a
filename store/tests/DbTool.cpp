// A second program on a database file, for tests of what happens beside it:
//
//   vorn_dbtool hold FILE -- COMMAND...   holds a write transaction that has
//       added the part "HELD-BY-WRITER-<pid>" while COMMAND runs, commits it after,
//       and checks on a fresh connection that the part is in the file. Exit:
//       COMMAND's status, or 99 when the committed part was lost.
//   vorn_dbtool insert FILE N PREFIX      saves N parts PREFIX00001 … one
//       transaction each, waiting for the file's lock as the program does and
//       trying again after a refusal. Exit 0 when every part is saved.
//   vorn_dbtool damage FILE               overwrites the second-last page of
//       FILE with fixed junk bytes (a sector gone bad).

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

sqlite3* Open(const char* path) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "vorn_dbtool: cannot open %s\n", path);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    return db;
}

bool Exec(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "vorn_dbtool: %s: %s\n", sql.c_str(), message ? message : "");
    sqlite3_free(message);
    return false;
}

long long Count(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    long long n = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        n = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return n;
}

int Hold(const char* path, char** command) {
    const std::string marker = "HELD-BY-WRITER-" + std::to_string(getpid());
    sqlite3* db = Open(path);
    if (!db ||
        !Exec(db, "BEGIN IMMEDIATE; INSERT INTO data0004 (Part_number) VALUES ('" + marker + "')"))
        return 98;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execvp(command[0], command);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const bool committed = Exec(db, "COMMIT");
    sqlite3_close(db);
    sqlite3* fresh = Open(path);
    const std::string count = "SELECT count(*) FROM data0004 WHERE Part_number = '" + marker + "'";
    const long long kept = fresh ? Count(fresh, count.c_str()) : -1;
    sqlite3_close(fresh);
    if (!committed || kept != 1) {
        std::fprintf(stderr, "vorn_dbtool: the writer's committed part is not in %s\n", path);
        return 99;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 97;
}

int Insert(const char* path, int n, const std::string& prefix) {
    sqlite3* db = Open(path);
    if (!db)
        return 98;
    for (int i = 1; i <= n;) {
        char number[64];
        std::snprintf(number, sizeof number, "%s%05d", prefix.c_str(), i);
        const std::string sql = "BEGIN IMMEDIATE; INSERT INTO data0004 (Part_number, Layer) "
                                "VALUES ('" +
                                std::string(number) + "', 4); COMMIT";
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) {
            ++i;
            continue;
        }
        // Refused while the other program held the file: as a user would, try again.
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        const int rc = sqlite3_errcode(db) & 0xff;
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) {
            std::fprintf(stderr, "vorn_dbtool: %s\n", sqlite3_errmsg(db));
            sqlite3_close(db);
            return 1;
        }
    }
    sqlite3_close(db);
    return 0;
}

int Damage(const char* path) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    unsigned char header[100] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header))
        return 98;
    long pageSize = header[16] << 8 | header[17];
    if (pageSize == 1)
        pageSize = 65536;
    file.seekg(0, std::ios::end);
    const long pages = long(file.tellg()) / pageSize;
    if (pages < 3)
        return 98;
    std::vector<char> junk(static_cast<size_t>(pageSize));
    unsigned state = 12345;
    for (char& c : junk) {
        state = state * 1103515245u + 12345u;
        c = char(state >> 16);
    }
    file.seekp((pages - 2) * pageSize);
    file.write(junk.data(), std::streamsize(junk.size()));
    return file ? 0 : 98;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && !std::strcmp(argv[1], "hold") && !std::strcmp(argv[3], "--"))
        return Hold(argv[2], argv + 4);
    if (argc == 5 && !std::strcmp(argv[1], "insert"))
        return Insert(argv[2], std::atoi(argv[3]), argv[4]);
    if (argc == 3 && !std::strcmp(argv[1], "damage"))
        return Damage(argv[2]);
    std::fputs("usage: vorn_dbtool hold FILE -- COMMAND... | insert FILE N PREFIX | damage FILE\n",
               stderr);
    return 2;
}
