#include "UpdateChecker.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

UpdateChecker::UpdateChecker(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
{
}

QUrl UpdateChecker::versionUrl()
{
    const QByteArray overridden = qgetenv("MORIVA_VERSION_URL");
    if (!overridden.isEmpty())
        return QUrl::fromUserInput(QString::fromUtf8(overridden));
    // Set by whoever builds Moriva (-DMORIVA_VERSION_URL=...); empty: no update check.
    return QUrl(QStringLiteral(MORIVA_DEFAULT_VERSION_URL));
}

bool UpdateChecker::hasAddress()
{
    return !versionUrl().isEmpty();
}

// The pages live where the version number is published, so one build setting names all three.
QUrl UpdateChecker::programPageUrl()
{
    const QUrl version = versionUrl();
    return version.isEmpty() ? QUrl() : version.resolved(QUrl(QStringLiteral(".")));
}

QUrl UpdateChecker::homePageUrl()
{
    const QUrl version = versionUrl();
    return version.isEmpty() ? QUrl() : version.resolved(QUrl(QStringLiteral("/")));
}

QString UpdateChecker::installedVersion()
{
    return QStringLiteral(MORIVA_VERSION);
}

void UpdateChecker::checkLatestVersion()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    m_tooLarge = false;
    QNetworkRequest request(versionUrl());
    request.setTransferTimeout(m_timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, reply](qint64 received, qint64 total) {
                if (received > VersionCheck::kMaxReplyBytes
                    || total > VersionCheck::kMaxReplyBytes) {
                    m_tooLarge = true;
                    reply->abort();
                }
            });
    connect(reply, &QNetworkReply::finished, this, &UpdateChecker::onFinished);
}

void UpdateChecker::onFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    if (!reply)
        return;
    reply->deleteLater();
    const bool fetched = !m_tooLarge && reply->error() == QNetworkReply::NoError;
    const QByteArray body = fetched ? reply->read(VersionCheck::kMaxReplyBytes + 1) : QByteArray();
    const bool fits = body.size() <= VersionCheck::kMaxReplyBytes;
    emit finished(VersionCheck::evaluate(installedVersion(), body, fetched && fits));
}
