// Reading the published version and comparing it with the one in use: equal, newer and older
// versions compared as version numbers, white space around the text, and texts that are no
// version number (nothing fetched, empty, markup, suffixes and prefixes).

#include "views/StringTable.h"
#include "views/VersionCheck.h"

#include <QTest>

using namespace Qt::StringLiterals;

class VersionCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void comparesPublishedWithInstalled_data()
    {
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("published");

        QTest::newRow("equal") << u"0.1.0"_s << QByteArray("0.1.0") << 1 << u"0.1.0"_s;
        QTest::newRow("equal, trailing line end") << u"0.1.0"_s << QByteArray("0.1.0\n") << 1
                                                  << u"0.1.0"_s;
        QTest::newRow("equal, CR LF and spaces") << u"0.1.0"_s << QByteArray("  0.1.0 \r\n") << 1
                                                 << u"0.1.0"_s;
        QTest::newRow("equal, trailing zero published") << u"1.0"_s << QByteArray("1.0.0") << 1
                                                        << u"1.0.0"_s;
        QTest::newRow("equal, trailing zero installed") << u"1.0.0"_s << QByteArray("1.0") << 1
                                                        << u"1.0"_s;
        QTest::newRow("newer, 1.10 after 1.9") << u"1.9"_s << QByteArray("1.10") << 2 << u"1.10"_s;
        QTest::newRow("newer, patch") << u"0.1.0"_s << QByteArray("0.1.1\n") << 2 << u"0.1.1"_s;
        QTest::newRow("newer, more parts") << u"1.2"_s << QByteArray("1.2.0.1") << 2
                                           << u"1.2.0.1"_s;
        QTest::newRow("newer, major") << u"0.9.9"_s << QByteArray("1") << 2 << u"1"_s;
        QTest::newRow("older, 1.9 before 1.10") << u"1.10"_s << QByteArray("1.9") << 3
                                                << u"1.9"_s;
        QTest::newRow("older, patch") << u"0.1.1"_s << QByteArray("0.1.0\n") << 3 << u"0.1.0"_s;
    }
    void comparesPublishedWithInstalled()
    {
        QFETCH(QString, installed);
        QFETCH(QByteArray, reply);
        QFETCH(int, result);
        QFETCH(QString, published);

        const VersionCheck::Outcome outcome = VersionCheck::evaluate(installed, reply, true);
        QCOMPARE(int(outcome.result), result);
        QCOMPARE(outcome.published, published);
        QVERIFY2(outcome.message.contains(published), qPrintable(outcome.message));
        QVERIFY(outcome.message != StringTable::localizedString(u"CantDownloadLatestVersion"));
    }

    void eachResultHasItsOwnMessage()
    {
        const auto latest = VersionCheck::evaluate(u"1.9"_s, "1.9", true);
        const auto newer = VersionCheck::evaluate(u"1.9"_s, "1.10", true);
        const auto older = VersionCheck::evaluate(u"1.10"_s, "1.9", true);
        const auto none = VersionCheck::evaluate(u"1.9"_s, "", true);
        QCOMPARE(latest.result, VersionCheck::LatestInUse);
        QCOMPARE(newer.result, VersionCheck::NewerPublished);
        QCOMPARE(older.result, VersionCheck::OlderPublished);
        QCOMPARE(none.result, VersionCheck::CantDownload);

        QCOMPARE(latest.message, u"You are using the latest version of Moriva (1.9)."_s);
        QCOMPARE(newer.message, u"Moriva 1.10 is available."_s);
        QCOMPARE(older.message,
                 u"The published version 1.9 is older than the version you use (1.10)."_s);
        QCOMPARE(none.message, u"Moriva could not find out which version is the latest."_s);
        const QStringList messages{latest.message, newer.message, older.message, none.message};
        for (int i = 0; i < messages.size(); ++i) {
            for (int j = i + 1; j < messages.size(); ++j)
                QVERIFY2(messages[i] != messages[j], qPrintable(messages[i]));
        }
    }

    void refusesWhatIsNoVersionNumber_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("fetched");

        QTest::newRow("not fetched") << QByteArray() << false;
        QTest::newRow("not fetched, with a version") << QByteArray("9.9") << false;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("white space only") << QByteArray(" \t\r\n \n") << true;
        QTest::newRow("html") << QByteArray("<html><body><b>9.9</b></body></html>") << true;
        QTest::newRow("html page") << QByteArray("<!DOCTYPE html>\n<html><head><title>404 Not "
                                                 "Found</title></head></html>\n")
                                   << true;
        QTest::newRow("suffix") << QByteArray("1.2beta") << true;
        QTest::newRow("suffix after dash") << QByteArray("1.2-rc1") << true;
        QTest::newRow("prefix") << QByteArray("v1.2") << true;
        QTest::newRow("words") << QByteArray("Moriva 1.2") << true;
        QTest::newRow("two lines") << QByteArray("1.2\n1.3\n") << true;
        QTest::newRow("inner space") << QByteArray("1. 2") << true;
        QTest::newRow("trailing dot") << QByteArray("1.2.") << true;
        QTest::newRow("leading dot") << QByteArray(".1.2") << true;
        QTest::newRow("empty part") << QByteArray("1..2") << true;
        QTest::newRow("negative") << QByteArray("-1.2") << true;
        QTest::newRow("too many parts") << QByteArray("1.2.3.4.5") << true;
        QTest::newRow("part too long") << QByteArray("1.1234567") << true;
        QTest::newRow("nul inside") << QByteArray("1.2\0" "3", 5) << true;
        QTest::newRow("full-width digits") << QByteArray("\xef\xbc\x91.\xef\xbc\x92") << true;
        QTest::newRow("arabic-indic digits") << QByteArray("\xd9\xa1.\xd9\xa2") << true;
        QTest::newRow("not utf-8") << QByteArray("\xff\xfe" "1\0.\0" "2\0", 8) << true;
    }
    void refusesWhatIsNoVersionNumber()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, fetched);

        const VersionCheck::Outcome outcome = VersionCheck::evaluate(u"0.1.0"_s, reply, fetched);
        QCOMPARE(outcome.result, VersionCheck::CantDownload);
        QVERIFY(outcome.published.isEmpty());
        QCOMPARE(outcome.message, StringTable::localizedString(u"CantDownloadLatestVersion"));
        QVERIFY(!outcome.message.contains(u'<'));
    }

    void versionNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isVersion");

        QTest::newRow("one part") << u"1"_s << true;
        QTest::newRow("four parts") << u"1.2.3.4"_s << true;
        QTest::newRow("leading zeros") << u"01.002"_s << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("line end") << u"1.2\n"_s << false;
        QTest::newRow("space") << u" 1.2"_s << false;
        QTest::newRow("letter") << u"1.2a"_s << false;
        QTest::newRow("full-width digit") << u"\uff11"_s << false;
    }
    void versionNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, isVersion);
        QCOMPARE(VersionCheck::isVersionNumber(text), isVersion);
    }

    void replyLimitHoldsAnyVersionNumber()
    {
        // The longest version number the check accepts fits well within the reply limit.
        const QString longest = u"999999.999999.999999.999999"_s;
        QVERIFY(VersionCheck::isVersionNumber(longest));
        QVERIFY(longest.size() < VersionCheck::kMaxReplyBytes);
    }
};

QTEST_GUILESS_MAIN(VersionCheckTest)
#include "VersionCheckTest.moc"
