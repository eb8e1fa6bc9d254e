#include "LedgerDatabase.h"

#include "DataFolder.h"
#include "EntryRow.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <charconv>
#include <string_view>
#include <vector>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("LedgerDatabase", text);
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// Version 1 of the schema. Each later version adds one step to LedgerDatabase::migrate.
const char *const kSchema = R"sql(
CREATE TABLE accounts (
  id        INTEGER PRIMARY KEY,
  name      TEXT NOT NULL UNIQUE,
  kind      TEXT NOT NULL DEFAULT 'bank',
  builtin   TEXT,
  position  INTEGER NOT NULL
);
INSERT INTO accounts (id, name, kind, builtin, position) VALUES
  (1, 'JNB', 'bank', 'jnb', 1),
  (2, 'eBANK', 'bank', 'ebank', 2);
CREATE TABLE entries (
  id            INTEGER PRIMARY KEY,
  account       INTEGER NOT NULL REFERENCES accounts(id),
  day           INTEGER NOT NULL,
  time          INTEGER,
  order_number  INTEGER NOT NULL DEFAULT 0,
  summary       TEXT NOT NULL,
  bank_summary  TEXT,
  paid_out      INTEGER NOT NULL DEFAULT 0,
  paid_in       INTEGER NOT NULL DEFAULT 0,
  balance       INTEGER NOT NULL DEFAULT 0,
  note          TEXT,
  marked        INTEGER NOT NULL DEFAULT 0,
  kind          INTEGER NOT NULL DEFAULT 0,
  search_text   TEXT NOT NULL,
  extra         TEXT
);
CREATE INDEX entries_by_day ON entries(account, day, time, order_number);
CREATE TABLE moved_in (
  archive_sha256 TEXT PRIMARY KEY,
  file_name      TEXT NOT NULL,
  account        INTEGER REFERENCES accounts(id),
  entries        INTEGER NOT NULL,
  at             TEXT NOT NULL
);
PRAGMA user_version = 1;
)sql";

// The order the index gives: by day, time and order number (as a number), then id. The entries
// of one moment are then put in the lists' order by MomentRuns below, which costs SQLite no sort.
const char *orderBy(Qt::SortOrder order)
{
    switch (order) {
    case Qt::AscendingOrder:
        return " ORDER BY day, time, order_number, id";
    case Qt::DescendingOrder:
        return " ORDER BY day DESC, time DESC, order_number DESC, id DESC";
    }
    return " ORDER BY id";
}

// Order numbers compare as their texts ("10" before "9"), the lists' rule whichever way they run.
bool orderTextLess(int a, int b)
{
    char ta[16], tb[16];
    const auto ea = std::to_chars(ta, ta + sizeof ta, a).ptr;
    const auto eb = std::to_chars(tb, tb + sizeof tb, b).ptr;
    return std::lexicographical_compare(ta, ea, tb, eb);
}

// Gathers the rows of one moment (day and time) as they come and hands them on in the lists'
// order: by order number as text, then by id. Almost every moment holds one row.
template<typename Row, typename Deliver>
class MomentRuns
{
public:
    explicit MomentRuns(Qt::SortOrder order, Deliver deliver)
        : m_sorted(order == Qt::AscendingOrder || order == Qt::DescendingOrder)
        , m_deliver(std::move(deliver))
    {
    }
    bool add(qint64 day, qint64 time, int orderNumber, qint64 id, Row row)
    {
        if (!m_run.empty() && (day != m_day || time != m_time) && !flush())
            return false;
        m_day = day;
        m_time = time;
        m_run.push_back({orderNumber, id, std::move(row)});
        return m_sorted || flush();
    }
    bool flush()
    {
        if (m_run.size() > 1)
            std::sort(m_run.begin(), m_run.end(), [](const Item &x, const Item &y) {
                if (x.order != y.order)
                    return orderTextLess(x.order, y.order);
                return x.id < y.id;
            });
        bool going = true;
        for (const Item &item : m_run) {
            if (going)
                going = m_deliver(item.row);
        }
        m_run.clear();
        return going;
    }

private:
    struct Item {
        int order;
        qint64 id;
        Row row;
    };
    bool m_sorted;
    Deliver m_deliver;
    std::vector<Item> m_run;
    qint64 m_day = 0;
    qint64 m_time = 0;
};

// holds_text(text, keyword): whether the folded text holds the folded keyword. Both are UTF-8, so
// a byte search finds exactly what a character search would; it is a quarter quicker over a
// million entries than SQLite's instr(), which steps through the text a character at a time.
void holdsText(sqlite3_context *context, int, sqlite3_value **values)
{
    const auto text = reinterpret_cast<const char *>(sqlite3_value_text(values[0]));
    const int textBytes = sqlite3_value_bytes(values[0]);
    const auto keyword = reinterpret_cast<const char *>(sqlite3_value_text(values[1]));
    const int keywordBytes = sqlite3_value_bytes(values[1]);
    sqlite3_result_int(context,
                       text && keyword
                           && std::string_view(text, textBytes).find(std::string_view(keyword, keywordBytes))
                               != std::string_view::npos);
}

QByteArray selectSql(const char *what, const EntryFilter &filter, Qt::SortOrder order,
                     bool ordered = true)
{
    // A search reads every entry of the account anyway: in the order the table lies, not by
    // way of the index, and only the hits are sorted.
    QByteArray sql = QByteArray("SELECT ") + what + " FROM entries"
        + (filter.kind == EntryFilter::Kind::Search ? " NOT INDEXED" : "") + " WHERE account = ?1";
    switch (filter.kind) {
    case EntryFilter::Kind::All:
        break;
    case EntryFilter::Kind::Month:
        sql += " AND day BETWEEN ?2 AND ?3";
        break;
    case EntryFilter::Kind::Search:
        sql += " AND holds_text(search_text, ?2)";
        break;
    }
    return ordered ? sql + orderBy(order) : sql;
}

QByteArray batchInsertSql()
{
    QByteArray sql = "INSERT INTO entries (id, account, day, time, order_number, summary, "
                     "bank_summary, paid_out, paid_in, balance, note, marked, kind, search_text, "
                     "extra) VALUES ";
    for (int row = 0; row < LedgerDatabase::kBatchRows; ++row) {
        sql += row ? ",(" : "(";
        for (int column = 0; column < EntryRow::kInsertedColumns; ++column)
            sql += column ? ",?" : "?";
        sql += ')';
    }
    return sql;
}

// A keyword that folds to nothing finds nothing (rather than every entry).
bool findsNothing(const EntryFilter &filter)
{
    return filter.kind == EntryFilter::Kind::Search && EntryRow::folded(filter.keyword).isEmpty();
}

void bindFilter(SqlStatement &s, Bank bank, const EntryFilter &filter)
{
    s.bind(1, qint64(bank));
    if (filter.kind == EntryFilter::Kind::Month) {
        s.bind(2, EntryRow::dayNumber(filter.year, filter.month, 0));
        s.bind(3, EntryRow::dayNumber(filter.year, filter.month, 99));
    } else if (filter.kind == EntryFilter::Kind::Search) {
        s.bind(2, EntryRow::folded(filter.keyword));
    }
}

} // namespace

struct LedgerDatabase::Statements {
    SqlStatement insert;
    SqlStatement insertBatch; // kBatchRows rows
    SqlStatement byId;
    SqlStatement count;
    SqlStatement ofDay;
    SqlStatement nextDay;
    SqlStatement remove;
    SqlStatement setMarked;
    SqlStatement setSummary;
    SqlStatement setNote;
};

LedgerDatabase::LedgerDatabase() = default;

LedgerDatabase::~LedgerDatabase()
{
    close();
}

bool LedgerDatabase::open(const QString &path, SqlConnection::Access access, QString *error,
                          int busyTimeoutMs)
{
    close();
    m_readOnly = access == SqlConnection::Access::ReadOnly;
    if (m_readOnly && !QFileInfo::exists(path)) {
        setError(error, tr("%1 does not exist.").arg(path));
        return false;
    }
    QString why;
    if (!m_connection.open(path, access, busyTimeoutMs, &why)) {
        setError(error, tr("%1 cannot be opened: %2").arg(path, why));
        return false;
    }
    m_path = path;
    if (sqlite3_create_function_v2(m_connection.handle(), "holds_text", 2,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                   holdsText, nullptr, nullptr, nullptr)
        != SQLITE_OK) {
        setError(error, tr("%1 cannot be opened: %2").arg(path, m_connection.lastError()));
        close();
        return false;
    }
    int userVersion = -1;
    {
        SqlStatement version;
        if (version.prepare(m_connection, "PRAGMA user_version", &why)
            && version.step() == SqlStatement::Step::Row)
            userVersion = int(version.integer(0));
    }
    if (userVersion < 0) {
        setError(error, tr("%1 is not a Moriva database: %2").arg(path, why));
        close();
        return false;
    }
    if (userVersion > kSchemaVersion) {
        setError(error, tr("%1 was written by a newer Moriva (schema version %2).")
                            .arg(path)
                            .arg(userVersion));
        close();
        return false;
    }
    bool ready = m_connection.exec("PRAGMA foreign_keys = ON", &why);
    if (ready && !m_readOnly) {
        // Larger pages make the walks over every entry (a search, the balance check) about a
        // tenth quicker; a page size is chosen before the first write, and kept.
        if (userVersion == 0)
            ready = m_connection.exec("PRAGMA page_size = 16384", &why);
        ready = ready && m_connection.exec("PRAGMA journal_mode = WAL", &why)
            && m_connection.exec("PRAGMA synchronous = NORMAL", &why);
        if (ready && userVersion == 0) {
            qint64 tableCount = 0;
            {
                SqlStatement tables;
                ready = tables.prepare(m_connection, "SELECT count(*) FROM sqlite_schema", &why)
                    && tables.step() == SqlStatement::Step::Row;
                tableCount = ready ? tables.integer(0) : 0;
            }
            if (ready && tableCount > 0) {
                setError(error, tr("%1 is not a Moriva database.").arg(path));
                close();
                return false;
            }
            ready = ready && createSchema(&why);
        } else if (ready && userVersion < kSchemaVersion) {
            ready = migrate(userVersion, &why);
        }
    } else if (ready && userVersion == 0) {
        setError(error, tr("%1 is not a Moriva database.").arg(path));
        close();
        return false;
    }
    ready = ready && prepareStatements(&why);
    if (!ready) {
        setError(error, tr("%1 cannot be opened: %2").arg(path, why));
        close();
        return false;
    }
    return true;
}

bool LedgerDatabase::create(const QString &path, QString *error)
{
    const QString building = path + QStringLiteral(".new");
    QFile::remove(building);
    QFile::remove(building + QStringLiteral("-journal"));
    LedgerDatabase made;
    if (!DataFolder::createPrivateFile(building, error)
        || !made.open(building, SqlConnection::Access::ReadWrite, error))
        return false;
    made.close();
    if (::rename(QFile::encodeName(building).constData(), QFile::encodeName(path).constData()) != 0) {
        setError(error, tr("%1 cannot be made: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        QFile::remove(building);
        return false;
    }
    DataFolder::syncFolder(QFileInfo(path).absolutePath());
    return true;
}

void LedgerDatabase::close()
{
    delete m_statements;
    m_statements = nullptr;
    m_connection.close();
    m_path.clear();
    m_changed = false; // the next connection takes its own backup before its first change
}

bool LedgerDatabase::createSchema(QString *error)
{
    SqlTransaction transaction(m_connection);
    return transaction.isActive() && m_connection.exec(kSchema, error) && transaction.commit(error);
}

bool LedgerDatabase::migrate(int from, QString *error)
{
    // Version 1 is the first; later versions add their steps here, one function each.
    setError(error, tr("Schema version %1 cannot be brought up to date.").arg(from));
    return false;
}

bool LedgerDatabase::prepareStatements(QString *error)
{
    auto *s = new Statements;
    m_statements = s;
    const QByteArray byId = QByteArray("SELECT ") + EntryRow::kColumns + " FROM entries WHERE id = ?1";
    const QByteArray ofDay = QByteArray("SELECT ") + EntryRow::kColumns
        + " FROM entries WHERE account = ?1 AND day = ?2";
    bool ok = s->byId.prepare(m_connection, byId.constData(), error)
        && s->count.prepare(m_connection, "SELECT count(*) FROM entries WHERE account = ?1", error)
        && s->ofDay.prepare(m_connection, ofDay.constData(), error)
        && s->nextDay.prepare(m_connection,
                              "SELECT day FROM entries WHERE account = ?1 AND day >= ?2 "
                              "ORDER BY day LIMIT 1",
                              error);
    if (ok && !m_readOnly) {
        ok = s->insert.prepare(m_connection,
                               "INSERT INTO entries (id, account, day, time, order_number, "
                               "summary, bank_summary, paid_out, paid_in, balance, note, marked, "
                               "kind, search_text, extra) VALUES "
                               "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15)",
                               error)
            && s->insertBatch.prepare(m_connection, batchInsertSql().constData(), error)
            && s->remove.prepare(m_connection, "DELETE FROM entries WHERE id = ?1", error)
            && s->setMarked.prepare(m_connection, "UPDATE entries SET marked = ?2 WHERE id = ?1",
                                    error)
            && s->setSummary.prepare(m_connection,
                                     "UPDATE entries SET summary = ?2, bank_summary = "
                                     "nullif(coalesce(bank_summary, summary), ?2), "
                                     "search_text = ?3 WHERE id = ?1",
                                     error)
            && s->setNote.prepare(m_connection,
                                  "UPDATE entries SET note = ?2, search_text = ?3 WHERE id = ?1",
                                  error);
    }
    return ok;
}

// ---------------------------------------------------------------- reads

qsizetype LedgerDatabase::count(Bank bank) const
{
    if (!m_statements)
        return 0;
    SqlStatement &s = m_statements->count;
    s.bind(1, qint64(bank));
    const qsizetype n = s.step() == SqlStatement::Step::Row ? qsizetype(s.integer(0)) : 0;
    s.reset();
    return n;
}

std::optional<LedgerEntry> LedgerDatabase::entry(qint64 id) const
{
    if (!m_statements)
        return std::nullopt;
    SqlStatement &s = m_statements->byId;
    s.bind(1, id);
    std::optional<LedgerEntry> found;
    if (s.step() == SqlStatement::Step::Row)
        found = EntryRow::read(s);
    s.reset();
    return found;
}

QList<LedgerEntry> LedgerDatabase::entries(const QList<qint64> &ids) const
{
    QList<LedgerEntry> found;
    found.reserve(ids.size());
    for (qint64 id : ids) {
        if (std::optional<LedgerEntry> e = entry(id))
            found.append(std::move(*e));
    }
    return found;
}

QList<qint64> LedgerDatabase::entryIds(Bank bank, const EntryFilter &filter,
                                       Qt::SortOrder order) const
{
    QList<qint64> ids;
    if (findsNothing(filter))
        return ids;
    SqlStatement s;
    if (!isOpen()
        || !s.prepare(m_connection, selectSql("id, day, time, order_number", filter, order).constData()))
        return ids;
    bindFilter(s, bank, filter);
    const auto append = [&ids](const qint64 &id) {
        ids.append(id);
        return true;
    };
    MomentRuns<qint64, decltype(append)> runs(order, append);
    while (s.step() == SqlStatement::Step::Row)
        runs.add(s.integer(1), s.isNull(2) ? -1 : s.integer(2), int(s.integer(3)), s.integer(0),
                 s.integer(0));
    runs.flush();
    return ids;
}

QHash<qint64, QVariant> LedgerDatabase::fieldValues(Bank bank, const EntryFilter &filter,
                                                    EntryField field) const
{
    QHash<qint64, QVariant> values;
    if (findsNothing(filter))
        return values;
    static const char *const columns[] = {"id, time", "id, summary", "id, paid_out",
                                          "id, paid_in", "id, balance", "id, note"};
    SqlStatement s;
    if (!isOpen()
        || !s.prepare(m_connection,
                      selectSql(columns[int(field)], filter, Qt::AscendingOrder, false).constData()))
        return values;
    bindFilter(s, bank, filter);
    const bool text = field == EntryField::Summary || field == EntryField::Details;
    while (s.step() == SqlStatement::Step::Row) {
        values.insert(s.integer(0), text ? QVariant(s.text(1))
                                         : QVariant(s.isNull(1) ? qint64(-1) : s.integer(1)));
    }
    return values;
}

bool LedgerDatabase::forEachEntry(Bank bank, const EntryFilter &filter, Qt::SortOrder order,
                                  const std::function<bool(const LedgerEntry &)> &visit,
                                  QString *error) const
{
    SqlStatement s;
    if (!isOpen()) {
        setError(error, tr("The ledger database is not open."));
        return false;
    }
    if (findsNothing(filter))
        return true;
    if (!s.prepare(m_connection, selectSql(EntryRow::kColumns, filter, order).constData(), error))
        return false;
    bindFilter(s, bank, filter);
    MomentRuns<LedgerEntry, std::function<bool(const LedgerEntry &)>> runs(order, visit);
    for (;;) {
        switch (s.step()) {
        case SqlStatement::Step::Row: {
            LedgerEntry e = EntryRow::read(s);
            const qint64 day = s.integer(1), time = s.isNull(2) ? -1 : s.integer(2);
            if (!runs.add(day, time, e.orderNumber(), e.id(), std::move(e)))
                return true;
            break;
        }
        case SqlStatement::Step::Done:
            runs.flush();
            return true;
        case SqlStatement::Step::Error:
            setError(error, s.error());
            return false;
        }
    }
}

LedgerDatabase::Sums LedgerDatabase::sums(Bank bank, const EntryFilter &filter) const
{
    Sums sums;
    if (findsNothing(filter))
        return sums;
    SqlStatement s;
    const QByteArray sql = selectSql("count(*), sum(paid_out), sum(paid_in)", filter,
                                     Qt::AscendingOrder, false);
    if (!isOpen() || !s.prepare(m_connection, sql.constData()))
        return sums;
    bindFilter(s, bank, filter);
    if (s.step() == SqlStatement::Step::Row) {
        sums.count = qsizetype(s.integer(0));
        sums.paidOut = s.integer(1);
        sums.paidIn = s.integer(2);
    }
    return sums;
}

QList<EntryAmounts> LedgerDatabase::amounts(Bank bank, Kinds kinds, QString *error) const
{
    QList<EntryAmounts> all;
    const bool withKinds = kinds == Kinds::Read;
    SqlStatement s;
    if (!isOpen()) {
        setError(error, tr("The ledger database is not open."));
        return all;
    }
    // The table in the order it lies, which is quicker than through the index; imports mostly
    // store entries in date order, so the sort below rarely has work to do.
    if (!s.prepare(m_connection,
                   "SELECT id, day, ifnull(time, -1), order_number, paid_out, paid_in, balance, "
                   "kind FROM entries NOT INDEXED WHERE account = ?1",
                   error))
        return all;
    s.bind(1, qint64(bank));
    for (;;) {
        const SqlStatement::Step step = s.step();
        if (step == SqlStatement::Step::Error) {
            setError(error, s.error());
            return {};
        }
        if (step == SqlStatement::Step::Done)
            break;
        EntryAmounts &a = all.emplace_back();
        a.id = s.integer(0);
        a.day = s.integer(1);
        a.time = s.integer(2);
        a.orderNumber = int(s.integer(3));
        a.payment = s.integer(4);
        a.deposit = s.integer(5);
        a.balance = s.integer(6);
        if (withKinds)
            a.summaryKind = int(s.integer(7));
    }
    const auto before = [](const EntryAmounts &x, const EntryAmounts &y) {
        if (x.day != y.day)
            return x.day < y.day;
        if (x.time != y.time)
            return x.time < y.time;
        if (x.orderNumber != y.orderNumber)
            return orderTextLess(x.orderNumber, y.orderNumber);
        return x.id < y.id;
    };
    if (!std::is_sorted(all.cbegin(), all.cend(), before))
        std::sort(all.begin(), all.end(), before);
    return all;
}

QList<int> LedgerDatabase::months(Bank bank) const
{
    // One index seek a month rather than a walk over every entry.
    QList<int> months;
    if (!m_statements)
        return months;
    SqlStatement &s = m_statements->nextDay;
    qint64 from = std::numeric_limits<qint64>::min();
    for (;;) {
        s.bind(1, qint64(bank));
        s.bind(2, from);
        if (s.step() != SqlStatement::Step::Row)
            break;
        const qint64 day = s.integer(0);
        s.reset();
        const qint64 month = day >= 0 ? day / 100 : -((-day + 99) / 100);
        months.append(int(month));
        from = (month + 1) * 100;
    }
    s.reset();
    return months;
}

QString LedgerDatabase::duplicateKey(const LedgerEntry &e)
{
    return e.date() + u'\x1f' + e.time() + u'\x1f' + e.importedSummary() + u'\x1f'
        + QString::number(e.payment()) + u'\x1f' + QString::number(e.deposit()) + u'\x1f'
        + QString::number(e.balance());
}

QHash<QString, int> LedgerDatabase::duplicateCounts(Bank bank, qint64 day) const
{
    QHash<QString, int> counts;
    if (!m_statements)
        return counts;
    SqlStatement &s = m_statements->ofDay;
    s.bind(1, qint64(bank));
    s.bind(2, day);
    while (s.step() == SqlStatement::Step::Row)
        ++counts[duplicateKey(EntryRow::read(s))];
    s.reset();
    return counts;
}

// ---------------------------------------------------------------- changes

bool LedgerDatabase::mayChange(QString *error)
{
    if (!m_statements || m_readOnly) {
        setError(error, tr("The ledger database is not open for changes."));
        return false;
    }
    if (!m_changed && m_beforeFirstChange) {
        QString why;
        if (!m_beforeFirstChange(&why)) {
            setError(error, tr("No backup of the ledger could be made, so nothing was changed: %1")
                                .arg(why));
            return false;
        }
    }
    m_changed = true;
    return true;
}

bool LedgerDatabase::insert(Bank bank, LedgerEntry &entry, bool keepId, QString *error)
{
    SqlStatement &s = m_statements->insert;
    EntryRow::bind(s, 0, int(bank), entry, keepId);
    if (!s.run(error))
        return false;
    if (!keepId)
        entry.setId(m_connection.lastInsertId());
    return true;
}

bool LedgerDatabase::insertBatch(Bank bank, QList<LedgerEntry> &entries, QString *error)
{
    Q_ASSERT(entries.size() == kBatchRows);
    SqlStatement &s = m_statements->insertBatch;
    for (int row = 0; row < kBatchRows; ++row)
        EntryRow::bind(s, row, int(bank), entries.at(row), false);
    if (!s.run(error))
        return false;
    // The rows took the ids after the largest, one after another.
    const qint64 last = m_connection.lastInsertId();
    for (int row = 0; row < kBatchRows; ++row)
        entries[row].setId(last - kBatchRows + 1 + row);
    return true;
}

namespace {

// A transaction of its own, unless the caller has one open already (moving archives in).
struct OwnTransaction {
    explicit OwnTransaction(SqlConnection &connection)
    {
        if (sqlite3_get_autocommit(connection.handle()))
            transaction.emplace(connection);
    }
    bool isActive() const { return !transaction || transaction->isActive(); }
    QString error() const { return transaction ? transaction->error() : QString(); }
    bool commit(QString *error) { return !transaction || transaction->commit(error); }
    std::optional<SqlTransaction> transaction;
};

} // namespace

bool LedgerDatabase::changeInTransaction(QString *error, const std::function<bool()> &change)
{
    if (!mayChange(error))
        return false;
    OwnTransaction transaction(m_connection);
    if (!transaction.isActive()) {
        setError(error, transaction.error());
        return false;
    }
    return change() && transaction.commit(error);
}

bool LedgerDatabase::insertEntries(Bank bank, QList<LedgerEntry> &entries, QString *error)
{
    return changeInTransaction(error, [&] {
        return std::all_of(entries.begin(), entries.end(),
                           [&](LedgerEntry &e) { return insert(bank, e, false, error); });
    });
}

bool LedgerDatabase::putBack(const QList<LedgerEntry> &entries, QString *error)
{
    return changeInTransaction(error, [&] {
        return std::all_of(entries.cbegin(), entries.cend(), [&](LedgerEntry e) {
            return insert(e.account(), e, true, error);
        });
    });
}

bool LedgerDatabase::removeEntries(const QList<qint64> &ids, QString *error)
{
    return changeInTransaction(error, [&] {
        return std::all_of(ids.cbegin(), ids.cend(), [&](qint64 id) {
            m_statements->remove.bind(1, id);
            return m_statements->remove.run(error);
        });
    });
}

bool LedgerDatabase::setMarked(qint64 id, int marked, QString *error)
{
    if (!mayChange(error))
        return false;
    m_statements->setMarked.bind(1, id);
    m_statements->setMarked.bind(2, qint64(marked));
    return m_statements->setMarked.run(error);
}

bool LedgerDatabase::updateText(SqlStatement &statement, qint64 id, const QString &text,
                                QString *error)
{
    if (!mayChange(error))
        return false;
    std::optional<LedgerEntry> e = entry(id);
    if (!e) {
        setError(error, tr("The entry is no longer in the ledger."));
        return false;
    }
    if (&statement == &m_statements->setSummary)
        e->setSummary(text);
    else
        e->setDetails(text);
    statement.bind(1, id);
    statement.bind(2, &statement == &m_statements->setNote && text.isEmpty() ? QString() : text);
    statement.bind(3, EntryRow::searchTextOf(*e));
    return statement.run(error);
}

bool LedgerDatabase::setSummary(qint64 id, const QString &summary, QString *error)
{
    return updateText(m_statements->setSummary, id, summary.isNull() ? QStringLiteral("") : summary,
                      error);
}

bool LedgerDatabase::setDetails(qint64 id, const QString &details, QString *error)
{
    return updateText(m_statements->setNote, id, details, error);
}

// ---------------------------------------------------------------- import

LedgerDatabase::Import::Import(LedgerDatabase &database, Bank bank)
    : m_database(database)
    , m_bank(bank)
{
    // The backup before a first change is taken before the transaction begins.
    if (!database.mayChange(&m_error))
        return;
    m_transaction.emplace(database.m_connection);
    if (!m_transaction->isActive())
        m_error = m_transaction->error();
    else
        m_empty = database.count(bank) == 0;
}

LedgerDatabase::Import::~Import() = default;

bool LedgerDatabase::Import::isDuplicateElseAdd(LedgerEntry &entry)
{
    if (!m_error.isEmpty())
        return false;
    if (!m_empty) {
        const qint64 day = EntryRow::dayNumber(entry.year(), entry.month(), entry.day());
        auto owed = m_remaining.find(day);
        if (owed == m_remaining.end())
            owed = m_remaining.insert(day, m_database.duplicateCounts(m_bank, day));
        if (!owed->isEmpty()) {
            auto count = owed->find(duplicateKey(entry));
            if (count != owed->end() && *count > 0) {
                --*count;
                return true;
            }
        }
    }
    m_pending.append(entry);
    if (m_pending.size() == kBatchRows)
        flush();
    return false;
}

bool LedgerDatabase::Import::flush()
{
    if (!m_error.isEmpty())
        return false;
    const bool stored = m_pending.size() == kBatchRows
        ? m_database.insertBatch(m_bank, m_pending, &m_error)
        : std::all_of(m_pending.begin(), m_pending.end(), [this](LedgerEntry &e) {
              return m_database.insert(m_bank, e, false, &m_error);
          });
    if (stored) {
        for (const LedgerEntry &e : std::as_const(m_pending))
            m_added.append(e.id());
    }
    m_pending.clear();
    return stored;
}

bool LedgerDatabase::Import::commit(QString *error)
{
    if (m_error.isEmpty())
        flush();
    if (!m_error.isEmpty()) {
        setError(error, m_error);
        return false;
    }
    return m_transaction->commit(error);
}

// ---------------------------------------------------------------- check

QStringList LedgerDatabase::check() const
{
    QStringList problems;
    if (!isOpen())
        return {tr("The ledger database is not open.")};
    SqlStatement s;
    if (!s.prepare(m_connection, "PRAGMA integrity_check")) {
        problems.append(m_connection.lastError());
        return problems;
    }
    while (s.step() == SqlStatement::Step::Row) {
        const QString line = s.text(0);
        if (line != u"ok")
            problems.append(line);
    }
    SqlStatement keys;
    if (keys.prepare(m_connection, "PRAGMA foreign_key_check")
        && keys.step() == SqlStatement::Step::Row)
        problems.append(tr("An entry belongs to no account."));
    SqlStatement dates;
    if (dates.prepare(m_connection,
                      "SELECT id FROM entries WHERE day % 100 NOT BETWEEN 1 AND 31 "
                      "OR day / 100 % 100 NOT BETWEEN 1 AND 12 LIMIT 1")
        && dates.step() == SqlStatement::Step::Row)
        problems.append(tr("Entry %1 has no calendar date.").arg(dates.integer(0)));
    return problems;
}
