#include "Sqlite.h"

#include <sqlite3.h>

#include <utility>

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

SqlConnection::~SqlConnection()
{
    close();
}

bool SqlConnection::open(const QString &path, Access access, int busyTimeoutMs, QString *error)
{
    close();
    const int flags = access == Access::ReadOnly
        ? SQLITE_OPEN_READONLY
        : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    // NOFOLLOW: the ledger is never reached through a symbolic link.
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                                   flags | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        setError(error, m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                             : QString::fromUtf8(sqlite3_errstr(rc)));
        close();
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
    return true;
}

void SqlConnection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool SqlConnection::exec(const char *sql, QString *error)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    setError(error, QString::fromUtf8(message ? message : sqlite3_errmsg(m_db)));
    sqlite3_free(message);
    return false;
}

QString SqlConnection::lastError() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
}

qint64 SqlConnection::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int SqlConnection::changes() const
{
    return sqlite3_changes(m_db);
}

SqlStatement::~SqlStatement()
{
    sqlite3_finalize(m_stmt);
}

SqlStatement::SqlStatement(SqlStatement &&other) noexcept
    : m_stmt(std::exchange(other.m_stmt, nullptr))
    , m_texts(std::move(other.m_texts))
{
}

SqlStatement &SqlStatement::operator=(SqlStatement &&other) noexcept
{
    std::swap(m_stmt, other.m_stmt);
    std::swap(m_texts, other.m_texts);
    return *this;
}

bool SqlStatement::prepare(const SqlConnection &connection, const char *sql, QString *error)
{
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    if (sqlite3_prepare_v3(connection.handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt,
                           nullptr)
        == SQLITE_OK)
        return true;
    setError(error, connection.lastError());
    return false;
}

void SqlStatement::bind(int index, qint64 value)
{
    sqlite3_bind_int64(m_stmt, index, value);
}

void SqlStatement::bind(int index, const QString &value)
{
    if (value.isNull())
        bindNull(index);
    else
        bind(index, QStringView(value));
}

void SqlStatement::bind(int index, QStringView value)
{
    // The database keeps UTF-8: Qt's conversion is quicker than SQLite's own.
    m_texts.append(value.toUtf8());
    const QByteArray &utf8 = m_texts.constLast();
    sqlite3_bind_text(m_stmt, index, utf8.isNull() ? "" : utf8.constData(), int(utf8.size()),
                      SQLITE_STATIC);
}

void SqlStatement::bindBlob(int index, const QByteArray &value)
{
    if (value.isNull())
        bindNull(index);
    else
        sqlite3_bind_blob64(m_stmt, index, value.constData(), sqlite3_uint64(value.size()),
                            SQLITE_TRANSIENT);
}

void SqlStatement::bindNull(int index)
{
    sqlite3_bind_null(m_stmt, index);
}

SqlStatement::Step SqlStatement::step()
{
    switch (sqlite3_step(m_stmt)) {
    case SQLITE_ROW:
        return Step::Row;
    case SQLITE_DONE:
        return Step::Done;
    default:
        return Step::Error;
    }
}

bool SqlStatement::run(QString *error)
{
    const bool done = step() == Step::Done;
    if (!done)
        setError(error, this->error());
    reset();
    return done;
}

void SqlStatement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    m_texts.clear();
}

bool SqlStatement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

qint64 SqlStatement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QString SqlStatement::text(int column) const
{
    const auto *data = static_cast<const char16_t *>(sqlite3_column_text16(m_stmt, column));
    if (!data)
        return QString();
    return QString(reinterpret_cast<const QChar *>(data),
                   sqlite3_column_bytes16(m_stmt, column) / 2);
}

QByteArray SqlStatement::blob(int column) const
{
    if (isNull(column))
        return QByteArray();
    const void *data = sqlite3_column_blob(m_stmt, column);
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data ? QByteArray(static_cast<const char *>(data), size) : QByteArray("");
}

QString SqlStatement::error() const
{
    sqlite3 *db = sqlite3_db_handle(m_stmt);
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
}

SqlTransaction::SqlTransaction(SqlConnection &connection)
    : m_connection(connection)
{
    m_active = m_connection.exec("BEGIN IMMEDIATE", &m_error);
}

SqlTransaction::~SqlTransaction()
{
    if (m_active)
        m_connection.exec("ROLLBACK", nullptr);
}

bool SqlTransaction::commit(QString *error)
{
    if (!m_active) {
        setError(error, m_error);
        return false;
    }
    if (!m_connection.exec("COMMIT", &m_error)) {
        setError(error, m_error);
        return false; // the destructor rolls back
    }
    m_active = false;
    return true;
}
