#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace vorn {

// How long a connection waits for another program's lock on the file (a
// second window saving, a restore) before it gives up.
inline constexpr int kBusyTimeoutMs = 3000;

// What the user is told when another program still holds the file after the
// wait; nothing was changed and the same action may be tried again.
QString DatabaseLockedMessage(const QString& path);

// The engine's result code means the file is held by another connection.
bool IsLockedCode(int rc);

// SQLite's reason `text` for result code `rc`, or in the window's Chinese for
// the common ones (not a database, damaged, a full disk, ...).
QString SqliteReason(int rc, const QString& text);

// The one connection to the database file. It opens when the first cursor
// opens and closes when the last one closes; close() may be called at any
// time (backup and restore replace the file) and the next use reopens.
class SqliteConnection {
public:
    SqliteConnection() = default;
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    void setPath(const QString& path);
    const QString& path() const { return m_path; }

    // Opens the file if needed; throws DbError when it is missing or not a
    // database. The file is never created here.
    sqlite3* handle();
    bool isOpen() const { return m_db != nullptr; }
    void close();

    // Reference count of the open cursors that use the connection.
    void acquire();
    void release();
    int users() const { return m_users; }

    void exec(const QString& sql);
    QString lastError() const;

private:
    QString m_path;
    sqlite3* m_db = nullptr;
    int m_users = 0;
};

// One prepared statement; finalised on destruction.
class SqliteStatement {
public:
    SqliteStatement(SqliteConnection& connection, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    int parameterCount() const;
    QString parameterName(int index) const; // 1-based, without the leading ':'
    void bind(int index, const QVariant& value);
    // Steps once: true while a row is available, false when done.
    bool step();
    void reset();
    int columnCount() const;
    sqlite3_stmt* raw() const { return m_stmt; }

private:
    SqliteConnection& m_connection;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace vorn
