// The update check over real HTTP, against a small server on 127.0.0.1 in this process: what the
// update sheet says for each kind of reply, and whether the check at start-up opens it.

#include "GuiTestSupport.h"
#include "UpdateChecker.h"
#include "UpdateSheet.h"
#include "views/Settings.h"
#include "views/StringTable.h"

#include <QCheckBox>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace GuiTest;

namespace {

// Answers every request, one a connection: Answer with the status, a length and the body;
// Endless with the status and the body, then spaces for as long as the client reads.
class VersionServer : public QTcpServer
{
public:
    enum Mode { Answer, Endless, Refused }; // Refused: not listening
    QList<QPointer<QTcpSocket>> requests;   // in the order they came; null once closed

    VersionServer(Mode mode, int status, const QByteArray &body)
    {
        connect(this, &QTcpServer::newConnection, this, [=, this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QTcpSocket::readyRead, this, [=, this] {
                    if (requests.contains(socket) || !socket->peek(65536).contains("\r\n\r\n"))
                        return;
                    requests << socket;
                    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + " Reason\r\n";
                    if (mode == Answer)
                        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
                    socket->write(head + "Connection: close\r\n\r\n" + body);
                    if (mode == Answer)
                        return socket->disconnectFromHost();
                    auto *pump = new QTimer(socket);
                    pump->callOnTimeout(socket, [socket] {
                        if (socket->isOpen() && socket->bytesToWrite() < 65536)
                            socket->write(QByteArray(4096, ' '));
                    });
                    pump->start(1);
                });
            }
        });
        if (mode != Refused)
            listen(QHostAddress::LocalHost);
    }
};

} // namespace

class UpdateCheckerTest : public QObject
{
    Q_OBJECT

    Home m_home;
    App m_app;

    // Whether no check of the window is awaiting its reply.
    bool windowIsIdle() const
    {
        const auto checkers = m_app.window->findChildren<UpdateChecker *>();
        return std::ranges::none_of(checkers, &UpdateChecker::isChecking);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.setUp());
        // Only ever the server below: no proxy, whatever the environment says.
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    }
    void cleanup() { m_app.quit(); }

    // A build without an update address asks nobody: not at start, not from the Help menu, and
    // the preference says why it cannot be turned on.
    void noAddressNoCheck()
    {
        qunsetenv("MORIVA_VERSION_URL");
        if (UpdateChecker::hasAddress())
            QSKIP("this build was given an update address");
        Settings::store().setValue(Settings::key(Settings::CheckForUpdatesAtStart), true);
        m_app.start();
        QVERIFY(windowIsIdle());
        m_app.window->findChild<QAction *>(u"checkForUpdates"_s)->trigger();
        UpdateSheet *sheet = m_app.window->updateSheet();
        QVERIFY(sheet->isVisible() && windowIsIdle() && !sheet->messageField()->text().isEmpty());
        QVERIFY(!sheet->findChild<QPushButton *>(u"programPage"_s)->isVisible());
        auto *box = m_app.window->findChild<QCheckBox *>(u"checkUpdate"_s);
        QVERIFY(box && !box->isEnabled());
    }

    void sheetSaysWhatTheServerAnswered_data()
    {
        QTest::addColumn<int>("mode"); QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body"); QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("checkAtStart");
        using S = VersionServer;
        const auto row = [](const char *tag, S::Mode mode, int status, const QByteArray &body,
                            const QString &message, bool checkAtStart = true) {
            QTest::newRow(tag) << int(mode) << status << body << message << checkAtStart;
        };
        const QString newer = StringTable::localizedString(u"LatestVersionRelease").arg(u"99.0"_s);
        const QString failed = StringTable::localizedString(u"CantDownloadLatestVersion");
        row("newer", S::Answer, 200, "99.0\n", newer);
        row("newer, no check at start", S::Answer, 200, "99.0", newer, false);
        // What else a reply may hold is VersionCheckTest's; here, what reaches it.
        row("1 KiB and a byte", S::Answer, 200, QByteArray("99.0").leftJustified(1025), failed);
        row("endless", S::Endless, 200, "99.0", failed);
        row("HTTP error with a version", S::Answer, 404, "99.0", failed);
        row("connection refused", S::Refused, 0, "", failed);
    }
    void sheetSaysWhatTheServerAnswered()
    {
        QFETCH(int, mode); QFETCH(int, status); QFETCH(QByteArray, body); QFETCH(QString, message);
        QFETCH(bool, checkAtStart);
        VersionServer server(VersionServer::Mode(mode), status, body);
        const quint16 port = server.isListening() ? server.serverPort() : 9; // 9: nobody listens
        qputenv("MORIVA_VERSION_URL", u"http://127.0.0.1:%1/version.txt"_s.arg(port).toUtf8());
        const bool newer = message.contains(u"99.0"_s);
        const int served = server.isListening() ? 1 : 0; // requests a check makes

        Settings::store().setValue(Settings::key(Settings::CheckForUpdatesAtStart), checkAtStart);
        m_app.start();
        // The check at start-up does not hold the window up; only a newer version opens the
        // sheet, which then checks once more.
        QCOMPARE(windowIsIdle(), !checkAtStart);
        QTRY_VERIFY_WITH_TIMEOUT(windowIsIdle(), 10000);
        UpdateSheet *sheet = m_app.window->updateSheet();
        QCOMPARE(sheet->isVisible(), checkAtStart && newer);
        QCOMPARE(server.requests.size(), checkAtStart ? served * (newer ? 2 : 1) : 0);
        const qsizetype before = server.requests.size();
        if (sheet->isVisible()) {
            QCOMPARE(sheet->messageField()->text(), message);
            QTest::mouseClick(sheet->findChild<QPushButton *>(u"close"_s), Qt::LeftButton);
            QVERIFY(!sheet->isVisible());
        }

        // The Help menu opens the sheet at once and asks again.
        m_app.window->findChild<QAction *>(u"checkForUpdates"_s)->trigger();
        QVERIFY(sheet->isVisible());
        // Its pages are beside the published version number.
        QVERIFY(sheet->findChild<QPushButton *>(u"programPage"_s)->isVisible());
        QCOMPARE(UpdateChecker::programPageUrl(), QUrl(u"http://127.0.0.1:%1/"_s.arg(port)));
        QVERIFY(!windowIsIdle());
        QVERIFY(sheet->messageField()->text() != message);
        QTRY_VERIFY_WITH_TIMEOUT(windowIsIdle(), 10000);
        QCOMPARE(sheet->messageField()->text(), message);
        QCOMPARE(sheet->messageField()->textFormat(), Qt::PlainText);
        QCOMPARE(server.requests.size(), before + served);
        // Every connection ends; an endless reply's because the client leaves it.
        QTRY_VERIFY(server.requests.isEmpty() || server.requests.last().isNull());
    }
};

QTEST_MAIN(UpdateCheckerTest)
#include "UpdateCheckerTest.moc"
