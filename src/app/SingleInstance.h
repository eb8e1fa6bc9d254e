#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

// One Moriva window per data folder: a second "moriva FILE" with the same data folder hands its
// files to the running instance, which imports them and comes to the front, and the second
// process ends. A start with another data folder (another XDG_DATA_HOME) opens its own window,
// so that a file never lands in another profile's ledger.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &dataFolder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The local socket of the data folder: in the user's runtime folder ($XDG_RUNTIME_DIR, or a
    // private per-user folder), named by the folder's canonical path.
    static QString serverName(const QString &dataFolder);
    enum class HandOver {
        Taken,      // the running instance took the files
        NoInstance, // nobody listens on the data folder's socket
        NoAnswer,   // an instance listens but did not take the files in time
    };
    // Hands the files to the instance of the data folder. An instance that listens is alive,
    // even when busy (a long import answers between its pieces): it is given answerTimeoutMs to
    // take the files, never written off as gone.
    static HandOver handOver(const QString &dataFolder, const QStringList &files,
                             int answerTimeoutMs = 60000);
    // Starts answering later instances; false when the socket cannot be made, or when another
    // instance listens on it already. Only a socket nobody answers on is taken over.
    bool listen();

signals:
    // A later instance asked to open these files (possibly none: just come to the front).
    void filesReceived(const QStringList &files);

private:
    QLocalServer *m_server;
    QString m_name;
};
