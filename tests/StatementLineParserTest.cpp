#include "import/StatementLineParser.h"
#include "ledger/EntryTextCache.h"

#include <QTest>

#include <tuple>

using namespace Qt::StringLiterals;

class StatementLineParserTest : public QObject
{
    Q_OBJECT

private slots:
    // Quoted commas stay in their field and a stray quotation mark is an ordinary character;
    // numbers are whole numbers, "," grouping three digits, or the line is rejected, as is a
    // date that is not in the calendar; summary kinds: ATM, commission, interest, JNB's Yahoo.
    void parse_data()
    {
        QTest::addColumn<Bank>("bank");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("parsed"); // the outcome, or the numbers and texts of the entry
        const Bank jnb = Bank::Jnb, ebank = Bank::Ebank;
        QTest::newRow("jnb blank") << jnb << u"  \u3000\t"_s << u"blank"_s;
        QTest::newRow("jnb header") << jnb << u"\"操作日(年)\",\"操作日(月)\""_s << u"header"_s;
        QTest::newRow("jnb header text later")
            << jnb << u"2026,3,5,0,0,0,0,操作日(年),,,"_s << u"2026 3 5 0 0 0 0 0 0 0|2026/03/05|00:00:00|操作日(年)||0"_s;
        QTest::newRow("jnb") << jnb << u"\"2026\",\"3\",\"5\",\"9\",\"5\",\"0\",\"12\",\"Yahoo!ショッピング\","
                                       "\"1500\",\"0\",\"800\",\"extra\""_s
                             << u"2026 3 5 9 5 0 12 1500 0 800|2026/03/05|09:05:00|Yahoo!ショッピング|1,500円|4"_s;
        QTest::newRow("jnb odd fields")
            << jnb << u" 2026,\t12,31 ,, \"5\" ,5\"9,\"-1\",\"A\"TM, 振込手\"数料\",-7,\"-2,147,483,648\",+0"_s
            << u"2026 12 31 0 5 59 -1 -7 -2147483648 0|2026/12/31|00:05:59|ATM, 振込手数料||1"_s;
        QTest::newRow("jnb unmatched quotation mark")
            << jnb << u"\"2026\",\"3\",\"6\",\"10\",\"0\",\"0\",\"4\",\"12\" TV\",\"100\",\"0\",\"5000\",\"\""_s
            << u"2026 3 6 10 0 0 4 100 0 5000|2026/03/06|10:00:00|12 TV|100円|0"_s;
        // The usual line, every field quoted; then lines that differ from it in one thing.
        const auto usual = [](const QString &summary, const QString &balance) {
            return u"\"2026\",\"3\",\"5\",\"9\",\"5\",\"0\",\"12\","_s + summary
                + u",\"1500\",\"\","_s + balance;
        };
        QTest::newRow("jnb usual") << jnb << usual(u"\"AMAZON, INC\""_s, u"\"999999999\""_s)
            << u"2026 3 5 9 5 0 12 1500 0 999999999|2026/03/05|09:05:00|AMAZON, INC|1,500円|0"_s;
        QTest::newRow("jnb ten digits") << jnb << usual(u"\"\""_s, u"\"1234567890\""_s)
            << u"2026 3 5 9 5 0 12 1500 0 1234567890|2026/03/05|09:05:00||1,500円|0"_s;
        QTest::newRow("jnb ten digits past an int") << jnb << usual(u"\"\""_s, u"\"9999999999\""_s)
            << u"rejected: 9999999999 is too large"_s;
        QTest::newRow("jnb spaces after the summary") << jnb << usual(u"\"Yahoo ATM\" "_s, u"7"_s)
            << u"2026 3 5 9 5 0 12 1500 0 7|2026/03/05|09:05:00|Yahoo ATM |1,500円|1"_s;
        QTest::newRow("jnb space before the summary") << jnb << usual(u"\u3000利息手数料"_s, u"7,"_s)
            << u"2026 3 5 9 5 0 12 1500 0 7|2026/03/05|09:05:00|利息手数料|1,500円|2"_s;
        for (const auto &[name, line, reason] : {
                 std::tuple{"jnb bare commas", u",,,,,,,,,,"_s, u"the line has no date"_s},
                 {"jnb february 30", u"2026,2,30,9,0,0,1,x,1,0,1"_s, u"2026/02/30 is not a calendar date"_s},
                 {"jnb hour 24", u"2026,2,3,24,0,0,1,x,1,0,1"_s, u"24:00:00 is not a time of day"_s},
                 {"jnb fraction", u"2026,2,3,9,0,0,1,x,1.5,0,1"_s, u"“1.5” is not a whole number"_s},
                 {"jnb bad grouping", u"2026,2,3,9,0,0,1,x,\"1,23\",0,1"_s, u"“1,23” is not a whole number"_s},
                 {"jnb beyond 32 bits", u"2026,2,3,9,0,0,1,x,2147483648,0,1"_s, u"2147483648 is too large"_s},
                 {"jnb below 32 bits", u"2026,2,3,9,0,0,1,x,0,0,\"-2,147,483,649\""_s, u"-2,147,483,649 is too small"_s},
                 {"jnb too many digits", u"2026,2,3,9,0,0,1,x,0,0,"_s + u"9"_s.repeated(900), u"9"_s.repeated(60) + u"… is too large"_s},
                 // A statement cut short: too few fields, a quotation never closed (the file
                 // ended inside it, or the line was pasted cut), a field longer than any.
                 {"jnb cut before its amounts", u"\"2026\",\"3\",\"5\",\"9\",\"5\",\"0\",\"12\",\"振込\""_s,
                  u"the line is cut short: it ends after field 8 of the 11 it needs"_s},
                 {"jnb cut inside the balance", u"\"2026\",\"3\",\"5\",\"9\",\"5\",\"0\",\"12\",\"振込\",\"1,500\",\"0\",\"1,31"_s,
                  u"the line is cut short: “\"1,31” opens a quotation that is never closed"_s},
                 {"jnb summary of 1,001 characters", u"2026,3,5,9,5,0,12,\""_s + u"x"_s.repeated(1001) + u"\",1,0,1"_s,
                  u"field 8 is longer than 1,000 characters (“"_s + u"x"_s.repeated(60) + u"…”)"_s},
                 {"jnb a NUL quoted as U+FFFD", u"2026,3,5,9,5,0,12,x,1\u0000,0,1"_s,
                  u"“1\uFFFD” is not a whole number"_s}})
            QTest::newRow(name) << jnb << line << u"rejected: "_s + reason;
        QTest::newRow("ebank header") << ebank << u"取引日,入出金(円),残高(円)"_s << u"header"_s;
        QTest::newRow("ebank empty date") << ebank << u"\"\",\"-1500\",\"900\",x"_s << u"rejected: “” is not a date"_s;
        QTest::newRow("ebank year 0") << ebank << u"\"00001105\",\"-15\",\"9\",x"_s << u"rejected: 0000/11/05 is not a calendar date"_s;
        QTest::newRow("ebank year 1") << ebank << u"\"00010101\",\"-15\",\"9\",x"_s << u"1 1 1 0 0 0 0 15 0 9|0001/01/01||x|15円|0"_s;
        QTest::newRow("ebank february 30") << ebank << u"20260230,1,1,x"_s << u"rejected: 2026/02/30 is not a calendar date"_s;
        QTest::newRow("ebank slashes") << ebank << u"2026/03/05,\"-85,000\",\"1,000\",x"_s
                                       << u"2026 3 5 0 0 0 0 85000 0 1000|2026/03/05||x|85,000円|0"_s;
        QTest::newRow("ebank dashes, short month") << ebank << u"2026-3-05,5,6,x"_s
                                                   << u"2026 3 5 0 0 0 0 0 5 6|2026/03/05||x||0"_s;
        QTest::newRow("ebank payment") << ebank << u"\"20261105\",\"-1500\",\"900\",\"利息, Yahoo!\""_s
                                       << u"2026 11 5 0 0 0 0 1500 0 900|2026/11/05||利息, Yahoo!|1,500円|3"_s;
        QTest::newRow("ebank deposit") << ebank << u"\"20261105\",\"1500\",\"3000\",振込手数料,\"S\""_s
                                       << u"2026 11 5 0 0 0 0 0 1500 3000|2026/11/05||振込手数料||2"_s;
        QTest::newRow("ebank minus alone") << ebank << u"\"20260102\",\"-\",\"5\",\"\""_s << u"2026 1 2 0 0 0 0 0 0 5|2026/01/02||||0"_s;
        QTest::newRow("ebank minus twice") << ebank << u"\"20260102\",\"--\",\"5\",\"\""_s << u"rejected: “--” is not a whole number"_s;
        QTest::newRow("ebank cut inside the summary") << ebank << u"\"20260102\",\"-1\",\"5\",\"給与"_s
            << u"rejected: the line is cut short: “\"給与” opens a quotation that is never closed"_s;
        QTest::newRow("ebank payment of the smallest int") << ebank << u"20260102,-2147483648,5,x"_s
            << u"rejected: -2147483648 is too small"_s;
        QTest::newRow("ebank, no yahoo kind") << ebank << u"\"20260102\",\"-1\",\"1\",\"Yahoo!\""_s
                                              << u"2026 1 2 0 0 0 0 1 0 1|2026/01/02||Yahoo!|1円|0"_s;
    }
    void parse()
    {
        QFETCH(Bank, bank); QFETCH(QString, line); QFETCH(QString, parsed);
        const ParsedLine p = parseStatementLine(bank, line, EntryTextCache::instance());
        QStringList got{QStringList{u"entry"_s, u"header"_s, u"blank"_s, u"rejected: "_s}.at(int(p.outcome)) + p.reason};
        if (p.outcome == LineOutcome::Entry) {
            const LedgerEntry &e = p.entry;
            QCOMPARE(e.id(), 0); // stored only once admitted
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

    // The kinds of summaries met lately are remembered by text: a long run of summaries that
    // never repeat, then a few that do, each gets its own text and its own kind.
    void summaryKindsOverManyTexts()
    {
        EntryTextCache texts;
        const QStringList words{u"振込"_s, u"ATM"_s, u"手数料"_s};
        for (int i = 0; i < 140000; ++i) {
            const QString summary = i < 70000 ? u"%1 payee %2"_s.arg(words[i % 3]).arg(i)
                                              : u"%1 %2"_s.arg(words[i % 3]).arg(i % 5);
            const ParsedLine p = parseJnbLine(u"2026,3,5,9,5,0,1,"_s + summary + u",1,,2"_s, texts);
            QCOMPARE(p.entry.summary() + u'|' + QString::number(p.entry.summaryKind()),
                     summary + u'|' + QString::number(i % 3));
        }
    }
};

QTEST_GUILESS_MAIN(StatementLineParserTest)
#include "StatementLineParserTest.moc"
