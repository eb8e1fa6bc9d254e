#include "TestSupport.h"
#include "import/StatementImporter.h"
#include "ledger/Ledger.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Two real, identical operations at one shop on one day give the same line twice.
const QString A = jnbLine(2026, 3, 5, 12, 0, 0, 0, u"コンビニ"_s, 300, 0, 5000);
const QString B = jnbLine(2026, 3, 5, 12, 0, 0, 0, u"コンビニ"_s, 500, 0, 5000);
const QString X = jnbLine(2026, 2, 1, 9, 0, 0, 7, u"ＡＴＭ　髙島屋①"_s, 1000, 0, 6000);
const QString C = jnbLine(2026, 1, 1, 9, 0, 0, 1, u"家賃"_s, 80000, 0, 7000);
const QString D = jnbLine(2026, 4, 1, 9, 0, 0, 1, u"給与"_s, 0, 90000, 97000);

static QString jnb(const QStringList &lines, const QString &eol = u"\r\n"_s)
{
    return u"操作日(年),操作日(月),摘要"_s + eol + lines.join(eol) + eol;
}

class StatementImporterTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Ledger m_ledger;

    QList<int> importText(const QString &text, Bank bank = Bank::Jnb)
    {
        const StatementImporter::Counts c = StatementImporter(m_ledger).importText(text, bank);
        return {c.added, c.duplicates, c.rejected};
    }

private slots:
    void init() { QFile::remove(m_dir.filePath(DataFolder::archiveFileName(Bank::Jnb))); }

    // The k-th line of a key is a duplicate only if the ledger held k such entries before.
    // Headers and blank lines count as nothing, lines of no operation as rejected.
    void import_data()
    {
        QTest::addColumn<QString>("before"); // imported first
        QTest::addColumn<int>("then"); // that many entries removed; -1: the ledger saved, read back
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("counts"); // added, duplicates, rejected
        const QString none;
        QTest::newRow("ebank") << none << 0
                               << u"\"取引日\",\"残高(円)\"\r\n\r\n \u3000\r\n\"20261105\",\"-15\",\"9\"\n"
                                  "\"2026110\",\"-1\",\"1\"\n\"20261106\",\"2\",\"11\""_s << QList{2, 0, 1};
        QTest::newRow("identical lines both stay") << none << 0 << jnb({A, A, B}) << QList{3, 0, 0};
        QTest::newRow("also among others") << jnb({X}) << 0 << jnb({A, A, B}) << QList{3, 0, 0};
        QTest::newRow("a re-import adds nothing") << jnb({A, A, B}) << 0 << jnb({A, B, A}) << QList{0, 3, 0};
        QTest::newRow("a third one is new") << jnb({A, A, X}) << 0 << jnb({A, A, A}) << QList{1, 2, 0};
        QTest::newRow("fewer in the file") << jnb({A, A}) << 0 << jnb({A}) << QList{0, 1, 0};
        QTest::newRow("a removed entry is new") << jnb({A, A, B}) << 1 << jnb({A, A, B}) << QList{1, 2, 0};
        QTest::newRow("an emptied ledger") << jnb({A, A}) << 2 << jnb({A, A}) << QList{2, 0, 0};
        QTest::newRow("known after a save, line ends aside")
            << jnb({A, A, X}) << -1 << jnb({X, A, A}, u"\r"_s) << QList{0, 3, 0};
    }
    // Each rejected line is told by its number (the header is line 1) and why.
    void rejectedLinesAreTold()
    {
        m_ledger.open(m_dir.path(), Bank::Jnb);
        const QString text = jnb({A, u"2026,2,30,9,0,0,1,x,1,0,1"_s, u"\uFFFD,1"_s, X, u",,,"_s});
        const StatementImporter::Counts c = StatementImporter(m_ledger).importText(text, Bank::Jnb);
        QCOMPARE(c.added, 2);
        QCOMPARE(c.rejected, 3);
        QStringList told;
        for (const RejectedLine &line : c.rejectedLines)
            told << u"%1: %2"_s.arg(line.number).arg(line.reason);
        QCOMPARE(told, (QStringList{u"3: 2026/02/30 is not a calendar date"_s,
                                   u"4: the line holds bytes that cannot be read as text"_s,
                                   u"6: the line has no date"_s}));
    }

    // The ledger's entries are counted a date at a time, when a line of their date comes: a
    // date met in several places of an unsorted ledger, an entry that leaves before its date
    // was counted.
    void entriesAreCountedByDateWhenFirstMet()
    {
        m_ledger.open(m_dir.path(), Bank::Jnb);
        importText(jnb({X, A, C, A}));
        QCOMPARE(importText(jnb({D})), (QList{1, 0, 0}));
        m_ledger.removeAt(1); // one of the two A
        QCOMPARE(importText(jnb({A, A, C, X})), (QList{1, 3, 0}));
        QCOMPARE(importText(jnb({A, A, A, D})), (QList{1, 3, 0}));
    }

    void import()
    {
        QFETCH(QString, before); QFETCH(int, then); QFETCH(QString, file);
        QFETCH(QList<int>, counts);
        m_ledger.open(m_dir.path(), Bank::Jnb);
        importText(before);
        for (int i = 0; i < then; ++i)
            m_ledger.removeAt(0);
        const qsizetype held = m_ledger.size();
        QVERIFY(then >= 0 || m_ledger.save(nullptr));
        if (then < 0)
            m_ledger.open(m_dir.path(), Bank::Jnb);
        QCOMPARE(m_ledger.size(), held);
        QCOMPARE(importText(file, file.startsWith(u'"') ? Bank::Ebank : Bank::Jnb), counts);
        QCOMPARE(m_ledger.size(), held + counts.first());
    }
};

QTEST_GUILESS_MAIN(StatementImporterTest)
#include "StatementImporterTest.moc"
