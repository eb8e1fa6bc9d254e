// The balance chain of a ledger, through real imports into a ledger database.

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A JNB line of 2026 at 09:00:<second>; the order number also names the entry.
QString jnb(int month, int day, int order, int payment, int deposit, int balance, int second = 0)
{
    return jnbLine(2026, month, day, 9, 0, second, order, u"op%1"_s.arg(order), payment, deposit,
                   balance);
}

// An eBANK line of March 2026: a signed amount.
QString ebank(int day, int amount, int balance, const QString &summary)
{
    return ebankLine(2026, 3, day, amount, balance, summary);
}

// Six JNB operations of March; removing the third and fourth (net -2,500円) leaves a gap.
const QStringList kMarch{jnb(3, 1, 1, 0, 10000, 10000), jnb(3, 2, 2, 1000, 0, 9000),
                         jnb(3, 3, 3, 3000, 0, 6000),   jnb(3, 4, 4, 0, 500, 6500),
                         jnb(3, 5, 5, 200, 0, 6300),    jnb(3, 6, 6, 0, 700, 7000)};

} // namespace

class BalanceChainTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Imports the JNB lines as a statement file, as a drop on the window does.
    ImportReport importFile(Controller &c, const QStringList &lines)
    {
        const QString path = m_dir.filePath(u"in/NBG.csv"_s);
        if (!writeTestFile(path, toCp932(lines.join(u"\r\n"_s))))
            return {};
        return c.importFile(path);
    }

private slots:
    void gapsAndStretches_data()
    {
        QTest::addColumn<QStringList>("files"); QTest::addColumn<bool>("newestFirst");
        QTest::addColumn<QList<qint64>>("differences");
        QTest::addColumn<QStringList>("stretches"); // "first-last"
        const QStringList gap{kMarch[0], kMarch[1], kMarch[4], kMarch[5]};
        QTest::newRow("continuous") << QStringList{kMarch.join(u'\n')} << false
                                    << QList<qint64>{} << QStringList{u"2026/03/01-2026/03/06"_s};
        QTest::newRow("two lines missing: their net")
            << QStringList{gap.join(u'\n')} << false << QList<qint64>{-2500}
            << QStringList{u"2026/03/01-2026/03/02"_s, u"2026/03/05-2026/03/06"_s};
        QTest::newRow("April's file imported before March's")
            << QStringList{jnb(4, 1, 7, 1000, 0, 6000), kMarch.join(u'\n')} << false
            << QList<qint64>{} << QStringList{u"2026/03/01-2026/04/01"_s};
        // The database lists one moment's order numbers as texts ("10", "11", "9").
        QTest::newRow("one second, orders 9, 10 and 11")
            << QStringList{QStringList{jnb(3, 1, 9, 0, 100, 100, 7), jnb(3, 1, 10, 30, 0, 70, 7),
                                       jnb(3, 1, 11, 0, 5, 75, 7)}.join(u'\n')}
            << false << QList<qint64>{} << QStringList{u"2026/03/01-2026/03/01"_s};
        // The first day listed oldest first, the second newest first, each direction a file.
        const QString day1 = QStringList{ebank(1, 5000, 5000, u"a"_s), ebank(1, -1000, 4000, u"b"_s),
                                         ebank(1, -500, 3500, u"c"_s)}.join(u'\n');
        const QString day2 = QStringList{ebank(2, 300, 3100, u"f"_s), ebank(2, -200, 2800, u"e"_s),
                                         ebank(2, -500, 3000, u"d"_s)}.join(u'\n');
        for (const bool newestFirst : {false, true}) {
            QTest::addRow("eBANK days either way round, %s", newestFirst ? "desc" : "asc")
                << QStringList{u"eBANK"_s + day1, u"eBANK"_s + day2} << newestFirst
                << QList<qint64>{} << QStringList{u"2026/03/01-2026/03/02"_s};
        }
        QTest::newRow("eBANK: a gap within a day stays a gap")
            << QStringList{u"eBANK"_s + day1 + u'\n' + ebank(1, -10, 1000, u"x"_s)} << false
            << QList<qint64>{-2490} << QStringList{u"2026/03/01-2026/03/01"_s, u"2026/03/01-2026/03/01"_s};
    }
    void gapsAndStretches()
    {
        QFETCH(QStringList, files); QFETCH(bool, newestFirst);
        QFETCH(QList<qint64>, differences); QFETCH(QStringList, stretches);
        LedgerDatabase database;
        QVERIFY(importTestFiles(database, m_dir.filePath(u"db"_s), files, newestFirst));
        const Bank bank = files.first().startsWith(u"eBANK") ? Bank::Ebank : Bank::Jnb;
        const BalanceChain chain = BalanceChain::check(database, bank);
        QList<qint64> found;
        for (const BalanceGap &gap : chain.gaps()) {
            found << gap.difference;
            // The gap's entries are the stored ones: their amounts give the balance expected.
            QCOMPARE(gap.expectedBalance, qint64(gap.after.balance()) - gap.before.payment() + gap.before.deposit());
            QCOMPARE(chain.gapBefore(gap.before.id()), std::optional<qint64>(gap.difference));
            QCOMPARE(chain.gapBefore(gap.after.id()), std::nullopt);
        }
        QCOMPARE(found, differences);
        QStringList spans;
        for (const BalanceStretch &s : chain.stretches())
            spans << s.firstDate + u'-' + s.lastDate;
        QCOMPARE(spans, stretches);

        // The same gaps from the amounts alone (moriva-cli's gaps).
        found.clear();
        for (const BalanceGap &gap : BalanceChain::check(database.amounts(bank)).gaps())
            found << gap.difference;
        QCOMPARE(found, differences);
    }

    // Through the controller: edits and marks leave the gap with the entry after it, and the
    // import of the missing lines closes it.
    void editsKeepTheChainAndAnImportClosesIt()
    {
        const auto c = openTestController(m_dir.filePath(u"data"_s));
        importFile(*c, {kMarch[0], kMarch[1], kMarch[4], kMarch[5]});
        for (int row = 0; row < c->view().rowCount(); ++row) {
            QVERIFY(c->editEntry(row, u"summary", u"edited"_s));
            QVERIFY(c->editEntry(row, u"details", u"a note"_s));
            QVERIFY(c->toggleMark(row));
        }
        QCOMPARE(c->balances().gaps().size(), 1);
        QCOMPARE(c->balances().gapBefore(c->view().entryAt(2).id()), std::optional<qint64>(-2500));
        QCOMPARE(c->balances().gaps().first().after.id(), c->view().entryAt(1).id());
        QCOMPARE(importFile(*c, kMarch).gapsClosed, 1);
        QVERIFY(c->balances().isContinuous());
    }
};

QTEST_GUILESS_MAIN(BalanceChainTest)
#include "BalanceChainTest.moc"
