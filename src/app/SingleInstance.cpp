#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
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

bool SingleInstance::sendToRunningInstance(const QString &dataFolder, const QStringList &files,
                                           int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName(dataFolder));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QStringList absolute;
    for (const QString &file : files)
        absolute.append(QFileInfo(file).absoluteFilePath());
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream << absolute;
    socket.write(data);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The running instance answers once it has taken the files.
    return socket.waitForReadyRead(timeoutMs) && socket.readAll() == "ok";
}

bool SingleInstance::listen()
{
    if (m_server->listen(m_name))
        return true;
    // A socket left behind by an instance that crashed: nobody answers on it.
    QLocalServer::removeServer(m_name);
    return m_server->listen(m_name);
}
