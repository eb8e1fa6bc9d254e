#include "views/StringTable.h"
#include "views/VersionCheck.h"

#include <QTest>

using namespace Qt::StringLiterals;

class VersionCheckTest : public QObject
{
    Q_OBJECT

private slots:
    // The published text, trimmed, is compared with the version in use part by part as numbers;
    // anything else is no version number, as is a reply that was not fetched.
    void evaluate_data()
    {
        QTest::addColumn<QString>("installed"); QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("result");
        const int none = VersionCheck::CantDownload, latest = VersionCheck::LatestInUse,
                  newer = VersionCheck::NewerPublished, older = VersionCheck::OlderPublished;
        QTest::newRow("equal, white space") << u"0.1.0"_s << QByteArray(" 0.1.0 \r\n") << latest;
        QTest::newRow("equal, leading zeros") << u"1.2"_s << QByteArray("01.002") << latest;
        QTest::newRow("newer, 1.10 after 1.9") << u"1.9"_s << QByteArray("1.10") << newer;
        QTest::newRow("older, 1.9 before 1.10") << u"1.10"_s << QByteArray("1.9\n") << older;
        QTest::newRow("not fetched") << QString() << QByteArray("9.9") << none;
        QTest::newRow("html") << u"1.0"_s << QByteArray("<html><b>9.9</b></html>") << none;
        QTest::newRow("suffix") << u"1.0"_s << QByteArray("1.2-rc1") << none;
        QTest::newRow("too many parts") << u"1.0"_s << QByteArray("1.2.3.4.5") << none;
        QTest::newRow("full-width digits") << u"1.0"_s << QByteArray("\xef\xbc\x91.\xef\xbc\x92") << none;
    }
    void evaluate()
    {
        QFETCH(QString, installed); QFETCH(QByteArray, reply); QFETCH(int, result);
        const bool fetched = !installed.isEmpty(); // rows without a version in use: not fetched
        const VersionCheck::Outcome outcome = VersionCheck::evaluate(installed, reply, fetched);
        QCOMPARE(int(outcome.result), result);
        QCOMPARE(outcome.published, result ? QString::fromUtf8(reply.trimmed()) : QString());
        QVERIFY2(outcome.message.contains(outcome.published), qPrintable(outcome.message));
        QCOMPARE(outcome.message == StringTable::localizedString(u"CantDownloadLatestVersion"),
                 result == VersionCheck::CantDownload);
    }
};

QTEST_GUILESS_MAIN(VersionCheckTest)
#include "VersionCheckTest.moc"
