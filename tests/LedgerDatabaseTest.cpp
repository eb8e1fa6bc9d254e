#include "TestSupport.h"
#include "ledger/LedgerDatabase.h"

#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

// What tells entries apart that sameRecord cannot: null texts from empty ones (it does tell
// pictures apart so).
QString nullness(const LedgerEntry &e)
{
    QString out;
    for (const QString &text : {e.date(), e.time(), e.summary(), e.importedSummary(), e.paymentPrice()})
        out += text.isNull() ? u'n' : text.isEmpty() ? u'e' : u't';
    return out;
}

// Runs SQL on the file through a connection of its own, as another program would.
bool runSql(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    const bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK
        && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

} // namespace

class LedgerDatabaseTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    LedgerDatabase m_db;

    void store(QList<LedgerEntry> entries, Bank bank = Bank::Jnb)
    {
        QString error;
        QVERIFY2(m_db.insertEntries(bank, entries, &error), qPrintable(error));
    }
    QStringList summaries(const EntryFilter &filter, Qt::SortOrder order, Bank bank = Bank::Jnb)
    {
        QStringList out;
        for (const LedgerEntry &e : m_db.entries(m_db.entryIds(bank, filter, order)))
            out << e.summary();
        return out;
    }

private slots:
    void init()
    {
        m_path = m_dir.filePath(u"Moriva-%1.sqlite"_s.arg(QLatin1StringView(QTest::currentTestFunction())));
        QFile::remove(m_path);
        QString error;
        QVERIFY2(m_db.open(m_path, SqlConnection::Access::ReadWrite, &error), qPrintable(error));
    }
    void cleanup()
    {
        m_db.close();
        m_db.setBeforeFirstChange({});
    }

    // Every field an entry carries comes back as it went in, read through another connection:
    // the rare ones, numbers at their limits, texts of their own, null apart from empty.
    void everyFieldComesBack()
    {
        QList<LedgerEntry> sample = version3Ledger();
        sample[0].setDay(6); // under a date text made of the numbers: the text stays
        sample[3].setDate(u"2026-02-01"_s);
        LedgerEntry noTime = entryAt(2026, 2, 2, 0, 0, 0, 0, u"AMAZON"_s, 1, 0, 5);
        noTime.setTime(QString());
        noTime.setImportedSummary(QString()); // as older archives have it
        LedgerEntry extremes = entryAt(2026, 2, 3, 0, 0, 0, -5, u"x"_s, std::numeric_limits<int>::max(),
                                       std::numeric_limits<int>::min(), -1);
        extremes.setSummary(u""_s); // edited to nothing
        extremes.setSummaryKind(99);
        extremes.setTime(u""_s);
        extremes.setPaymentPrice(u""_s);
        sample << noTime << extremes;
        store(sample);
        LedgerDatabase other;
        QVERIFY(other.open(m_path, SqlConnection::Access::ReadOnly, nullptr));
        const QList<LedgerEntry> read = other.entries(other.entryIds(Bank::Jnb, EntryFilter::all(),
                                                                      Qt::SortOrder(-1)));
        QCOMPARE(read.size(), sample.size());
        for (qsizetype i = 0; i < read.size(); ++i) {
            QVERIFY2(read.at(i).sameRecord(sample.at(i)), qPrintable(QString::number(i)));
            QCOMPARE(nullness(read.at(i)), nullness(sample.at(i)));
            QCOMPARE(read.at(i).isSummaryEdited(), sample.at(i).isSummaryEdited());
        }
    }

    // The lists' order: by day, time and order number compared as text, the newest day first
    // when descending but order numbers ascending either way; ties keep the stored order.
    void order_data()
    {
        QTest::addColumn<int>("order"); QTest::addColumn<QStringList>("expected");
        QTest::newRow("ascending") << int(Qt::AscendingOrder)
                                   << QStringList{u"a1"_s, u"b10"_s, u"b9"_s, u"c-first"_s,
                                                  u"c-second"_s, u"d"_s};
        QTest::newRow("descending") << int(Qt::DescendingOrder)
                                    << QStringList{u"d"_s, u"c-first"_s, u"c-second"_s,
                                                   u"b10"_s, u"b9"_s, u"a1"_s};
    }
    void order()
    {
        QFETCH(int, order); QFETCH(QStringList, expected);
        store({entryAt(2026, 3, 6, 12, 0, 0, 5, u"c-first"_s), entryAt(2026, 3, 5, 9, 0, 0, 9, u"b9"_s),
               entryAt(2026, 4, 1, 0, 0, 0, 1, u"d"_s), entryAt(2026, 3, 5, 9, 0, 0, 10, u"b10"_s),
               entryAt(2026, 3, 5, 8, 59, 59, 1, u"a1"_s),
               entryAt(2026, 3, 6, 12, 0, 0, 5, u"c-second"_s)});
        QCOMPARE(summaries(EntryFilter::all(), Qt::SortOrder(order)), expected);
    }

    void monthsAndFilters()
    {
        store({entryAt(2025, 12, 31, 0, 0, 0, 0, u"dec"_s), entryAt(2026, 3, 1, 0, 0, 0, 0, u"mar1"_s),
               entryAt(2026, 3, 31, 0, 0, 0, 0, u"mar31"_s), entryAt(2026, 4, 1, 0, 0, 0, 0, u"apr"_s)});
        store({entryAt(2026, 5, 1, 0, 0, 0, 0, u"other bank"_s)}, Bank::Ebank);
        QCOMPARE(m_db.months(Bank::Jnb), (QList<int>{202512, 202603, 202604}));
        QCOMPARE(summaries(EntryFilter::ofMonth(2026, 3), Qt::AscendingOrder),
                 (QStringList{u"mar1"_s, u"mar31"_s}));
    }

    // A keyword finds a text after NFKC normalisation and case folding of both, in the summary
    // or the note.
    void search_data()
    {
        QTest::addColumn<QString>("keyword"); QTest::addColumn<QStringList>("expected");
        QTest::newRow("full-width finds half-width") << u"ローソン"_s << QStringList{u"ﾛｰｿﾝ 渋谷"_s};
        QTest::newRow("lower case finds upper case") << u"netflix"_s << QStringList{u"NETFLIX.COM"_s};
        QTest::newRow("full-width Latin") << u"ＮＥＴＦＬＩＸ"_s << QStringList{u"NETFLIX.COM"_s};
        QTest::newRow("the note") << u"家賃"_s << QStringList{u"振込 ヤマダ"_s};
        // The Gas entry's text is decomposed, as some tools write it.
        QTest::newRow("precomposed finds decomposed") << u"ガス"_s << QStringList{u"\u30AB\u3099ス代"_s};
        QTest::newRow("an empty keyword finds nothing") << QString() << QStringList{};
    }
    void search()
    {
        QFETCH(QString, keyword); QFETCH(QStringList, expected);
        LedgerEntry withNote = entryAt(2026, 3, 3, 0, 0, 0, 0, u"振込 ヤマダ"_s);
        withNote.setDetails(u"家賃"_s);
        store({entryAt(2026, 3, 1, 0, 0, 0, 0, u"ﾛｰｿﾝ 渋谷"_s), withNote,
               entryAt(2026, 3, 4, 0, 0, 0, 0, u"NETFLIX.COM"_s),
               entryAt(2026, 3, 5, 0, 0, 0, 0, u"\u30AB\u3099ス代"_s)});
        QCOMPARE(summaries(EntryFilter::matching(keyword), Qt::AscendingOrder), expected);
    }

    // An edit is found by the next search, and what it took out is not: the bank's text kept
    // beside an edited summary is not searched.
    void editsAreSearched()
    {
        store({entryAt(2026, 3, 1, 0, 0, 0, 0, u"ATM"_s)});
        const qint64 id = m_db.entryIds(Bank::Jnb, EntryFilter::all(), Qt::AscendingOrder).value(0);
        const auto hits = [this](const QString &keyword) {
            return m_db.entryIds(Bank::Jnb, EntryFilter::matching(keyword), Qt::AscendingOrder).size();
        };
        QVERIFY(m_db.setSummary(id, u"ｺﾝﾋﾞﾆ"_s, nullptr));
        QCOMPARE(hits(u"コンビニ"_s), 1);
        QCOMPARE(hits(u"ATM"_s), 0);
        QVERIFY(m_db.setDetails(id, u"Lunch"_s, nullptr));
        QCOMPARE(hits(u"lunch"_s) + hits(u"ATM"_s), 1);
    }

    // A file goes in whole or not at all: a line that fails to go in, or an import never
    // committed, leaves the ledger as it was, and its lines are new to the next import.
    void importIsAllOrNothing_data()
    {
        QTest::addColumn<bool>("commit");
        QTest::newRow("a later line refused") << true;
        QTest::newRow("never committed") << false;
    }
    void importIsAllOrNothing()
    {
        QFETCH(bool, commit);
        store({entryAt(2026, 3, 1, 0, 0, 0, 0, u"before"_s)});
        QVERIFY(runSql(m_path, "CREATE TRIGGER refuse BEFORE INSERT ON entries "
                               "WHEN NEW.summary = 'bad' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        // Lines enough for three batches, the refused one in the second.
        const int lines = 3 * LedgerDatabase::kBatchRows;
        const auto importAll = [this, lines](bool commit, QString *error) {
            LedgerDatabase::Import import(m_db, Bank::Jnb);
            int added = 0;
            for (int i = 0; i < lines; ++i) {
                LedgerEntry e = entryAt(2026, 3, 2, 0, 0, 0, i,
                                        i == LedgerDatabase::kBatchRows + 3 ? u"bad"_s : u"ok"_s);
                added += import.isDuplicateElseAdd(e) ? 0 : 1;
            }
            return commit && import.commit(error) ? added : 0;
        };
        QString error;
        QCOMPARE(importAll(commit, &error), 0);
        QVERIFY2(!commit || error.contains(u"refused"), qPrintable(error));
        QCOMPARE(m_db.count(Bank::Jnb), 1);
        LedgerDatabase other;
        QVERIFY(other.open(m_path, SqlConnection::Access::ReadOnly, nullptr));
        QCOMPARE(other.count(Bank::Jnb), 1);
        QVERIFY(runSql(m_path, "DROP TRIGGER refuse"));
        QCOMPARE(importAll(true, &error), lines);
        QCOMPARE(other.count(Bank::Jnb), 1 + lines);
    }

    // Readers see the last committed state at once, while a writer's import is under way.
    void readersDoNotWaitForWriters()
    {
        store({entryAt(2026, 3, 1, 0, 0, 0, 0, u"committed"_s)});
        LedgerDatabase::Import import(m_db, Bank::Jnb);
        LedgerEntry e = entryAt(2026, 3, 2, 0, 0, 0, 0, u"in flight"_s);
        import.isDuplicateElseAdd(e);
        LedgerDatabase reader;
        QString error;
        QVERIFY2(reader.open(m_path, SqlConnection::Access::ReadOnly, &error, 0), qPrintable(error));
        QCOMPARE(reader.count(Bank::Jnb), 1);
        QVERIFY(import.commit(nullptr));
        QCOMPARE(reader.count(Bank::Jnb), 2);
    }

    // The hook before the first change runs once, before anything is written, and can refuse.
    void beforeFirstChange()
    {
        int calls = 0;
        bool allow = false;
        m_db.setBeforeFirstChange([&](QString *error) {
            ++calls;
            *error = u"disk full"_s;
            return allow;
        });
        QString error;
        QList<LedgerEntry> entries{entryAt(2026, 3, 1, 0, 0, 0, 0, u"one"_s)};
        QVERIFY(!m_db.insertEntries(Bank::Jnb, entries, &error));
        QVERIFY2(error.contains(u"disk full"), qPrintable(error));
        QCOMPARE(m_db.count(Bank::Jnb), 0);
        allow = true;
        QVERIFY(m_db.insertEntries(Bank::Jnb, entries, &error));
        QVERIFY(m_db.setMarked(entries.at(0).id(), 1, &error));
        QCOMPARE(calls, 2);
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("setUp"); QTest::addColumn<QString>("message");
        QTest::newRow("newer schema") << QByteArray("PRAGMA user_version = 99") << u"newer Moriva"_s;
        QTest::newRow("another program's database")
            << QByteArray("CREATE TABLE notes(x)") << u"not a Moriva database"_s;
    }
    void refusedFiles()
    {
        QFETCH(QByteArray, setUp); QFETCH(QString, message);
        m_db.close();
        const QString path = m_dir.filePath(u"other.sqlite"_s);
        QFile::remove(path);
        QVERIFY(runSql(path, setUp.constData()));
        QString error;
        QVERIFY(!m_db.open(path, SqlConnection::Access::ReadWrite, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    // A new database is built beside its place and renamed there: ready for the ledger (WAL,
    // readable by its owner alone) with nothing left beside it, also over a build a kill cut short.
    void createdWhole()
    {
        const QString path = m_dir.filePath(u"new/Moriva.sqlite"_s);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(writeTestFile(path + u".new"_s, "half made"));
        QString error;
        QVERIFY2(LedgerDatabase::create(path, &error), qPrintable(error));
        QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList{u"Moriva.sqlite"_s});
        QCOMPARE(readTestFile(path).mid(18, 2), QByteArray("\x02\x02", 2));
        QCOMPARE(QFileInfo(path).permissions() & 0x0777, QFileDevice::ReadUser | QFileDevice::WriteUser);
    }

    void checkFindsDamage()
    {
        store({entryAt(2026, 3, 1, 0, 0, 0, 0, u"one"_s)});
        QVERIFY(runSql(m_path, "UPDATE entries SET day = 20261341"));
        QCOMPARE(m_db.check().size(), 1);
    }
};

QTEST_GUILESS_MAIN(LedgerDatabaseTest)
#include "LedgerDatabaseTest.moc"
