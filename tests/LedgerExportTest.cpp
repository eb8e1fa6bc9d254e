#include "TestSupport.h"
#include "ledger/LedgerExport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

static QList<LedgerEntry> listOf(const QString &summary, const QString &details = QString())
{
    LedgerEntry e = entryAt(2026, 3, 5, 9, 5, 0, 0, summary, 1500, 0, -800);
    e.setDetails(details);
    return {e};
}

class LedgerExportTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(u"out.csv"_s);

private slots:
    void init() { QVERIFY(writeTestFile(m_path, "previous")); }

    // Texts with a comma, quotation mark, CR or LF are quoted, nothing else; lines end in CR
    // (in LF for a terminal or a pipe: the tool's tests).
    void csvText_data()
    {
        QTest::addColumn<QString>("summary"); QTest::addColumn<QString>("details");
        QTest::addColumn<QString>("fields"); // after date and time
        QTest::newRow("comma") << u"A, B"_s << u"memo"_s << u"\"A, B\",1500,0,-800,memo"_s;
        QTest::newRow("quotation marks") << u"A \"B\""_s << u"\""_s << u"\"A \"\"B\"\"\",1500,0,-800,\"\"\"\""_s;
        QTest::newRow("line breaks") << u"家賃"_s << u"a\nb\rc"_s << u"家賃,1500,0,-800,\"a\nb\rc\""_s;
    }
    void csvText()
    {
        QFETCH(QString, summary); QFETCH(QString, details); QFETCH(QString, fields);
        QCOMPARE(LedgerExport::csvText(listOf(summary, details) + listOf(u"x"_s)),
                 u"2026/03/05,09:05:00,"_s + fields + u"\r2026/03/05,09:05:00,x,1500,0,-800,\r"_s);
    }

    // The spreadsheet form: UTF-8 with a byte-order mark, a header row, CR LF after every line
    // (a field's own line breaks stay quoted as they are).
    void spreadsheetBytes()
    {
        QString error;
        QVERIFY2(LedgerExport::saveSpreadsheet(m_path, listOf(u"家賃"_s, u"a\nb"_s), &error),
                 qPrintable(error));
        QCOMPARE(readTestFile(m_path),
                 "\xEF\xBB\xBF" "Date,Time,Summary,Payment,Deposit,Balance,Details\r\n"
                 "2026/03/05,09:05:00,\xE5\xAE\xB6\xE8\xB3\x83,1500,0,-800,\"a\nb\"\r\n");
    }

    // Nothing an encoding cannot hold is written replaced: the old file stays.
    void encodings_data()
    {
        QTest::addColumn<QString>("summary"); QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("bom"); // null: not saved
        QTest::newRow("utf-8 holds anything") << u"髙島屋 😀"_s << 0 << QByteArray("");
        QTest::newRow("cp932 extensions") << u"髙島屋 ① ㈱ ～ ｱｲｳ"_s << 2 << QByteArray("");
        QTest::newRow("cp932 lacks emoji") << u"ランチ 😀"_s << 2 << QByteArray();
    }
    void encodings()
    {
        QFETCH(QString, summary); QFETCH(int, encoding); QFETCH(QByteArray, bom);
        QString error;
        const bool saved = LedgerExport::save(m_path, listOf(summary), &error, LedgerExport::Encoding(encoding));
        QCOMPARE(saved, !bom.isNull());
        QVERIFY2(saved || error.contains(u"U+1F600"_s, Qt::CaseInsensitive), qPrintable(error));
        const QString text = LedgerExport::csvText(listOf(summary));
        QCOMPARE(readTestFile(m_path), !saved ? QByteArray("previous")
                                       : bom + (encoding == 2 ? toCp932(text) : text.toUtf8()));
    }

    void failedWriteKeepsPreviousFile()
    {
        QString error;
        bool written = true;
        {
            FileSizeLimit limit(8);
            QVERIFY(limit.isSet());
            written = LedgerExport::save(m_path, listOf(u"x"_s), &error);
        }
        QVERIFY2(!written && error.contains(m_path), qPrintable(error));
        QCOMPARE(readTestFile(m_path), QByteArray("previous"));
    }
};

QTEST_GUILESS_MAIN(LedgerExportTest)
#include "LedgerExportTest.moc"
