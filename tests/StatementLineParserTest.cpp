#include "import/StatementLineParser.h"
#include "ledger/EntryTextCache.h"

#include <QTest>

using namespace Qt::StringLiterals;

class StatementLineParserTest : public QObject
{
    Q_OBJECT

private slots:
    // Quoted commas stay in their field; numbers read without quotation marks up to the first
    // other character, clamped; summary kinds: ATM, commission, interest, JNB's Yahoo, in order.
    void parse_data()
    {
        QTest::addColumn<Bank>("bank");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("parsed"); // the outcome, or the numbers and texts of the entry
        const Bank jnb = Bank::Jnb, ebank = Bank::Ebank;
        QTest::newRow("jnb blank") << jnb << u"  \u3000\t"_s << u"blank"_s;
        QTest::newRow("jnb header") << jnb << u"\"操作日(年)\",\"操作日(月)\""_s << u"header"_s;
        QTest::newRow("jnb header text later")
            << jnb << u"2026,3,5,0,0,0,0,操作日(年)"_s << u"2026 3 5 0 0 0 0 0 0 0|2026/03/05|00:00:00|操作日(年)||0"_s;
        QTest::newRow("jnb") << jnb << u"\"2026\",\"3\",\"5\",\"9\",\"5\",\"0\",\"12\",\"Yahoo!ショッピング\","
                                       "\"1500\",\"0\",\"800\",\"extra\""_s
                             << u"2026 3 5 9 5 0 12 1500 0 800|2026/03/05|09:05:00|Yahoo!ショッピング|1,500円|4"_s;
        QTest::newRow("jnb odd fields")
            << jnb << u" 2026,\t12,31a,,１２,\"5\"9,\"-1\",A\"TM, 振込手\"数料,-7,99999999999,-99999999999"_s
            << u"2026 12 31 0 0 59 -1 -7 2147483647 -2147483648|2026/12/31|00:00:59|ATM, 振込手数料||1"_s;
        QTest::newRow("ebank header") << ebank << u"取引日,入出金(円),残高(円)"_s << u"header"_s;
        QTest::newRow("ebank empty date") << ebank << u"\"\",\"-1500\",\"900\""_s << u"rejected"_s;
        QTest::newRow("ebank short date") << ebank << u"\"2026115\",\"-15\",\"9\""_s << u"rejected"_s;
        QTest::newRow("ebank year 0") << ebank << u"\"00001105\",\"-15\",\"9\""_s << u"rejected"_s;
        QTest::newRow("ebank payment") << ebank << u"\"20261105\",\"-1500\",\"900\",\"利息, Yahoo!\""_s
                                       << u"2026 11 5 0 0 0 0 1500 0 900|2026/11/05||利息, Yahoo!|1,500円|3"_s;
        QTest::newRow("ebank deposit") << ebank << u"\"20261105\",\"1500\",\"3000\",振込手数料,\"S\""_s
                                       << u"2026 11 5 0 0 0 0 0 1500 3000|2026/11/05||振込手数料||2"_s;
        QTest::newRow("ebank minus alone, fewer fields")
            << ebank << u"\"20260102\",\"-\""_s << u"2026 1 2 0 0 0 0 0 0 0|2026/01/02||||0"_s;
        QTest::newRow("ebank, no yahoo kind") << ebank << u"\"20260102\",\"-1\",\"1\",\"Yahoo!\""_s
                                              << u"2026 1 2 0 0 0 0 1 0 1|2026/01/02||Yahoo!|1円|0"_s;
    }
    void parse()
    {
        QFETCH(Bank, bank); QFETCH(QString, line); QFETCH(QString, parsed);
        const ParsedLine p = parseStatementLine(bank, line, EntryTextCache::instance());
        QCOMPARE(bool(p.entry), p.outcome == LineOutcome::Entry);
        QStringList got{QStringList{u"entry"_s, u"header"_s, u"blank"_s, u"rejected"_s}.at(int(p.outcome))};
        if (p.entry) {
            const LedgerEntry &e = *p.entry;
            got.clear();
            for (int v : {e.year(), e.month(), e.day(), e.hour(), e.minute(), e.second(),
                          e.orderNumber(), e.payment(), e.deposit(), e.balance()})
                got << QString::number(v);
            got = QStringList{got.join(u' '), e.date(), e.time(), e.summary(), e.paymentPrice(),
                              QString::number(e.summaryKind())};
            QCOMPARE(e.importedSummary(), e.summary());
        }
        QCOMPARE(got.join(u'|'), parsed);
    }
};

QTEST_GUILESS_MAIN(StatementLineParserTest)
#include "StatementLineParserTest.moc"
