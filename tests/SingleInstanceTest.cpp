// One Moriva per user: a later start hands its files to the running instance over a local
// socket. Checked in process (a listening instance and a sender on another thread) and end to
// end with the real application on the offscreen platform.

#include "GuiTestSupport.h"
#include "SingleInstance.h"
#include "ledger/LedgerArchive.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

// Runs sendToRunningInstance on its own thread, as a second process would, while the caller's
// thread keeps the listening instance's event loop going.
class Sender
{
public:
    Sender(const QStringList &files, int timeoutMs = 2000)
        : m_thread([this, files, timeoutMs] {
            m_result = SingleInstance::sendToRunningInstance(files, timeoutMs);
            m_done = true;
        })
    {
    }
    ~Sender() { m_thread.join(); }
    bool done() const { return m_done; }
    bool result() const { return m_result; }

private:
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_result{false};
    std::thread m_thread;
};

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT

    Home m_home;
    QString m_socketDir;

    QString socketPath() const { return QDir(m_socketDir).filePath(SingleInstance::serverName()); }

    // The application's environment: the test's private home and socket folder.
    QProcessEnvironment appEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR",
                                 "TMPDIR"})
            env.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"MORIVA_VERSION_URL"_s, u"http://127.0.0.1:9/version.txt"_s);
        return env;
    }
    bool instanceAnswers() const
    {
        QLocalSocket probe;
        probe.connectToServer(SingleInstance::serverName());
        return probe.waitForConnected(200);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.setUp());
        // The socket lives in the temporary folder: a private one keeps this test apart from a
        // Moriva the user may be running.
        m_socketDir = m_home.path(u"tmp");
        QVERIFY(QDir().mkpath(m_socketDir));
        qputenv("TMPDIR", QFile::encodeName(m_socketDir));
        QCOMPARE(QDir::tempPath(), QDir(m_socketDir).canonicalPath());
        QVERIFY(!instanceAnswers());
    }
    void cleanup()
    {
        QLocalServer::removeServer(SingleInstance::serverName());
        m_home.clean();
    }

    void serverNameIsPerUser()
    {
        const QString name = SingleInstance::serverName();
        QVERIFY(name.startsWith(u"moriva-"_s));
        QCOMPARE(name, SingleInstance::serverName());
        bool numeric = false;
        name.mid(7).toUInt(&numeric);
        QVERIFY(numeric);
    }

    void runningInstanceReceivesFiles_data()
    {
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QStringList>("received");
        const QString cwd = QDir::currentPath();
        QTest::newRow("one relative file")
            << QStringList{u"NBG_x.csv"_s} << QStringList{QDir(cwd).filePath(u"NBG_x.csv"_s)};
        QTest::newRow("absolute files")
            << QStringList{u"/data/NBG 1.csv"_s, u"/data/eBANK_2.csv"_s}
            << QStringList{u"/data/NBG 1.csv"_s, u"/data/eBANK_2.csv"_s};
        QTest::newRow("Japanese name")
            << QStringList{u"/明細/NBG_三月.csv"_s} << QStringList{u"/明細/NBG_三月.csv"_s};
        QTest::newRow("no file: come to the front") << QStringList{} << QStringList{};
        // More than a socket takes in one write.
        QStringList many;
        for (int i = 0; i < 3000; ++i)
            many << u"/statements/%1/NBG_%2.csv"_s.arg(QString(100, u'x')).arg(i);
        QTest::newRow("thousands of files") << many << many;
    }
    void runningInstanceReceivesFiles()
    {
        QFETCH(QStringList, sent);
        QFETCH(QStringList, received);
        SingleInstance instance;
        QVERIFY(instance.listen());
        QVERIFY(QFile::exists(socketPath()));
        QSignalSpy spy(&instance, &SingleInstance::filesReceived);

        Sender sender(sent);
        QTRY_VERIFY_WITH_TIMEOUT(sender.done(), 5000);
        QVERIFY(sender.result());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toStringList(), received);
    }

    void severalLaterStartsAreServedInTurn()
    {
        SingleInstance instance;
        QVERIFY(instance.listen());
        QSignalSpy spy(&instance, &SingleInstance::filesReceived);
        for (int i = 0; i < 3; ++i) {
            Sender sender({u"/s/NBG_%1.csv"_s.arg(i)});
            QTRY_VERIFY_WITH_TIMEOUT(sender.done(), 5000);
            QVERIFY(sender.result());
        }
        QCOMPARE(spy.count(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(spy.at(i).at(0).toStringList(), QStringList{u"/s/NBG_%1.csv"_s.arg(i)});
    }

    void withoutInstanceSendingFailsAtOnce()
    {
        QVERIFY(!QFile::exists(socketPath()));
        // Far less than the timeout of ten seconds: nobody is there to wait for.
        Sender sender({u"NBG_x.csv"_s}, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(sender.done(), 1500);
        QVERIFY(!sender.result());
    }

    void socketLeftBehindIsTakenOver()
    {
        // What a crashed instance leaves: the socket's file with nobody answering on it.
        QVERIFY(writeTestFile(socketPath(), QByteArray()));
        {
            Sender sender({u"NBG_x.csv"_s}, 10000);
            QTRY_VERIFY_WITH_TIMEOUT(sender.done(), 1500);
            QVERIFY(!sender.result());
        }
        SingleInstance instance;
        QVERIFY(instance.listen());
        QSignalSpy spy(&instance, &SingleInstance::filesReceived);
        Sender sender({u"/s/NBG_x.csv"_s});
        QTRY_VERIFY_WITH_TIMEOUT(sender.done(), 5000);
        QVERIFY(sender.result());
        QCOMPARE(spy.count(), 1);
    }

    void instanceThatIsGoneNoLongerAnswers()
    {
        {
            SingleInstance instance;
            QVERIFY(instance.listen());
            QVERIFY(instanceAnswers());
        }
        QVERIFY(!QFile::exists(socketPath()));
        Sender sender({u"NBG_x.csv"_s}, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(sender.done(), 1500);
        QVERIFY(!sender.result());
    }

    void secondApplicationHandsOverAndEnds()
    {
        const QString path = writeJnbFile(
            m_home, {{QDate(2026, 3, 5), u"セブンイレブン"_s, 1500, 0, 98500},
                     {QDate(2026, 3, 6), u"給与"_s, 0, 200000, 298500}},
            u"NBG_x.csv"_s);
        QVERIFY(!path.isEmpty());

        QProcess first;
        first.setProcessEnvironment(appEnvironment());
        first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        first.start(QStringLiteral(MORIVA_APP_PATH), {});
        QVERIFY2(first.waitForStarted(5000), qPrintable(first.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(), 15000);

        QProcess second;
        second.setProcessEnvironment(appEnvironment());
        second.setWorkingDirectory(m_home.path(u"statements"));
        second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        second.start(QStringLiteral(MORIVA_APP_PATH), {u"NBG_x.csv"_s});
        QVERIFY(second.waitForStarted(5000));
        QVERIFY2(second.waitForFinished(10000), "the second start did not end");
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        // Asked to end, the first instance quits as from its menu: its ledger holds the
        // statement the second start handed over.
        first.terminate();
        QVERIFY2(first.waitForFinished(10000), "the first instance did not quit on SIGTERM");
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        const LedgerArchive::LoadResult saved = LedgerArchive::load(m_home.archive(1));
        QCOMPARE(saved.status, LedgerArchive::LoadStatus::Loaded);
        QCOMPARE(saved.items.size(), 2);
        QVERIFY(!QFile::exists(socketPath()));
    }

    void applicationWithoutRunningInstanceStaysOpen()
    {
        const QString path = writeJnbFile(
            m_home, {{QDate(2026, 3, 5), u"ローソン"_s, 500, 0, 9500}}, u"NBG_y.csv"_s);
        QVERIFY(!path.isEmpty());
        QVERIFY(!instanceAnswers());
        QProcess app;
        app.setProcessEnvironment(appEnvironment());
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(QStringLiteral(MORIVA_APP_PATH), {path});
        QVERIFY(app.waitForStarted(5000));
        // It becomes the running instance itself and keeps its window open.
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(), 15000);
        QVERIFY(!app.waitForFinished(2000));
        QCOMPARE(app.state(), QProcess::Running);
        // The file on its command line was imported into the ledger it saves at quit.
        app.terminate();
        if (!app.waitForFinished(10000)) {
            app.kill();
            app.waitForFinished(5000);
            QFAIL("the application did not quit on SIGTERM");
        }
        QCOMPARE(app.exitCode(), 0);
        const LedgerArchive::LoadResult saved = LedgerArchive::load(m_home.archive(1));
        QCOMPARE(saved.status, LedgerArchive::LoadStatus::Loaded);
        QCOMPARE(saved.items.size(), 1);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
