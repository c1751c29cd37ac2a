#pragma once

#include <QString>

namespace vorn {

// Checks that the database file at `path` holds every table and column of
// the program's schema (the checked-in script the build makes Vorn.mdb
// from). Returns an empty text when it does; otherwise one line naming the
// file and what is wrong: not a database, a missing table, a missing column.
// The file is opened read-only and never created or changed.
QString CheckDatabaseSchema(const QString& path);

} // namespace vorn
