// vornplan backup / restore: the database copies of the program's tool menu,
// without the window.

#include "BackupRestore.h"
#include "Command.h"
#include "PlanArguments.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

const char* const kBackupHelp =
    "usage: vornplan backup [--db DATABASE] TARGET\n"
    "\n"
    "Copies the program's database to TARGET as one consistent snapshot (also\n"
    "while the program has it open), written whole or not at all; an existing\n"
    "TARGET is replaced only by a complete copy. A database that is empty or\n"
    "fails the integrity check is refused, naming the problem.\n"
    "\n"
    "  --db DATABASE   the database to copy (default: Vorn.mdb beside vornplan)\n"
    "\n"
    "Exit status: 0 copied; 1 refused or failed (the reason on standard error,\n"
    "TARGET as it was); 2 bad arguments.\n";

const char* const kRestoreHelp =
    "usage: vornplan restore [--db DATABASE] SOURCE\n"
    "\n"
    "Replaces the content of the program's database by the backup SOURCE.\n"
    "SOURCE must be a database with every table and column of the program and\n"
    "pass the integrity check; it is written into the database in one\n"
    "transaction, which a program that has the database open sees at once.\n"
    "While another program is saving, the restore waits a few seconds and is\n"
    "then refused.\n"
    "\n"
    "  --db DATABASE   the database to replace (default: Vorn.mdb beside vornplan)\n"
    "\n"
    "Exit status: 0 restored; 1 refused or failed (the reason on standard error,\n"
    "DATABASE byte for byte as it was); 2 bad arguments.\n";

struct Arguments {
    QString database;
    QString file;
};

// Exit status when the command ends here.
std::optional<int> Parse(int argc, char** argv, const char* help, Arguments& out) {
    out.database = QString::fromStdString(vornplan::ProgramDatabase());
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(help, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--db")) {
            if (++i == argc) {
                std::fprintf(stderr, "vornplan %s: --db needs a file\n", argv[0]);
                return 2;
            }
            out.database = QString::fromLocal8Bit(argv[i]);
            continue;
        }
        if (argv[i][0] == '-' || !out.file.isEmpty()) {
            std::fprintf(stderr, "vornplan %s: unexpected argument '%s'\n%s", argv[0], argv[i],
                         help);
            return 2;
        }
        out.file = QString::fromLocal8Bit(argv[i]);
    }
    if (out.file.isEmpty()) {
        std::fputs(help, stderr);
        return 2;
    }
    return std::nullopt;
}

int Report(bool ok, const char* command, const QString& error) {
    if (ok)
        return 0;
    std::fprintf(stderr, "vornplan %s: %s\n", command, error.toLocal8Bit().constData());
    return 1;
}

int Backup(int argc, char** argv) {
    Arguments args;
    if (auto exit = Parse(argc, argv, kBackupHelp, args))
        return *exit;
    QString error;
    return Report(vorn::BackupDatabase(args.database, args.file, &error), "backup", error);
}

int Restore(int argc, char** argv) {
    Arguments args;
    if (auto exit = Parse(argc, argv, kRestoreHelp, args))
        return *exit;
    QString error;
    return Report(vorn::RestoreDatabase(args.file, args.database, &error), "restore", error);
}

vornplan::RegisterCommand backup{{"backup", "copy the database to a backup file", Backup}};
vornplan::RegisterCommand restore{
    {"restore", "replace the database by a checked backup file", Restore}};

} // namespace
