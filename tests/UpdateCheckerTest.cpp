// The update check over real HTTP, against a small server on 127.0.0.1 in this process: the
// published version read and compared, failed and refused replies (error statuses, no answer,
// replies too long to be a version number, markup), a later check abandoning an earlier one, the
// event loop running while a reply is awaited, and the check as the window makes it at start-up
// and from the Help menu, with the outcome shown as plain text in the update sheet.

#include "GuiTestSupport.h"
#include "UpdateChecker.h"
#include "UpdateSheet.h"
#include "views/StringTable.h"
#include "views/VersionCheck.h"

#include <QHostAddress>
#include <QLabel>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

// An HTTP server on 127.0.0.1 that answers every request with the reply set for it. Each
// connection carries one request and is closed by the server after its answer.
class VersionServer : public QObject
{
public:
    enum Mode {
        Answer,              // status, Content-Length and body, after the delay
        AnswerWithoutLength, // status and body, the end of the body told by closing only
        Endless,             // status, then a body that goes on until the client leaves
        Silent,              // reads the request and never answers
    };
    struct Reply {
        Mode mode = Answer;
        int status = 200;
        QByteArray body;
        int delayMs = 0;
    };
    struct Connection {
        QByteArray requestLine;
        bool closed = false;
        qint64 bodyBytesSent = 0;
    };

    // The chunks of an endless body, and how many are sent at most before the server gives up.
    static constexpr qint64 kChunkBytes = 4096;
    static constexpr int kMaxChunks = 4096; // 16 MiB

    Reply reply;

    bool listen()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &VersionServer::accept);
        return m_server.listen(QHostAddress(QHostAddress::LocalHost), 0);
    }
    QByteArray url() const
    {
        return "http://127.0.0.1:" + QByteArray::number(m_server.serverPort()) + "/version.txt";
    }
    int requests() const { return int(m_connections.size()); }
    const Connection &connection(int i) const { return *m_connections.at(i); }

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            auto received = std::make_shared<QByteArray>();
            auto state = std::make_shared<Connection>();
            connect(socket, &QTcpSocket::disconnected, socket, [socket, state] {
                state->closed = true;
                socket->deleteLater();
            });
            connect(socket, &QTcpSocket::readyRead, this, [this, socket, received, state] {
                const bool known = m_connections.contains(state);
                received->append(socket->readAll());
                if (known)
                    return;
                if (!received->contains("\r\n\r\n")) {
                    if (received->size() > 64 * 1024)
                        socket->abort();
                    return;
                }
                state->requestLine = received->left(received->indexOf("\r\n"));
                m_connections.append(state);
                respond(socket, state, reply);
            });
        }
    }

    static QByteArray head(const Reply &r, bool withLength)
    {
        QByteArray reason = r.status == 200   ? "OK"
                            : r.status == 404 ? "Not Found"
                            : r.status == 500 ? "Internal Server Error"
                                              : "Status";
        QByteArray out = "HTTP/1.1 " + QByteArray::number(r.status) + ' ' + reason + "\r\n";
        out += "Content-Type: text/plain; charset=utf-8\r\nConnection: close\r\n";
        if (withLength)
            out += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
        return out + "\r\n";
    }

    static void respond(QTcpSocket *socket, const std::shared_ptr<Connection> &state,
                        const Reply &r)
    {
        switch (r.mode) {
        case Silent:
            return;
        case Answer:
        case AnswerWithoutLength:
            QTimer::singleShot(r.delayMs, socket, [socket, state, r] {
                socket->write(head(r, r.mode == Answer) + r.body);
                state->bodyBytesSent = r.body.size();
                socket->disconnectFromHost();
            });
            return;
        case Endless: {
            socket->write(head(r, false));
            auto *pump = new QTimer(socket);
            pump->setInterval(2);
            connect(pump, &QTimer::timeout, socket, [socket, state, pump] {
                if (state->closed || socket->state() != QAbstractSocket::ConnectedState)
                    return pump->stop();
                if (state->bodyBytesSent >= kChunkBytes * kMaxChunks) {
                    pump->stop();
                    socket->disconnectFromHost();
                    return;
                }
                if (socket->bytesToWrite() > 64 * 1024)
                    return;
                QByteArray chunk(kChunkBytes, ' ');
                if (state->bodyBytesSent == 0)
                    chunk.replace(0, 4, "99.0");
                socket->write(chunk);
                state->bodyBytesSent += chunk.size();
            });
            pump->start();
            return;
        }
        }
    }

    QTcpServer m_server;
    QList<std::shared_ptr<Connection>> m_connections;
};

QString cantDownload()
{
    return StringTable::localizedString(u"CantDownloadLatestVersion");
}
QString available(const QString &version)
{
    return StringTable::localizedString(u"LatestVersionRelease").arg(version);
}
QString latest(const QString &version)
{
    return StringTable::localizedString(u"YouUseLatestVersion").arg(version);
}

// "99.0" followed by spaces up to the given size: a version number if read whole.
QByteArray paddedVersion(qsizetype size)
{
    QByteArray body(size, ' ');
    body.replace(0, 4, "99.0");
    return body;
}

// Collects the outcomes a checker reports.
struct Outcomes {
    QList<VersionCheck::Outcome> list;
    explicit Outcomes(UpdateChecker *checker)
    {
        QObject::connect(checker, &UpdateChecker::finished, checker,
                         [this](const VersionCheck::Outcome &o) { list.append(o); });
    }
};

} // namespace

Q_DECLARE_METATYPE(VersionServer::Mode)

class UpdateCheckerTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;
    std::unique_ptr<VersionServer> m_server;

    // The application as main() builds it, the check at start-up on or off.
    void startApp(bool checkAtStartUp)
    {
        m_app.controller = std::make_unique<Controller>();
        m_app.controller->setupPreferences();
        m_app.controller->searchingApplicationSupportDirectory();
        m_app.controller->openCurrentBankbookInfoArchive();
        m_app.controller->setCheckLatestVersionAtStartup(checkAtStartUp);
        m_app.window = std::make_unique<BankbookWindow>(m_app.controller.get());
        m_app.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_app.window.get()));
        m_app.window->startUp();
    }
    QDialog *sheet() const { return m_app.window->findChild<QDialog *>(u"updateSheet"_s); }
    QLabel *sheetMessage() const { return sheet()->findChild<QLabel *>(u"updateMessage"_s); }
    QAction *checkForUpdates() const
    {
        return m_app.window->findChild<QAction *>(u"checkForUpdates"_s);
    }
    // Whether no check of the window is awaiting its reply.
    bool windowIsIdle() const
    {
        for (const UpdateChecker *checker : m_app.window->findChildren<UpdateChecker *>()) {
            if (checker->isChecking())
                return false;
        }
        return true;
    }
    void closeSheet()
    {
        QTest::mouseClick(sheet()->findChild<QPushButton *>(u"close"_s), Qt::LeftButton);
        QTRY_VERIFY(!sheet()->isVisible());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.setUp());
        // Only ever the server below: no proxy, whatever the environment says.
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    }
    void init()
    {
        m_server = std::make_unique<VersionServer>();
        QVERIFY(m_server->listen());
        qputenv("MORIVA_VERSION_URL", m_server->url());
    }
    void cleanup()
    {
        m_app.quit();
        m_server.reset();
        m_home.clean();
    }

    // ------------------------------------------------------------ the checker

    void checkerReadsThePublishedVersion_data()
    {
        QTest::addColumn<VersionServer::Mode>("mode");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("published");

        using S = VersionServer;
        const auto row = [](const char *tag, S::Mode mode, int status, const QByteArray &body,
                            int result, const QString &published = QString(), int delayMs = 0,
                            int timeoutMs = 5000) {
            QTest::newRow(tag) << mode << status << body << delayMs << timeoutMs << result
                               << published;
        };
        const QString installed = UpdateChecker::installedVersion();
        row("equal", S::Answer, 200, installed.toUtf8() + '\n', 1, installed);
        row("newer", S::Answer, 200, "99.0", 2, u"99.0"_s);
        row("newer, parts compared as numbers", S::Answer, 200, "0.10000\r\n", 2, u"0.10000"_s);
        row("older", S::Answer, 200, "0.0.1", 3, u"0.0.1"_s);
        row("newer, without length", S::AnswerWithoutLength, 200, "99.0\n", 2, u"99.0"_s);
        row("empty body", S::Answer, 200, "", 0);
        row("white space body", S::Answer, 200, " \r\n", 0);
        row("404 with a version", S::Answer, 404, "99.0", 0);
        row("500 with a version", S::Answer, 500, "99.0", 0);
        row("html", S::Answer, 200, "<html><body><h1>99.0</h1></body></html>\n", 0);
        row("exactly 1 KiB", S::Answer, 200, paddedVersion(1024), 2, u"99.0"_s);
        row("1 KiB and a byte", S::Answer, 200, paddedVersion(1025), 0);
        row("64 KiB", S::Answer, 200, paddedVersion(64 * 1024), 0);
        row("1 KiB and a byte, without length", S::AnswerWithoutLength, 200, paddedVersion(1025),
            0);
        row("64 KiB, without length", S::AnswerWithoutLength, 200, paddedVersion(64 * 1024), 0);
        row("endless body", S::Endless, 200, "", 0);
        row("no answer, time-out", S::Silent, 200, "", 0, QString(), 0, 300);
        row("answer after a delay, within the time-out", S::Answer, 200, "99.0", 2, u"99.0"_s,
            600, 3000);
    }
    void checkerReadsThePublishedVersion()
    {
        QFETCH(VersionServer::Mode, mode);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(int, delayMs);
        QFETCH(int, timeoutMs);
        QFETCH(int, result);
        QFETCH(QString, published);

        m_server->reply = {mode, status, body, delayMs};
        QCOMPARE(UpdateChecker::versionUrl().toEncoded(), m_server->url());

        UpdateChecker checker;
        checker.setTransferTimeoutMs(timeoutMs);
        Outcomes outcomes(&checker);
        checker.checkLatestVersion();
        QVERIFY(checker.isChecking());
        QVERIFY(outcomes.list.isEmpty()); // never told before the reply is in

        QTRY_COMPARE_WITH_TIMEOUT(outcomes.list.size(), 1, 5000);
        QVERIFY(!checker.isChecking());
        const VersionCheck::Outcome &outcome = outcomes.list.first();
        QCOMPARE(int(outcome.result), result);
        QCOMPARE(outcome.published, published);
        if (result == VersionCheck::CantDownload)
            QCOMPARE(outcome.message, cantDownload());
        else
            QVERIFY2(outcome.message.contains(published), qPrintable(outcome.message));

        QCOMPARE(m_server->requests(), 1);
        QCOMPARE(m_server->connection(0).requestLine, QByteArray("GET /version.txt HTTP/1.1"));
        if (mode == VersionServer::Endless) {
            // The client left long before the server would have stopped.
            QTRY_VERIFY(m_server->connection(0).closed);
            QVERIFY(m_server->connection(0).bodyBytesSent
                    < VersionServer::kChunkBytes * VersionServer::kMaxChunks);
        }
        QCOMPARE(outcomes.list.size(), 1);
    }

    void checkerChecksAgainEachTimeAsked()
    {
        m_server->reply.body = "0.0.1";
        UpdateChecker checker;
        Outcomes outcomes(&checker);
        checker.checkLatestVersion();
        QTRY_COMPARE_WITH_TIMEOUT(outcomes.list.size(), 1, 5000);
        QCOMPARE(outcomes.list.last().result, VersionCheck::OlderPublished);

        m_server->reply.body = "99.0";
        checker.checkLatestVersion();
        QTRY_COMPARE_WITH_TIMEOUT(outcomes.list.size(), 2, 5000);
        QCOMPARE(outcomes.list.last().result, VersionCheck::NewerPublished);
        QCOMPARE(m_server->requests(), 2);
    }

    void laterCheckAbandonsTheEarlierOne()
    {
        m_server->reply.mode = VersionServer::Silent;
        UpdateChecker checker;
        checker.setTransferTimeoutMs(300);
        Outcomes outcomes(&checker);
        checker.checkLatestVersion();
        QTRY_COMPARE_WITH_TIMEOUT(m_server->requests(), 1, 5000);

        m_server->reply = {VersionServer::Answer, 200, "99.0", 0};
        checker.checkLatestVersion();
        QVERIFY(checker.isChecking());
        QTRY_COMPARE_WITH_TIMEOUT(outcomes.list.size(), 1, 5000);
        QCOMPARE(outcomes.list.first().result, VersionCheck::NewerPublished);
        QCOMPARE(m_server->requests(), 2);
        // The first request was given up: its connection is closed, and it told nothing, not
        // even when its time-out would have passed.
        QTRY_VERIFY_WITH_TIMEOUT(m_server->connection(0).closed, 5000);
        QCOMPARE(outcomes.list.size(), 1);
        QVERIFY(!checker.isChecking());
    }

    void eventLoopRunsWhileTheReplyIsAwaited()
    {
        m_server->reply = {VersionServer::Answer, 200, "99.0", 1000};
        UpdateChecker checker;
        Outcomes outcomes(&checker);
        int ticks = 0;
        QTimer timer;
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, &timer, [&ticks] { ++ticks; });
        timer.start();

        checker.checkLatestVersion();
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 5, 5000);
        QVERIFY(checker.isChecking());
        QVERIFY(outcomes.list.isEmpty());

        QTRY_COMPARE_WITH_TIMEOUT(outcomes.list.size(), 1, 5000);
        QCOMPARE(outcomes.list.first().result, VersionCheck::NewerPublished);
    }

    // ------------------------------------------------------------ through the window

    void startUpCheckOpensTheSheetOnlyForANewerVersion_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("opens");

        QTest::newRow("newer") << 200 << QByteArray("99.0\n") << true;
        QTest::newRow("equal") << 200 << UpdateChecker::installedVersion().toUtf8() << false;
        QTest::newRow("older") << 200 << QByteArray("0.0.1") << false;
        QTest::newRow("html") << 200 << QByteArray("<html><b>99.0</b></html>") << false;
        QTest::newRow("404") << 404 << QByteArray("99.0") << false;
    }
    void startUpCheckOpensTheSheetOnlyForANewerVersion()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, opens);

        m_server->reply = {VersionServer::Answer, status, body, 0};
        startApp(true);
        QVERIFY(!sheet()->isVisible());
        QVERIFY(!windowIsIdle()); // the check is running, the window already shown

        if (opens) {
            QTRY_VERIFY_WITH_TIMEOUT(sheet()->isVisible(), 5000);
            // The sheet checks once more, and shows what that check found.
            QTRY_COMPARE_WITH_TIMEOUT(m_server->requests(), 2, 5000);
            QTRY_VERIFY_WITH_TIMEOUT(windowIsIdle(), 5000);
            QCOMPARE(sheetMessage()->text(), available(u"99.0"_s));
            QCOMPARE(sheetMessage()->textFormat(), Qt::PlainText);
            closeSheet();
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(m_server->requests(), 1, 5000);
            QTRY_VERIFY_WITH_TIMEOUT(windowIsIdle(), 5000);
            QVERIFY(!sheet()->isVisible());
            QCOMPARE(m_server->requests(), 1);
        }
    }

    void noCheckAtStartUpWhenNotAsked()
    {
        m_server->reply.body = "99.0";
        startApp(false);
        QVERIFY(windowIsIdle());
        QVERIFY(!sheet()->isVisible());

        // The first request the server sees is the one of the Help menu.
        checkForUpdates()->trigger();
        QVERIFY(sheet()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(windowIsIdle(), 5000);
        QCOMPARE(sheetMessage()->text(), available(u"99.0"_s));
        QCOMPARE(m_server->requests(), 1);
    }

    void helpMenuChecksAgainEachTime()
    {
        m_server->reply.body = UpdateChecker::installedVersion().toUtf8() + "\n";
        startApp(false);
        QAction *action = checkForUpdates();
        QVERIFY(action);
        QVERIFY(action->isEnabled());
        QVERIFY(sheet()->findChild<QPushButton *>(u"programPage"_s));
        QVERIFY(sheet()->findChild<QPushButton *>(u"homePage"_s));

        action->trigger();
        QTRY_VERIFY(sheet()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(windowIsIdle(), 5000);
        QCOMPARE(sheetMessage()->text(), latest(UpdateChecker::installedVersion()));
        QCOMPARE(m_server->requests(), 1);
        closeSheet();

        // A newer version published since: the sheet does not show the earlier outcome while
        // it asks again.
        m_server->reply.body = "99.0";
        action->trigger();
        QVERIFY(sheet()->isVisible());
        QVERIFY(sheetMessage()->text() != latest(UpdateChecker::installedVersion()));
        QTRY_VERIFY_WITH_TIMEOUT(windowIsIdle(), 5000);
        QCOMPARE(sheetMessage()->text(), available(u"99.0"_s));
        QCOMPARE(m_server->requests(), 2);
        closeSheet();

        // The server fails: the sheet says the version could not be found out.
        m_server->reply.status = 404;
        action->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(windowIsIdle(), 5000);
        QCOMPARE(sheetMessage()->text(), cantDownload());
        QCOMPARE(m_server->requests(), 3);
        closeSheet();
    }

    void markupInTheReplyIsNeverRendered()
    {
        m_server->reply.body = "<html><body><a href=\"http://127.0.0.1/\">99.0</a></body></html>";
        startApp(false);
        checkForUpdates()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(windowIsIdle(), 5000);
        QVERIFY(sheet()->isVisible());
        QCOMPARE(sheetMessage()->text(), cantDownload());
        QCOMPARE(sheetMessage()->textFormat(), Qt::PlainText);
        QVERIFY(!sheetMessage()->openExternalLinks());

        // Whatever text the sheet is given is shown as it is, tags and all.
        auto *updateSheet = qobject_cast<UpdateSheet *>(sheet());
        QVERIFY(updateSheet);
        VersionCheck::Outcome outcome;
        outcome.message = u"<b>bold</b>"_s;
        updateSheet->showOutcome(outcome);
        QCOMPARE(sheetMessage()->text(), u"<b>bold</b>"_s);
        QCOMPARE(sheetMessage()->textFormat(), Qt::PlainText);
        closeSheet();
    }

    void windowStaysResponsiveDuringAFetch()
    {
        m_server->reply = {VersionServer::Answer, 200, "99.0", 1000};
        startApp(false);
        int ticks = 0;
        QTimer timer;
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, &timer, [&ticks] { ++ticks; });
        timer.start();

        checkForUpdates()->trigger();
        QVERIFY(sheet()->isVisible());
        const QString asking = sheetMessage()->text();
        QVERIFY(!asking.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(m_server->requests(), 1, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 5, 5000);
        QVERIFY(!windowIsIdle());
        QCOMPARE(sheetMessage()->text(), asking);

        // The sheet can be closed while the reply is awaited; the outcome does not reopen it.
        closeSheet();
        QVERIFY(!windowIsIdle());
        QTRY_VERIFY_WITH_TIMEOUT(windowIsIdle(), 5000);
        QVERIFY(!sheet()->isVisible());
        QCOMPARE(sheetMessage()->text(), available(u"99.0"_s));
        QCOMPARE(m_server->requests(), 1);
    }
};

QTEST_MAIN(UpdateCheckerTest)
#include "UpdateCheckerTest.moc"
