#include "SqliteConnection.h"

#include "DbError.h"
#include "SafeWrite.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

namespace vorn {

QString DatabaseLockedMessage(const QString& path) {
    const QString file = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (MessagesInChinese())
        return QStringLiteral("数据库正被另一程序使用，请稍后重试。\n“%1” 未作任何更改。")
            .arg(file);
    return QStringLiteral("The database \"%1\" is in use by another program (database is "
                          "locked); try again later. Nothing was changed.")
        .arg(file);
}

bool IsLockedCode(int rc) {
    return (rc & 0xff) == SQLITE_BUSY;
}

QString SqliteReason(int rc, const QString& text) {
    if (!MessagesInChinese())
        return text;
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
        return QStringLiteral("文件不是数据库");
    case SQLITE_CORRUPT:
        return QStringLiteral("数据库文件已损坏");
    case SQLITE_FULL:
        return QStringLiteral("磁盘空间不足");
    case SQLITE_CANTOPEN:
        return QStringLiteral("文件不存在或无法打开");
    case SQLITE_READONLY:
        return QStringLiteral("数据库为只读");
    case SQLITE_IOERR:
        return QStringLiteral("磁盘读写错误");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("没有访问权限");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据库正被另一程序使用");
    default:
        return text;
    }
}

namespace {

// The error of the last call on `db`: the locked message when another
// program held the file through the whole wait.
DbError ErrorOf(sqlite3* db, const QString& path, const char* message = nullptr) {
    if (db && IsLockedCode(sqlite3_extended_errcode(db)))
        return DbError(DatabaseLockedMessage(path));
    return DbError(SqliteReason(db ? sqlite3_extended_errcode(db) : SQLITE_ERROR,
                                QString::fromUtf8(message ? message
                                                  : db    ? sqlite3_errmsg(db)
                                                          : "?")));
}

} // namespace

SqliteConnection::~SqliteConnection() {
    close();
}

void SqliteConnection::setPath(const QString& path) {
    if (path != m_path)
        close();
    m_path = path;
}

sqlite3* SqliteConnection::handle() {
    if (m_db)
        return m_db;
    const QByteArray file = m_path.toUtf8();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    QString error;
    bool locked = false;
    if (rc != SQLITE_OK) {
        error = SqliteReason(rc, QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
    } else {
        // Another window may be committing: wait for it, also while opening.
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        // Opening is lazy in SQLite: read the catalogue to learn whether the
        // file really is a database.
        char* message = nullptr;
        if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &message) !=
            SQLITE_OK) {
            locked = IsLockedCode(sqlite3_extended_errcode(db));
            error = SqliteReason(sqlite3_extended_errcode(db),
                                 QString::fromUtf8(message ? message : sqlite3_errmsg(db)));
            sqlite3_free(message);
        }
    }
    if (!error.isEmpty()) {
        sqlite3_close(db);
        if (locked)
            throw DbError(DatabaseLockedMessage(m_path));
        const QString file = QFileInfo(m_path).absoluteFilePath();
        throw DbError(
            MessagesInChinese()
                ? QStringLiteral("无法打开数据库文件 “%1”：%2。").arg(file, error)
                : QStringLiteral("Cannot open the database file \"%1\": %2.").arg(file, error));
    }
    m_db = db;
    return m_db;
}

void SqliteConnection::close() {
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void SqliteConnection::acquire() {
    ++m_users;
}

void SqliteConnection::release() {
    if (m_users > 0 && --m_users == 0)
        close();
}

void SqliteConnection::exec(const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(handle(), sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const DbError error = ErrorOf(m_db, m_path, message);
        sqlite3_free(message);
        throw error;
    }
}

QString SqliteConnection::lastError() const {
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
}

SqliteStatement::SqliteStatement(SqliteConnection& connection, const QString& sql)
    : m_connection(connection) {
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(connection.handle(), text.constData(), int(text.size()), &m_stmt,
                           nullptr) != SQLITE_OK) {
        const DbError error = ErrorOf(connection.handle(), connection.path());
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw error;
    }
    if (!m_stmt)
        throw DbError(QStringLiteral("The SQL text is empty."));
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_stmt);
}

int SqliteStatement::parameterCount() const {
    return sqlite3_bind_parameter_count(m_stmt);
}

QString SqliteStatement::parameterName(int index) const {
    const char* name = sqlite3_bind_parameter_name(m_stmt, index);
    QString text = name ? QString::fromUtf8(name) : QString();
    if (!text.isEmpty() && (text[0] == u':' || text[0] == u'@' || text[0] == u'$'))
        text.remove(0, 1);
    return text;
}

void SqliteStatement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QDate:
            rc = sqlite3_bind_text(m_stmt, index,
                                   value.toDate().toString(Qt::ISODate).toUtf8().constData(), -1,
                                   SQLITE_TRANSIENT);
            break;
        case QMetaType::QDateTime: {
            const QDateTime dt = value.toDateTime();
            const QString text = dt.time() == QTime(0, 0)
                                     ? dt.date().toString(Qt::ISODate)
                                     : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            rc = sqlite3_bind_text(m_stmt, index, text.toUtf8().constData(), -1, SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()),
                                   SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        throw DbError(m_connection.lastError());
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw ErrorOf(m_connection.handle(), m_connection.path());
}

void SqliteStatement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(m_stmt);
}

} // namespace vorn
