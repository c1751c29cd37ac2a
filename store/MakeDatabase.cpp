// Build step: creates a fresh database file from the schema and seed scripts.
// An existing file is left alone, so a rebuild never touches a user's data.
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool readFile(const char* path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <database> <script.sql>...\n", argv[0]);
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path target = argv[1];
    if (fs::exists(target))
        return 0;

    // Build beside the target and rename at the end: an interrupted build
    // leaves no half-made database behind.
    const fs::path temp = target.string() + ".new";
    fs::remove(temp);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", temp.c_str(), sqlite3_errmsg(db));
        sqlite3_close(db);
        return 1;
    }
    std::string script = "BEGIN;\n";
    for (int i = 2; i < argc; ++i) {
        std::string text;
        if (!readFile(argv[i], text)) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            sqlite3_close(db);
            fs::remove(temp);
            return 1;
        }
        script += text;
        script += "\n";
    }
    script += "COMMIT;\n";
    char* error = nullptr;
    if (sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", target.c_str(), error ? error : "unknown error");
        sqlite3_free(error);
        sqlite3_close(db);
        fs::remove(temp);
        return 1;
    }
    sqlite3_close(db);
    fs::rename(temp, target);
    std::printf("Created %s\n", target.c_str());
    return 0;
}
