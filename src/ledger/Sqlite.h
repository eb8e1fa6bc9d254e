#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

struct sqlite3;
struct sqlite3_stmt;

// A small RAII layer over SQLite's C API: one connection, its prepared statements and its
// transactions. Errors come back as false plus SQLite's message; nothing throws. A connection
// is used by one thread at a time (it takes no mutex of its own).
class SqlConnection
{
public:
    enum class Access { ReadOnly, ReadWrite };

    SqlConnection() = default;
    ~SqlConnection();
    SqlConnection(const SqlConnection &) = delete;
    SqlConnection &operator=(const SqlConnection &) = delete;

    // Opens the file (created when ReadWrite and missing). busyTimeoutMs: how long a statement
    // waits for another process's lock before it fails with "database is locked".
    bool open(const QString &path, Access access, int busyTimeoutMs, QString *error);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    // Runs statements that return no rows.
    bool exec(const char *sql, QString *error);
    QString lastError() const;
    qint64 lastInsertId() const;
    int changes() const;

private:
    sqlite3 *m_db = nullptr;
};

// One prepared statement, reset for each use.
class SqlStatement
{
public:
    SqlStatement() = default;
    ~SqlStatement();
    SqlStatement(SqlStatement &&other) noexcept;
    SqlStatement &operator=(SqlStatement &&other) noexcept;
    SqlStatement(const SqlStatement &) = delete;
    SqlStatement &operator=(const SqlStatement &) = delete;

    bool prepare(const SqlConnection &connection, const char *sql, QString *error = nullptr);
    bool isPrepared() const { return m_stmt != nullptr; }

    // Parameters count from 1, as in SQLite. A null QString binds NULL.
    void bind(int index, qint64 value);
    void bind(int index, const QString &value);
    void bind(int index, QStringView value);
    void bindBlob(int index, const QByteArray &value);
    void bindNull(int index);

    enum class Step { Row, Done, Error };
    Step step();
    // Runs a statement that returns no rows, then resets it; false with SQLite's message.
    bool run(QString *error = nullptr);
    // Clears the bindings and rewinds the statement for its next use.
    void reset();

    bool isNull(int column) const;
    qint64 integer(int column) const;
    QString text(int column) const; // NULL reads as a null QString
    QByteArray blob(int column) const;

    QString error() const;

private:
    sqlite3_stmt *m_stmt = nullptr;
    QList<QByteArray> m_texts; // bound texts, kept until the statement is reset
};

// BEGIN IMMEDIATE on construction; ROLLBACK on destruction unless commit() succeeded.
class SqlTransaction
{
public:
    explicit SqlTransaction(SqlConnection &connection);
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction &) = delete;
    SqlTransaction &operator=(const SqlTransaction &) = delete;

    bool isActive() const { return m_active; }
    QString error() const { return m_error; }
    bool commit(QString *error = nullptr);

private:
    SqlConnection &m_connection;
    QString m_error;
    bool m_active = false;
};
