#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

// One Moriva window per user: a second "moriva FILE" hands its files to the running instance,
// which imports them and comes to the front, and the second process ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // The per-user name of the local socket.
    static QString serverName();
    // Hands the files to a running instance; true when one took them.
    static bool sendToRunningInstance(const QStringList &files, int timeoutMs = 2000);
    // Starts answering later instances; false when the socket cannot be made.
    bool listen();

signals:
    // A later instance asked to open these files (possibly none: just come to the front).
    void filesReceived(const QStringList &files);

private:
    QLocalServer *m_server;
};
