#include "TestSupport.h"
#include "import/StatementImporter.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Two real, identical operations at one shop on one day give the same line twice.
const QString A = jnbLine(2026, 3, 5, 12, 0, 0, 0, u"コンビニ"_s, 300, 0, 5000);
const QString B = jnbLine(2026, 3, 5, 12, 0, 0, 0, u"コンビニ"_s, 500, 0, 5000);
const QString X = jnbLine(2026, 2, 1, 9, 0, 0, 7, u"ＡＴＭ　髙島屋①"_s, 1000, 0, 6000);
const QString C = jnbLine(2026, 1, 1, 9, 0, 0, 1, u"家賃"_s, 80000, 0, 7000);

static QString jnb(const QStringList &lines, const QString &eol = u"\r\n"_s)
{
    return u"操作日(年),操作日(月),摘要"_s + eol + lines.join(eol) + eol;
}

class StatementImporterTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LedgerDatabase m_database;

    QList<int> importText(const QString &text, Bank bank = Bank::Jnb)
    {
        QString error;
        const StatementImporter::Counts c = importTestStatement(m_database, bank, text, &error);
        if (!error.isEmpty())
            qWarning("%s", qPrintable(error));
        return {c.added, c.duplicates, c.rejected};
    }

private slots:
    void init()
    {
        QString error;
        QVERIFY2(openTestDatabase(m_database, m_dir.filePath(u"db"_s), &error), qPrintable(error));
    }
    void cleanup() { m_database.close(); }

    // The k-th line of a key is a duplicate only if the ledger held k such entries before.
    // Headers and blank lines count as nothing, lines of no operation as rejected.
    void import_data()
    {
        QTest::addColumn<QString>("before"); // imported first
        QTest::addColumn<int>("then"); // 1: the first entry removed; -1: the database reopened
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("counts"); // added, duplicates, rejected
        const QString none;
        QTest::newRow("ebank") << none << 0
                               << u"\"取引日\",\"残高(円)\"\r\n\r\n \u3000\r\n\"20261105\",\"-15\",\"9\",\"\"\n"
                                  "\"2026110\",\"-1\",\"1\",\"\"\n\"20261106\",\"2\",\"11\",x"_s << QList{2, 0, 1};
        QTest::newRow("identical lines both stay") << none << 0 << jnb({A, A, B}) << QList{3, 0, 0};
        QTest::newRow("a re-import adds nothing") << jnb({A, A, B}) << 0 << jnb({A, B, A}) << QList{0, 3, 0};
        QTest::newRow("a third one is new") << jnb({A, A, X}) << 0 << jnb({A, A, A}) << QList{1, 2, 0};
        QTest::newRow("fewer in the file") << jnb({A, A}) << 0 << jnb({A}) << QList{0, 1, 0};
        // The stored entries of a day are counted once, before the file's own lines of it.
        QTest::newRow("a day met twice in the file") << jnb({A, X}) << 0 << jnb({A, X, A, C})
                                                     << QList{2, 2, 0};
        QTest::newRow("a removed entry is new") << jnb({A, A, B}) << 1 << jnb({A, A, B}) << QList{1, 2, 0};
        QTest::newRow("known after a reopen, line ends aside")
            << jnb({A, A, X}) << -1 << jnb({X, A, A}, u"\r"_s) << QList{0, 3, 0};
    }
    void import()
    {
        QFETCH(QString, before); QFETCH(int, then); QFETCH(QString, file);
        QFETCH(QList<int>, counts);
        importText(before);
        const QList<qint64> ids = m_database.entryIds(Bank::Jnb, EntryFilter::all(), Qt::AscendingOrder);
        if (then > 0)
            QVERIFY(m_database.removeEntries({ids.first()}, nullptr));
        const qsizetype held = m_database.count(Bank::Jnb);
        if (then < 0) {
            m_database.close();
            const QString path = m_dir.filePath(u"db/"_s + LedgerDatabase::fileName());
            QVERIFY(m_database.open(path, SqlConnection::Access::ReadWrite, nullptr));
        }
        const Bank bank = file.startsWith(u'"') ? Bank::Ebank : Bank::Jnb;
        QCOMPARE(importText(file, bank), counts);
        QCOMPARE(m_database.count(bank), (bank == Bank::Jnb ? held : 0) + counts.first());
    }

    // Each rejected line is told by its number (the header is line 1), its start and why. Without an
    // import the lines are only read.
    void rejectedLinesAreTold_data()
    {
        QTest::addColumn<bool>("intoDatabase");
        QTest::newRow("imported") << true;
        QTest::newRow("only read") << false;
    }
    void rejectedLinesAreTold()
    {
        QFETCH(bool, intoDatabase);
        const QString longLine = u"2026,2,30,9,0,0,1,"_s + QString(60, u'x') + u",1,0,1"_s;
        const QString text = jnb({A, longLine, u"\uFFFD,1"_s, X, u",,,,,,,,,,"_s});
        LedgerDatabase::Import import(m_database, Bank::Jnb);
        const StatementImporter::Counts c
            = StatementImporter(intoDatabase ? &import : nullptr).importText(text, Bank::Jnb);
        QVERIFY(import.commit(nullptr));
        QCOMPARE(c.added, intoDatabase ? 2 : 0);
        QCOMPARE(m_database.count(Bank::Jnb), c.added);
        QStringList told;
        for (const RejectedLine &line : c.rejectedLines)
            told << u"%1: %2 [%3]"_s.arg(line.number).arg(line.reason, line.text);
        QCOMPARE(told, (QStringList{u"3: 2026/02/30 is not a calendar date ["_s + longLine.left(60) + u"…]"_s,
                                   u"4: the line holds bytes that cannot be read as text [\uFFFD,1]"_s,
                                   u"6: the line has no date [,,,,,,,,,,]"_s}));
    }

    // What the user changes in an entry never makes its statement line new again: the duplicate
    // test compares the summary as the bank gave it, also of an entry deleted and put back. (A
    // single edit, a note and a mark are ControllerTest::stepsUndoAndRedo's, whose statement
    // comes in again after each step.)
    void editsKeepLinesKnown()
    {
        importText(jnb({A, X}));
        const QList<qint64> march = m_database.entryIds(Bank::Jnb, EntryFilter::ofMonth(2026, 3),
                                                        Qt::AscendingOrder);
        QCOMPARE(march.size(), 1);
        QVERIFY(m_database.setSummary(march.first(), u"lunch"_s, nullptr));
        const std::optional<LedgerEntry> e = m_database.entry(march.first());
        QVERIFY(e && m_database.removeEntries({e->id()}, nullptr) && m_database.putBack({*e}, nullptr));
        QCOMPARE(importText(jnb({X, A, A})), (QList{1, 2, 0}));
    }
};

QTEST_GUILESS_MAIN(StatementImporterTest)
#include "StatementImporterTest.moc"
