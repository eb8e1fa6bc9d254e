#include "import/StatementText.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

class StatementTextTest : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes"); QTest::addColumn<QString>("text");
        const QString jp = u"\"髙島屋\",1500"_s;
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF") + jp.toUtf8() << jp;
        // CP932: IBM and NEC extensions, the wave dash, half-width kana, a line as the banks write.
        QTest::newRow("cp932") << QByteArray("\xFB\xFC\x87\x40\x87\x8A\x81\x60\xB1\",\"\x82\x60\r\n")
                               << u"髙①㈱\uFF5E\uFF71\",\"Ａ\r\n"_s;
        // Bad sequences become replacement characters, which no stored line may hold.
        QTest::newRow("bad bytes") << QByteArray("\xEF\xBB\xBF" "AB\xC0\x80" "CD") << u"AB\uFFFD\uFFFD" "CD"_s;
        // One stray byte in a UTF-8 file spoils its own line only, not the whole file.
        const QString good = u"摘要,正常\n正常,1\n"_s.repeated(3);
        QTest::newRow("utf-8, a stray byte") << good.toUtf8() + "\x93,2\n" + good.toUtf8() << good + u"\uFFFD,2\n"_s + good;
        QTest::newRow("cp932, a byte it cannot read, end-of-file mark")
            << QByteArray("\x90\xB3\x8F\xED,1\n\xFD,2\n\x1A") << u"正常,1\n\u001A,2\n"_s;
        // Long ASCII stretches, with the control bytes CP932 reads as other control characters.
        QTest::newRow("cp932, ascii controls") << QByteArray("\"2026\",\"1\x1c\",\"\t\",\"\x82\x60\"\n\"12345678\"\n")
            << u"\"2026\",\"1\u007F\",\"\t\",\"Ａ\"\n\"12345678\"\n"_s;
        // Statements of both encodings pasted together: a UTF-8 line in a CP932 file is read as
        // UTF-8, not as CP932 characters it happens to make.
        const QByteArray cp932Line("\"2026\",\"\x8b\x8b\x97^\x90U\x8d\x9e\"\n");
        const QByteArray utf8Line("\"2026\",\"\xe7\xb5\xa6\xe4\xb8\x8e\xe6\x8c\xaf\xe8\xbe\xbc\"\r\n");
        const QString line = u"\"2026\",\"給与振込\""_s;
        QTest::newRow("cp932 with a utf-8 line") << cp932Line.repeated(3) + utf8Line + cp932Line
            << (line + u'\n').repeated(3) + line + u"\r\n"_s + line + u'\n';
        // A byte-order mark between a CR and an LF, read a piece or a line at a time: a
        // character, not part of the line end.
        QTest::newRow("utf-8, a mark between CR and LF") << QByteArray("a,1\r\xEF\xBB\xBF\nb,2\n")
            << u"a,1\r\uFEFF\nb,2\n"_s;
        // UTF-16 without a byte-order mark, either order.
        const QString utf16 = u"\"20260105\",\"-1500\",\"900\",\"給与\"\r\n"_s;
        for (const auto encoding : {QStringEncoder::Utf16LE, QStringEncoder::Utf16BE})
            QTest::addRow("utf-16 %s without a mark", encoding == QStringEncoder::Utf16LE ? "le" : "be")
                << QByteArray(QStringEncoder(encoding).encode(utf16)) << utf16;
        QTest::newRow("nothing but a byte-order mark") << QByteArray("\xEF\xBB\xBF") << QString();
        QTest::newRow("nothing but end-of-file marks") << QByteArray("\x1A\x1A") << QString();
    }
    void decode()
    {
        QFETCH(QByteArray, bytes); QFETCH(QString, text);
        const QString decoded = decodeStatementText(bytes);
        QCOMPARE(decoded, text);
        for (QStringView line : splitStatementLines(decoded))
            QCOMPARE(isUnreadableText(line), line.contains(u'\uFFFD') || line.contains(u'\u001A'));
        // A piece at a time, each piece but the last ending at a line end: the same text.
        QString joined;
        bool cutAtLineEnds = true;
        const StatementDecoder pieces(bytes, 1);
        pieces.forEachPiece([&](QStringView piece, bool readable) {
            cutAtLineEnds = cutAtLineEnds && (joined.isEmpty() || joined.endsWith(u'\n') || joined.endsWith(u'\r'));
            bool clean = true;
            for (QStringView line : splitStatementLines(piece))
                clean = clean && !isUnreadableText(line) && controlCharacterAt(line) < 0;
            QCOMPARE(readable, clean);
            joined += piece;
        });
        QCOMPARE(joined, text);
        QVERIFY(cutAtLineEnds);
        QCOMPARE(pieces.isEmpty(), text.isEmpty());
    }

    // Zero bytes that make no UTF-16 refuse the file whole, with one reason.
    void zeroBytesRefuseTheFile_data()
    {
        QTest::addColumn<QByteArray>("bytes"); QTest::addColumn<bool>("refused");
        QTest::newRow("zeros here and there") << QByteArray("2026\0,1,\0\0\0x,\0\n\0\0,\0\0\0\n", 20) << true;
        QTest::newRow("one zero in a line") << QByteArray("2026,3,5,9,5,0,12,x\0y,1,0,1\n2026,3,5,9,5,0,12,x,1,0,1\n", 52)
                                            << false;
    }
    void zeroBytesRefuseTheFile()
    {
        QFETCH(QByteArray, bytes); QFETCH(bool, refused);
        const StatementDecoder decoder(bytes);
        QCOMPARE(!decoder.refusal().isEmpty(), refused);
        int pieces = 0;
        decoder.forEachPiece([&pieces](QStringView, bool) { ++pieces; });
        QCOMPARE(pieces == 0, refused);
    }

    // A line longer than any statement writes is not decoded: its first characters stand for
    // it, between the pieces of the lines around it, so that lines keep their numbers, whichever
    // line ends the file uses.
    void longLinesAreNotDecoded()
    {
        const QByteArray longLine = "\"2026\"," + QByteArray(StatementDecoder::kMaxLineBytes, 'x');
        const QByteArray bytes = "a,1\nb,2\r\n" + longLine + "\rc,3\r\n" + longLine;
        QStringList seen;
        StatementDecoder(bytes).forEachPiece(
            [&seen](QStringView piece, bool) {
                forEachStatementLine(piece, [&seen](QStringView line) { seen << line.toString(); });
            },
            [&seen](QStringView start) {
                QVERIFY(start.size() < 300);
                seen << u"long: "_s + start.first(8).toString();
            });
        QCOMPARE(seen, (QStringList{u"a,1"_s, u"b,2"_s, u"long: \"2026\",x"_s, u"c,3"_s,
                                    u"long: \"2026\",x"_s}));
    }

    void splitLines_data()
    {
        QTest::addColumn<QString>("text"); QTest::addColumn<QStringList>("lines");
        const QStringList three{u"a,1"_s, u"b,2"_s, u"c,3"_s};
        QTest::newRow("cr, no final terminator") << u"a,1\rb,2\rc,3"_s << three;
        QTest::newRow("NEL, LS and PS") << u"a,1\u0085b,2\u2028c,3\u2029"_s << three;
        QTest::newRow("blank lines kept, LF CR is two")
            << u"a\n\r\n\rb\n\rc"_s << QStringList{u"a"_s, QString(), QString(), u"b"_s, QString(), u"c"_s};
    }
    void splitLines()
    {
        QFETCH(QString, text); QFETCH(QStringList, lines);
        QStringList split, visited;
        for (QStringView line : splitStatementLines(text))
            split << line.toString();
        forEachStatementLine(text, [&visited](QStringView line) { visited << line.toString(); });
        QCOMPARE(split, lines);
        QCOMPARE(visited, lines);
    }
};

QTEST_GUILESS_MAIN(StatementTextTest)
#include "StatementTextTest.moc"
