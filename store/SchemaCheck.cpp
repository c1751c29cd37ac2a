#include "SchemaCheck.h"

#include "SafeWrite.h"
#include "SqliteConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>

#include <sqlite3.h>

#include <memory>

// The resource lives in a static library: pull it in by name.
static void initSchemaResource() {
    Q_INIT_RESOURCE(schema);
}

namespace vorn {

namespace {

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;

struct Table {
    QString name;        // as spelled in the file
    QStringList columns; // as spelled, in order
};
using Schema = QMap<QString, Table>; // by lower-case table name

// Tables and columns of an open database; false with `error` when it cannot
// be read as one.
bool readSchema(sqlite3* db, Schema& schema, QString& error) {
    sqlite3_stmt* raw = nullptr;
    const char* sql = "SELECT m.name, p.name FROM sqlite_master AS m "
                      "JOIN pragma_table_info(m.name) AS p WHERE m.type = 'table' "
                      "ORDER BY m.name, p.cid";
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        error = SqliteReason(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
        return false;
    }
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> stmt(raw, sqlite3_finalize);
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        const auto text = [&](int col) {
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw, col)));
        };
        Table& table = schema[text(0).toLower()];
        table.name = text(0);
        table.columns << text(1);
    }
    if (rc != SQLITE_DONE) {
        error = SqliteReason(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
        return false;
    }
    return true;
}

// The program's own schema, built once in memory from the embedded script.
const Schema& expectedSchema() {
    static const Schema schema = [] {
        Schema s;
        initSchemaResource();
        QFile script(QStringLiteral(":/vorn/VornSchema.sql"));
        if (!script.open(QIODevice::ReadOnly))
            return s;
        sqlite3* raw = nullptr;
        sqlite3_open(":memory:", &raw);
        DbHandle db(raw);
        QString error;
        if (sqlite3_exec(raw, script.readAll().constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
            readSchema(raw, s, error);
        return s;
    }();
    return schema;
}

} // namespace

QString CheckDatabaseSchema(const QString& path) {
    const bool zh = MessagesInChinese();
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        return (zh ? QStringLiteral("数据库文件 “%1” 不存在。")
                   : QStringLiteral("The database file \"%1\" does not exist."))
            .arg(shown);
    if (!info.isFile())
        return (zh ? QStringLiteral("“%1” 不是数据库文件。")
                   : QStringLiteral("\"%1\" is not a database file."))
            .arg(shown);

    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    DbHandle db(raw);
    // Another window may be committing just now.
    if (rc == SQLITE_OK)
        sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    Schema found;
    QString error;
    if (rc != SQLITE_OK || !readSchema(raw, found, error)) {
        if (error.isEmpty())
            error = raw ? SqliteReason(rc, QString::fromUtf8(sqlite3_errmsg(raw)))
                        : SqliteReason(SQLITE_CANTOPEN, QStringLiteral("cannot open"));
        return (zh ? QStringLiteral("“%1” 不是可用的数据库：%2。")
                   : QStringLiteral("\"%1\" is not a usable database: %2."))
            .arg(shown, error);
    }

    const Schema& expected = expectedSchema();
    if (expected.isEmpty())
        return (zh ? QStringLiteral("程序的数据库结构不可用，无法检查 “%1”。")
                   : QStringLiteral("The program's schema is not available to check \"%1\"."))
            .arg(shown);
    QStringList missing;
    for (auto table = expected.cbegin(); table != expected.cend(); ++table) {
        const QString& name = table->name;
        if (name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
            continue; // the engine's own bookkeeping, made with the first row
        if (!found.contains(table.key())) {
            missing << (zh ? QStringLiteral("表 %1") : QStringLiteral("table %1")).arg(name);
            continue;
        }
        QSet<QString> have;
        for (const QString& column : found[table.key()].columns)
            have.insert(column.toLower());
        for (const QString& column : table->columns)
            if (!have.contains(column.toLower()))
                missing << (zh ? QStringLiteral("列 %1.%2") : QStringLiteral("column %1.%2"))
                               .arg(name, column);
    }
    if (missing.isEmpty())
        return {};
    constexpr int shownAtMost = 8;
    QString list =
        missing.mid(0, shownAtMost).join(zh ? QStringLiteral("、") : QStringLiteral(", "));
    if (missing.size() > shownAtMost)
        list += (zh ? QStringLiteral(" 等另外 %1 项") : QStringLiteral(" and %1 more"))
                    .arg(missing.size() - shownAtMost);
    return (zh ? QStringLiteral("数据库文件 “%1” 不是 Vorn 的数据库：缺少%2。")
               : QStringLiteral("The database file \"%1\" is not a Vorn database: it lacks %2."))
        .arg(shown, list);
}

} // namespace vorn
