#pragma once

#include <QByteArray>
#include <QString>

// Tells whether a newer Moriva is published. The published text (the whole content of the
// version-information resource) is trimmed of white space and read as a version number, so
// that 1.10 is newer than 1.9 and "1.2\n" is the same version as "1.2".
namespace VersionCheck {

enum Result : int {
    CantDownload = 0,   // nothing fetched, an empty text, or a text that is no version number
    LatestInUse = 1,    // the published version is the one in use
    NewerPublished = 2, // a newer version is published
    OlderPublished = 3, // the published version is older than the one in use
};

struct Outcome {
    Result result = CantDownload;
    QString published; // the version number as published, when it is one
    QString message;   // what the update sheet says, as plain text
};

// Largest reply that can be a version number; anything longer is refused unread.
inline constexpr qint64 kMaxReplyBytes = 1024;

bool isVersionNumber(const QString &text);
Outcome evaluate(const QString &installed, const QByteArray &reply, bool fetched);

} // namespace VersionCheck
