// SPDX-License-Identifier: GPL-3.0-or-later
// `moriva --version` and `--help`, run for real with no display at all: they print and exit 0
// where opening a window would fail.

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

class StartOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void answersWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments"); QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("expected"); // the start of what is printed
        QTest::newRow("version") << QStringList{u"--version"_s} << u"C"_s
                                 << u"moriva " MORIVA_VERSION "\n"_s;
        QTest::newRow("help") << QStringList{u"--help"_s} << u"C"_s << u"Usage: moriva"_s;
        QTest::newRow("-h after a file") << QStringList{u"NBG.csv"_s, u"-h"_s} << u"C"_s
                                         << u"Usage: moriva"_s;
        QTest::newRow("help in Japanese") << QStringList{u"--help"_s} << u"ja_JP.UTF-8"_s
                                          << u"使い方: moriva"_s;
    }
    void answersWithoutADisplay()
    {
        QFETCH(QStringList, arguments); QFETCH(QString, language); QFETCH(QString, expected);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s,
                                    u"LC_ALL"_s, u"LC_MESSAGES"_s, u"LANGUAGE"_s})
            env.remove(name);
        env.insert(u"LANG"_s, language);
        QProcess moriva;
        moriva.setProcessEnvironment(env);
        moriva.start(QStringLiteral(MORIVA_APP_PATH), arguments);
        QVERIFY(moriva.waitForFinished(20000));
        QCOMPARE(moriva.exitStatus(), QProcess::NormalExit);
        QCOMPARE(moriva.exitCode(), 0);
        const QString printed = QString::fromUtf8(moriva.readAllStandardOutput());
        QVERIFY2(printed.startsWith(expected), qPrintable(printed));
    }
};

QTEST_GUILESS_MAIN(StartOptionsTest)
#include "StartOptionsTest.moc"
