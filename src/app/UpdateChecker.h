#pragma once

#include "views/VersionCheck.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Fetches the published version without blocking the window: at most 10 s of transfer, and a
// reply longer than a version number can be is refused.
class UpdateChecker : public QObject
{
    Q_OBJECT

public:
    explicit UpdateChecker(QObject *parent = nullptr);

    // Whether this build knows where to look for updates.
    static bool hasAddress();
    // The version-information URL: MORIVA_VERSION_URL when set, else the one the build was
    // given (-DMORIVA_VERSION_URL=...); empty when neither is set.
    static QUrl versionUrl();
    // The folder of the version-information URL, and its site's root; empty without one.
    static QUrl programPageUrl();
    static QUrl homePageUrl();
    static QString installedVersion();

    void setTransferTimeoutMs(int ms) { m_timeoutMs = ms; }
    // Starts a check; an earlier one still running is abandoned. finished() tells the outcome.
    void checkLatestVersion();
    bool isChecking() const { return !m_reply.isNull(); }

signals:
    void finished(const VersionCheck::Outcome &outcome);

private:
    void onFinished();

    QNetworkAccessManager *m_network;
    QPointer<QNetworkReply> m_reply;
    int m_timeoutMs = 10000;
    bool m_tooLarge = false;
};
