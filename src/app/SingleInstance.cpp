#include "SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
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

QString SingleInstance::serverName()
{
    return QStringLiteral("moriva-%1").arg(::getuid());
}

bool SingleInstance::sendToRunningInstance(const QStringList &files, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
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
    if (m_server->listen(serverName()))
        return true;
    // A socket left behind by an instance that crashed: nobody answers on it.
    QLocalServer::removeServer(serverName());
    return m_server->listen(serverName());
}
