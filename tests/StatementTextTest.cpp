#include "import/StatementText.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class StatementTextTest : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString jp = u"\"髙島屋\",1500"_s;
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF") + jp.toUtf8() << jp;
        QTest::newRow("utf-8 plain") << jp.toUtf8() << jp;
        QTest::newRow("ascii") << QByteArray("a,b\r\n") << u"a,b\r\n"_s;
        QByteArray le("\xFF\xFE"), be("\xFE\xFF");
        for (QChar c : jp) {
            le.append(char(c.unicode() & 0xff)).append(char(c.unicode() >> 8));
            be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xff));
        }
        QTest::newRow("utf-16le bom") << le << jp;
        QTest::newRow("utf-16be bom") << be << jp;
        // CP932, written out byte by byte: NEC and IBM extensions and the wave dash.
        QTest::newRow("cp932 ibm kanji") << QByteArray("\xFB\xFC") << u"髙"_s;
        QTest::newRow("cp932 circled one") << QByteArray("\x87\x40") << u"①"_s;
        QTest::newRow("cp932 kabushiki") << QByteArray("\x87\x8A") << u"㈱"_s;
        QTest::newRow("cp932 tilde") << QByteArray("\x81\x60") << u"\uFF5E"_s;
        QTest::newRow("cp932 half-width kana") << QByteArray("\xB1") << u"\uFF71"_s;
        QTest::newRow("cp932 line")
            << QByteArray("\"\x8E\xE8\x90\x94\x97\xBF\",\"\x82\x60\x82\x73\x82\x6C\"\r\n")
            << u"\"手数料\",\"ＡＴＭ\"\r\n"_s;
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeStatementText(bytes), text);
    }

    void invalidBytesBecomeReplacements_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // Bad sequences between AB, CD and E; a replacement is U+FFFD or, from CP932, U+001A.
        QTest::newRow("cp932 unassigned") << QByteArray("AB\xFF" "CD\xA0" "E\n");
        QTest::newRow("cp932 lead byte, bad trail") << QByteArray("AB\x81\x0A" "CD\xFD" "E\n");
        QTest::newRow("utf-8 bom then junk")
            << QByteArray("\xEF\xBB\xBF" "AB\xC0\x80" "CD\xED\xA0\x80" "E\n");
    }
    void invalidBytesBecomeReplacements()
    {
        QFETCH(QByteArray, bytes);
        const QString text = decodeStatementText(bytes);
        static const QRegularExpression pattern(
            u"^AB[\\x{fffd}\\x{1a}]+\n?CD[\\x{fffd}\\x{1a}]+E\n$"_s);
        QVERIFY2(pattern.match(text).hasMatch(), text.toUtf8().toPercentEncoding().constData());
    }

    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        const QStringList three{u"a,1"_s, u"b,2"_s, u"c,3"_s};
        QTest::newRow("lf") << u"a,1\nb,2\nc,3\n"_s << three;
        QTest::newRow("crlf") << u"a,1\r\nb,2\r\nc,3\r\n"_s << three;
        QTest::newRow("cr") << u"a,1\rb,2\rc,3\r"_s << three;
        QTest::newRow("line separator") << u"a,1\u2028b,2\u2028c,3"_s << three;
        QTest::newRow("no final terminator") << u"a,1\nb,2\r\nc,3"_s << three;
        QTest::newRow("blank lines kept") << u"a,1\n\r\n\rb"_s
                                          << QStringList{u"a,1"_s, QString(), QString(), u"b"_s};
        QTest::newRow("lf cr is two") << u"a\n\rb"_s << QStringList{u"a"_s, QString(), u"b"_s};
        QTest::newRow("empty") << QString() << QStringList();
    }
    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QStringList got;
        for (QStringView line : splitStatementLines(text))
            got << line.toString();
        QCOMPARE(got, lines);
    }
};

QTEST_GUILESS_MAIN(StatementTextTest)
#include "StatementTextTest.moc"
