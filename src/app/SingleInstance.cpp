#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

SingleInstance::SingleInstance(const QString &dataFolder, QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
    , m_name(serverName(dataFolder))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                QDataStream stream(socket);
                stream.startTransaction();
                QStringList files;
                stream >> files;
                if (!stream.commitTransaction())
                    return; // wait for the rest
                socket->write("ok");
                socket->flush();
                emit filesReceived(files);
            });
        }
    });
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString &dataFolder)
{
    const QFileInfo folder(dataFolder);
    const QString canonical =
        folder.exists() ? folder.canonicalFilePath() : QDir::cleanPath(folder.absoluteFilePath());
    // A digest keeps the socket's path short, whatever the folder's.
    const QByteArray digest =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return QDir(runtime).filePath(QStringLiteral("moriva-%1-%2")
                                      .arg(::getuid())
                                      .arg(QString::fromLatin1(digest)));
}

SingleInstance::HandOver SingleInstance::handOver(const QString &dataFolder,
                                                  const QStringList &files, int answerTimeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName(dataFolder));
    // The system accepts the connection for a listening instance, however busy it is.
    if (!socket.waitForConnected(2000))
        return HandOver::NoInstance;
    QStringList absolute;
    for (const QString &file : files)
        absolute.append(QFileInfo(file).absoluteFilePath());
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream << absolute;
    socket.write(data);
    // The running instance answers once it has taken the files.
    QByteArray answer;
    QDeadlineTimer deadline(answerTimeoutMs);
    while (answer.size() < 2 && socket.state() == QLocalSocket::ConnectedState
           && socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
        answer += socket.readAll();
    if (answer.size() < 2)
        answer += socket.readAll();
    return answer == "ok" ? HandOver::Taken : HandOver::NoAnswer;
}

bool SingleInstance::listen()
{
    if (m_server->listen(m_name))
        return true;
    // A socket left behind by an instance that crashed: nobody answers on it. One that
    // accepts a connection belongs to a live instance and is left alone.
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(m_name);
    return m_server->listen(m_name);
}
