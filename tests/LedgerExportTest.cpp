#include "ledger/LedgerExport.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The export file's encodings: nothing a chosen encoding cannot hold is ever written replaced.
class LedgerExportTest : public QObject
{
    Q_OBJECT

    static QList<LedgerEntryPtr> listWithSummary(const QString &summary)
    {
        LedgerEntryPtr e = LedgerEntry::create();
        e->setDate(u"2026/03/05"_s);
        e->setTime(u"09:05:00"_s);
        e->setSummary(summary);
        e->setPayment(1500);
        e->setBalance(800);
        return {e};
    }

private slots:
    void encodings_data()
    {
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<bool>("fits");
        QTest::newRow("utf-8 holds anything") << u"髙島屋 😀"_s << 0 << true;
        QTest::newRow("utf-8 with bom") << u"髙島屋"_s << 1 << true;
        QTest::newRow("cp932 extensions") << u"髙島屋 ① ㈱ ～ ｱｲｳ"_s << 2 << true;
        QTest::newRow("cp932 lacks emoji") << u"ランチ 😀"_s << 2 << false;
        QTest::newRow("cp932 lacks hangul") << u"한국"_s << 2 << false;
    }
    void encodings()
    {
        QFETCH(QString, summary);
        QFETCH(int, encoding);
        QFETCH(bool, fits);
        const QList<LedgerEntryPtr> list = listWithSummary(summary);
        const QString text = LedgerExport::csvText(list);
        QCOMPARE(text, u"2026/03/05,09:05:00,"_s + summary + u",1500,0,800,\r"_s);

        QTemporaryDir dir;
        const QString path = dir.filePath(u"out.csv"_s);
        QFile previous(path);
        QVERIFY(previous.open(QIODevice::WriteOnly));
        previous.write("previous");
        previous.close();

        QString error;
        const bool saved = LedgerExport::save(path, list, &error,
                                                         LedgerExport::encodingFromInt(encoding));
        QCOMPARE(saved, fits);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (!fits) {
            QVERIFY2(error.contains(u"U+"_s), qPrintable(error));
            QCOMPARE(bytes, QByteArray("previous")); // the old file is left as it was
            return;
        }
        QByteArray expected;
        if (encoding == 2) {
            QStringEncoder cp932("windows-31j");
            expected = cp932.encode(text);
        } else {
            expected = (encoding == 1 ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
        }
        QCOMPARE(bytes, expected);
    }
};

QTEST_GUILESS_MAIN(LedgerExportTest)
#include "LedgerExportTest.moc"
