#include "import/StatementFields.h"
#include "import/StatementLineParser.h"
#include "ledger/EntryTextCache.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList fieldsOf(const QString &line)
{
    QStringList out;
    for (QStringView f : splitStatementFields(line))
        out << withoutQuotationMarks(f);
    return out;
}

} // namespace

class StatementLineParserTest : public QObject
{
    Q_OBJECT

    EntryTextCache &texts = EntryTextCache::instance();

private slots:
    void fields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields"); // quotation marks removed
        QTest::newRow("plain") << u"a,b,c"_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("empty field keeps its place") << u"a,,c"_s
                                                     << QStringList{u"a"_s, QString(), u"c"_s};
        QTest::newRow("leading empty field") << u",b"_s << QStringList{QString(), u"b"_s};
        QTest::newRow("trailing comma") << u"a,"_s << QStringList{u"a"_s, QString()};
        QTest::newRow("comma in quotes") << u"\"AMAZON, INC\",\"1\""_s
                                         << QStringList{u"AMAZON, INC"_s, u"1"_s};
        QTest::newRow("quotes mid-field") << u"ab\"c,d\"e,f"_s
                                          << QStringList{u"abc,de"_s, u"f"_s};
        QTest::newRow("quoted empty") << u"\"\",\"x\""_s << QStringList{QString(), u"x"_s};
        QTest::newRow("leading spaces") << u"  a,\t b,\u3000c"_s
                                        << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("white space only") << u" \t\u3000 "_s << QStringList();
    }
    void fields()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QCOMPARE(fieldsOf(line), fields);
    }

    // Numbers read as if their quotation marks were gone, up to the first other character.
    void numbers_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value");
        QTest::newRow("bare") << u"1500"_s << 1500;
        QTest::newRow("quoted") << u"\"1500\""_s << 1500;
        QTest::newRow("quote inside") << u"12\"3"_s << 123;
        QTest::newRow("quoted, then more digits") << u"\"12\"3"_s << 123;
        QTest::newRow("stops at a letter") << u"12a3"_s << 12;
        QTest::newRow("stops at a comma kept in quotes") << u"\"1,500\""_s << 1;
        QTest::newRow("leading blanks and sign") << u"  -42"_s << -42;
        QTest::newRow("plus sign") << u"+7"_s << 7;
        QTest::newRow("ten digits") << u"1234567890"_s << 1234567890;
        QTest::newRow("clamped high") << u"99999999999"_s << 2147483647;
        QTest::newRow("clamped low") << u"-99999999999"_s << int(-2147483648LL);
        QTest::newRow("no digits") << u"abc"_s << 0;
        QTest::newRow("empty quotes") << u"\"\""_s << 0;
        QTest::newRow("full-width digits are no digits") << u"１２"_s << 0;
    }
    void numbers()
    {
        QFETCH(QString, field);
        QFETCH(int, value);
        QCOMPARE(intValue(field), value);
    }

    void outcomes_data()
    {
        QTest::addColumn<int>("bank");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("outcome");
        const int entry = int(LineOutcome::Entry), header = int(LineOutcome::Header),
                  rejected = int(LineOutcome::Rejected), blank = int(LineOutcome::Blank);
        QTest::newRow("jnb blank") << 1 << u"  \u3000 "_s << blank;
        QTest::newRow("jnb header") << 1 << u"操作日(年),操作日(月),操作日(日)"_s << header;
        QTest::newRow("jnb quoted header") << 1 << u"\"操作日(年)\",\"操作日(月)\""_s << header;
        QTest::newRow("jnb header text later")
            << 1 << u"\"2026\",\"3\",\"5\",\"0\",\"0\",\"0\",\"0\",\"操作日(年)\""_s << entry;
        QTest::newRow("ebank blank") << 2 << u" \t"_s << blank;
        QTest::newRow("ebank header") << 2 << u"\"取引日\",\"入出金(円)\",\"残高(円)\""_s << header;
        QTest::newRow("ebank empty date") << 2 << u"\"\",\"-1500\",\"900\",\"x\""_s << rejected;
        QTest::newRow("ebank short date") << 2 << u"\"2026115\",\"-1500\",\"900\""_s << rejected;
        QTest::newRow("ebank year 0") << 2 << u"\"00001105\",\"-1500\",\"900\""_s << rejected;
    }
    void outcomes()
    {
        QFETCH(int, bank);
        QFETCH(QString, line);
        QFETCH(int, outcome);
        const ParsedLine parsed = bank == 1 ? parseJnbLine(line, texts) : parseEbankLine(line, texts);
        QCOMPARE(int(parsed.outcome), outcome);
        QCOMPARE(bool(parsed.entry), outcome == int(LineOutcome::Entry));
    }

    void jnbEntry()
    {
        const ParsedLine parsed = parseJnbLine(
            u"\"2026\",\"3\",\"5\",\"9\",\"5\",\"0\",\"12\",\"AMAZON, INC\",\"1500\",\"0\","
            "\"800\",\"extra\""_s,
            texts);
        QCOMPARE(parsed.outcome, LineOutcome::Entry);
        const LedgerEntry &e = *parsed.entry;
        QCOMPARE(e.date(), u"2026/03/05"_s);
        QCOMPARE(e.time(), u"09:05:00"_s);
        QCOMPARE((QList<int>{e.year(), e.month(), e.day(),
                             e.hour(), e.minute(), e.second(),
                             e.orderNumber(), e.payment(), e.deposit(), e.balance(), e.marked()}),
                 (QList<int>{2026, 3, 5, 9, 5, 0, 12, 1500, 0, 800, 0}));
        QCOMPARE(e.summary(), u"AMAZON, INC"_s);
        QCOMPARE(e.importedSummary(), u"AMAZON, INC"_s);
        QCOMPARE(e.paymentPrice(), u"1,500円"_s);
        QVERIFY(e.depositPrice().isEmpty());
    }

    void jnbOddFields()
    {
        // Quoted empty summary, a negative amount, numbers beyond 32 bits, unquoted fields.
        const ParsedLine parsed =
            parseJnbLine(u"2026,12,31,23,59,59,1,\"\",-700,99999999999,-99999999999"_s, texts);
        QCOMPARE(parsed.outcome, LineOutcome::Entry);
        const LedgerEntry &e = *parsed.entry;
        QVERIFY(e.summary().isEmpty());
        QCOMPARE(e.payment(), -700);
        QVERIFY(e.paymentPrice().isEmpty());
        QCOMPARE(e.deposit(), 2147483647);
        QCOMPARE(e.balance(), -2147483647 - 1);
        QCOMPARE(e.time(), u"23:59:59"_s);
    }

    void summaryKinds_data()
    {
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("jnb");
        QTest::addColumn<int>("ebank");
        QTest::newRow("atm") << u"ATM 引出"_s << 1 << 1;
        QTest::newRow("atm wins over commission") << u"ATM手数料"_s << 1 << 1;
        QTest::newRow("commission") << u"振込手数料"_s << 2 << 2;
        QTest::newRow("interest") << u"普通預金利息"_s << 3 << 3;
        QTest::newRow("yahoo") << u"Yahoo!ショッピング"_s << 4 << 0;
        QTest::newRow("other") << u"給与"_s << 0 << 0;
    }
    void summaryKinds()
    {
        QFETCH(QString, summary);
        QFETCH(int, jnb);
        QFETCH(int, ebank);
        const QString jnbText = u"2026,1,1,0,0,0,0,\"%1\",1,0,1"_s.arg(summary);
        QCOMPARE(parseJnbLine(jnbText, texts).entry->summaryKind(), jnb);
        const QString ebankText = u"\"20260101\",\"-1\",\"1\",\"%1\""_s.arg(summary);
        QCOMPARE(parseEbankLine(ebankText, texts).entry->summaryKind(), ebank);
    }

    void ebankEntry_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<int>>("numbers"); // year, month, day, payment, deposit, balance
        QTest::newRow("payment") << u"\"20261105\",\"-1500\",\"900\",\"summary\""_s
                                 << QList<int>{2026, 11, 5, 1500, 0, 900};
        QTest::newRow("deposit") << u"\"20261105\",\"1500\",\"3000\",\"summary\""_s
                                 << QList<int>{2026, 11, 5, 0, 1500, 3000};
        QTest::newRow("minus alone") << u"\"20261105\",\"-\",\"3000\",\"summary\""_s
                                     << QList<int>{2026, 11, 5, 0, 0, 3000};
        QTest::newRow("empty amount") << u"\"20261105\",\"\",\"3000\",\"summary\""_s
                                      << QList<int>{2026, 11, 5, 0, 0, 3000};
        QTest::newRow("fewer fields") << u"\"20260102\",\"-5\""_s << QList<int>{2026, 1, 2, 5, 0, 0};
    }
    void ebankEntry()
    {
        QFETCH(QString, line);
        QFETCH(QList<int>, numbers);
        const ParsedLine parsed = parseEbankLine(line, texts);
        QCOMPARE(parsed.outcome, LineOutcome::Entry);
        const LedgerEntry &e = *parsed.entry;
        QCOMPARE((QList<int>{e.year(), e.month(), e.day(), e.payment(),
                             e.deposit(), e.balance()}),
                 numbers);
        QCOMPARE(e.summary(), line.contains(u"summary") ? u"summary"_s : QString());
        QCOMPARE(e.date(), QString::asprintf("%d/%02d/%02d", numbers[0], numbers[1], numbers[2]));
        QVERIFY(e.time().isEmpty());
        QCOMPARE(e.paymentPrice(), numbers[3] == 1500 ? u"1,500円"_s : numbers[3] == 5 ? u"5円"_s : QString());
    }
};

QTEST_GUILESS_MAIN(StatementLineParserTest)
#include "StatementLineParserTest.moc"
