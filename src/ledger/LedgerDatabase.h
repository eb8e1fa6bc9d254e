#pragma once

#include "Bank.h"
#include "LedgerEntry.h"
#include "Sqlite.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QString>
#include <QVariant>
#include <Qt>

#include <functional>
#include <optional>

// Which of an account's entries a list shows.
struct EntryFilter {
    enum class Kind { All, Month, Search };
    Kind kind = Kind::All;
    int year = 0;
    int month = 0;
    QString keyword; // as typed; compared after NFKC normalisation and case folding

    static EntryFilter all() { return {}; }
    static EntryFilter ofMonth(int year, int month) { return {Kind::Month, year, month, {}}; }
    static EntryFilter matching(const QString &keyword) { return {Kind::Search, 0, 0, keyword}; }
};

// A field a list can be sorted by, besides its own order.
enum class EntryField { Time, Summary, PaidOut, PaidIn, Balance, Details };

// What the balance check and the period totals read of an entry: no texts.
struct EntryAmounts {
    qint64 id = 0;
    qint64 day = 0;   // 20260305
    qint64 time = -1; // 93005; -1 when the statement gave none
    int orderNumber = 0;
    int summaryKind = 0;
    qint64 payment = 0;
    qint64 deposit = 0;
    qint64 balance = 0;
    int year() const { return int(day >= 0 ? day / 10000 : -((-day + 9999) / 10000)); }
    int month() const { return int((day - qint64(year()) * 10000) / 100); }
};

// Moriva's data: one SQLite database (Moriva.sqlite in the data folder) holding every account's
// entries. The rest of the core asks it questions in the ledger's own words; the SQL stays here.
// Every change is committed when it is made, each in a transaction of its own.
//
// The order of a list: by day, time and order number (compared as text: "10" before "9"); the
// newest day first when descending, the order numbers of one moment ascending either way; entries
// alike in all three keep the order they were stored in (their ids).
class LedgerDatabase
{
public:
    static constexpr int kSchemaVersion = 1;
    // An import stores its new entries this many at a time, with one statement: far less work
    // per entry than a statement each.
    static constexpr int kBatchRows = 64;
    static QString fileName() { return QStringLiteral("Moriva.sqlite"); }

    LedgerDatabase();
    ~LedgerDatabase();
    LedgerDatabase(const LedgerDatabase &) = delete;
    LedgerDatabase &operator=(const LedgerDatabase &) = delete;

    // ReadWrite creates the file and its tables when missing and brings an older schema up to
    // date; ReadOnly opens an existing file as it is. Both refuse a file of a newer Moriva and a
    // file that is no Moriva database. Writers wait up to busyTimeoutMs for another's write.
    bool open(const QString &path, SqlConnection::Access access, QString *error,
              int busyTimeoutMs = 5000);
    // Makes a new, empty database at the path, readable by its owner alone: built whole beside
    // it and then renamed there, so that a kill leaves no half-made database with a journal
    // that readers cannot play back.
    static bool create(const QString &path, QString *error);
    void close();
    bool isOpen() const { return m_connection.isOpen(); }
    bool isReadOnly() const { return m_readOnly; }
    QString path() const { return m_path; }
    SqlConnection &connection() { return m_connection; }

    // Called once before the first change this connection makes (a backup is taken there);
    // false refuses the change with its reason.
    void setBeforeFirstChange(std::function<bool(QString *)> hook) { m_beforeFirstChange = std::move(hook); }

    // ---- reads ----
    qsizetype count(Bank bank) const;
    std::optional<LedgerEntry> entry(qint64 id) const;
    // The entries of the ids, in the order of the ids; ids no longer stored are left out.
    QList<LedgerEntry> entries(const QList<qint64> &ids) const;
    // The ids of the account's entries that the filter lets through, in the order.
    QList<qint64> entryIds(Bank bank, const EntryFilter &filter, Qt::SortOrder order) const;
    // The field of each entry the filter finds, by id: a number (a time with none: -1) or a
    // text (no details: empty), for sorting a list by it.
    QHash<qint64, QVariant> fieldValues(Bank bank, const EntryFilter &filter, EntryField field) const;
    // Calls back with each such entry in the order; stops early when the callback answers false.
    bool forEachEntry(Bank bank, const EntryFilter &filter, Qt::SortOrder order,
                      const std::function<bool(const LedgerEntry &)> &visit,
                      QString *error = nullptr) const;
    // How many entries the filter lets through, and the sums of their amounts.
    struct Sums {
        qsizetype count = 0;
        qint64 paidOut = 0;
        qint64 paidIn = 0;
    };
    Sums sums(Bank bank, const EntryFilter &filter) const;
    // The amounts of the account's entries in the ascending order of the lists, with their
    // summary kinds or without (0).
    enum class Kinds { Read, Skipped };
    QList<EntryAmounts> amounts(Bank bank, Kinds kinds = Kinds::Read, QString *error = nullptr) const;
    // The months that hold entries (year * 100 + month), oldest first.
    QList<int> months(Bank bank) const;
    // How many of the account's entries of the day (year * 10000 + month * 100 + day) each
    // duplicate key holds (see duplicateKey).
    QHash<QString, int> duplicateCounts(Bank bank, qint64 day) const;
    // What tells a re-imported statement line from a new operation: the date and time texts,
    // the summary as imported, and the three amounts.
    static QString duplicateKey(const LedgerEntry &entry);

    // ---- changes, each committed at once ----
    // Stores new entries (their ids are set); all or none.
    bool insertEntries(Bank bank, QList<LedgerEntry> &entries, QString *error);
    // Stores entries again under the ids and in the accounts they had (an undone deletion); all
    // or none.
    bool putBack(const QList<LedgerEntry> &entries, QString *error);
    bool removeEntries(const QList<qint64> &ids, QString *error);
    bool setMarked(qint64 id, int marked, QString *error);
    bool setSummary(qint64 id, const QString &summary, QString *error);
    bool setDetails(qint64 id, const QString &details, QString *error);

    // An import of one statement file: one transaction, committed whole or not at all.
    class Import
    {
    public:
        explicit Import(LedgerDatabase &database, Bank bank);
        ~Import(); // rolls back unless committed
        Import(const Import &) = delete;
        Import &operator=(const Import &) = delete;

        bool isStarted() const { return m_transaction && m_transaction->isActive(); }
        // Counts the line against the entries stored before the import began: the k-th line of
        // a key is a duplicate only when at least k such entries were stored. Answers true for
        // a duplicate; otherwise stores the entry and answers false.
        bool isDuplicateElseAdd(LedgerEntry &entry);
        bool commit(QString *error);
        QString error() const { return m_error; }
        const QList<qint64> &addedIds() const { return m_added; }

    private:
        LedgerDatabase &m_database;
        Bank m_bank;
        std::optional<SqlTransaction> m_transaction;
        bool m_empty = false; // the account held nothing before: nothing can be a duplicate
        // Stores the entries waiting for a batch; false (m_error set) when that fails.
        bool flush();

        QHash<qint64, QHash<QString, int>> m_remaining; // by day: what the stored entries owe
        QList<LedgerEntry> m_pending; // new entries, stored a batch at a time
        QList<qint64> m_added;
        QString m_error;
    };

    // What `check` reports: SQLite's integrity check and the entries' own rules.
    QStringList check() const;

private:
    bool createSchema(QString *error);
    bool migrate(int from, QString *error);
    bool prepareStatements(QString *error);
    bool insert(Bank bank, LedgerEntry &entry, bool keepId, QString *error);
    // Stores kBatchRows new entries; their ids follow one another.
    bool insertBatch(Bank bank, QList<LedgerEntry> &entries, QString *error);
    bool updateText(SqlStatement &statement, qint64 id, const QString &text, QString *error);

    // Whether changes may be made now: open for writing, and the hook agreed.
    bool mayChange(QString *error);
    // Makes the change in a transaction of its own (or the caller's), all or nothing.
    bool changeInTransaction(QString *error, const std::function<bool()> &change);

    SqlConnection m_connection;
    std::function<bool(QString *)> m_beforeFirstChange;
    bool m_changed = false;
    QString m_path;
    bool m_readOnly = false;
    struct Statements;
    Statements *m_statements = nullptr; // prepared once per open
};
