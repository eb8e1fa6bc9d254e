#include "VersionCheck.h"

#include "StringTable.h"

#include <QRegularExpression>
#include <QVersionNumber>

namespace VersionCheck {

bool isVersionNumber(const QString &text)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("\\d{1,6}(\\.\\d{1,6}){0,3}")));
    return pattern.match(text).hasMatch();
}

Outcome evaluate(const QString &installed, const QByteArray &reply, bool fetched)
{
    Outcome outcome;
    const QString published = QString::fromUtf8(reply).trimmed();
    if (!fetched || published.isEmpty() || !isVersionNumber(published)) {
        outcome.message = StringTable::localizedString(u"CantDownloadLatestVersion");
        return outcome;
    }
    outcome.published = published;
    const int order = QVersionNumber::compare(QVersionNumber::fromString(installed).normalized(),
                                              QVersionNumber::fromString(published).normalized());
    if (order == 0) {
        outcome.result = LatestInUse;
        outcome.message = StringTable::localizedString(u"YouUseLatestVersion").arg(published);
    } else if (order < 0) {
        outcome.result = NewerPublished;
        outcome.message = StringTable::localizedString(u"LatestVersionRelease").arg(published);
    } else {
        outcome.result = OlderPublished;
        outcome.message =
            StringTable::localizedString(u"PublishedVersionOlder").arg(published, installed);
    }
    return outcome;
}

} // namespace VersionCheck
