// One Moriva per data folder: a later start hands its files to the running instance over a
// local socket and ends; a start with another data folder opens its own window. Checked end to
// end with the real application on the offscreen platform.

#include "GuiTestSupport.h"
#include "SingleInstance.h"

#include <QLocalSocket>
#include <QProcess>

using namespace Qt::StringLiterals;
using namespace GuiTest;

class SingleInstanceTest : public QObject
{
    Q_OBJECT

    Home m_home;

    static bool instanceAnswers(const QString &dataFolder)
    {
        QLocalSocket probe;
        probe.connectToServer(SingleInstance::serverName(dataFolder));
        return probe.waitForConnected(200);
    }
    // A start of the real application in the test's private home, in one of its folders.
    std::unique_ptr<QProcess> startApp(const QString &folder, const QStringList &arguments,
                                       const QString &dataHome = QString()) const
    {
        auto app = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!dataHome.isEmpty())
            env.insert(u"XDG_DATA_HOME"_s, dataHome);
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"MORIVA_VERSION_URL"_s, u"http://127.0.0.1:9/version.txt"_s);
        app->setProcessEnvironment(env);
        app->setWorkingDirectory(m_home.path(folder));
        app->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app->start(QStringLiteral(MORIVA_APP_PATH), arguments);
        return app;
    }
    // Whether the start ended by itself (or, asked to, when terminated: as from its menu) with
    // success.
    static bool endsWell(QProcess *app, int ms, bool terminate = false)
    {
        if (terminate)
            app->terminate();
        return app->waitForFinished(ms) && app->exitStatus() == QProcess::NormalExit
            && app->exitCode() == 0;
    }

private slots:
    // The socket lives in the private runtime folder of the test's home.
    void initTestCase() { QVERIFY(m_home.setUp()); }
    void init() { QVERIFY(QDir().mkpath(m_home.dataFolder())); }
    void cleanup() { m_home.clean(); }

    void secondStartHandsItsFileToTheRunningWindow()
    {
        // What a crashed instance leaves behind: the socket's file with nobody answering on it.
        const QString socket = SingleInstance::serverName(m_home.dataFolder());
        QVERIFY(socket.startsWith(m_home.path(u"runtime"_s)));
        QVERIFY(writeTestFile(socket, QByteArray()));
        QVERIFY(!writeJnbFile(m_home, {{QDate(2026, 3, 5), u"セブンイレブン"_s, 1500, 0, 98500},
                                       {QDate(2026, 3, 6), u"給与"_s, 0, 200000, 298500}},
                              u"NBG_三月.csv"_s).isEmpty());
        const QString ebank = writeEbankFile(m_home, {{QDate(2026, 3, 7), u"ローソン"_s, 50, 0, 950}});

        // The first start takes the socket over, imports the file of its command line and stays.
        const auto first = startApp(u"home"_s, {ebank});
        QVERIFY2(first->waitForStarted(5000), qPrintable(first->errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(m_home.dataFolder()), 15000);

        // The second start, with a name relative to its own folder, hands it over and ends.
        const auto second = startApp(u"statements"_s, {u"NBG_三月.csv"_s});
        QVERIFY2(endsWell(second.get(), 10000), "the second start did not end well");
        QCOMPARE(first->state(), QProcess::Running);

        // A start with another data folder is a Moriva of its own: the file goes to its ledger.
        const QString otherHome = m_home.path(u"other"_s);
        const QString otherFolder = QDir(otherHome).filePath(u"Moriva"_s);
        const auto other = startApp(u"statements"_s, {u"NBG_三月.csv"_s}, otherHome);
        // Its import is committed as it is made, with no quit needed.
        QTRY_COMPARE_WITH_TIMEOUT(storedEntryCount(otherFolder, Bank::Jnb), 2, 15000);
        QCOMPARE(other->state(), QProcess::Running);
        other->kill();
        QVERIFY(other->waitForFinished(10000));

        // Asked to end, the first instance quits as from its menu, saving both ledgers.
        QVERIFY2(endsWell(first.get(), 10000, true), "the first instance did not quit on SIGTERM");
        QVERIFY(!QFile::exists(socket));
        QCOMPARE(storedEntryCount(m_home.dataFolder(), Bank::Jnb), 2);
        QCOMPARE(storedEntryCount(m_home.dataFolder(), Bank::Ebank), 1);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
