#include "ArchiveFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>

namespace LedgerArchive {

bool decode(const QByteArray &bytes, QList<LedgerEntry> *entries, QString *error,
            quint32 *formatVersion)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const qint64 size = bytes.size();
    if (size < qint64(sizeof kMagic) || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        return fail(tr("The file is not a Moriva ledger archive."));
    const quint32 version = size >= kHeaderBytes
        ? qFromBigEndian<quint32>(bytes.constData() + sizeof kMagic)
        : 0;
    if (version < kOldestFormatVersion || version > kNewestFormatVersion)
        return fail(tr("The archive has format version %1, which this version of Moriva cannot "
                       "read.")
                        .arg(version));
    if (formatVersion)
        *formatVersion = version;
    qint64 contentBytes = size; // version 1 has no checksum
    if (version >= 2) {
        contentBytes = size - kChecksumBytes;
        if (contentBytes < kHeaderBytes
            || checksumOf(bytes.constData(), contentBytes)
                != qFromBigEndian<quint32>(bytes.constData() + contentBytes))
            return fail(tr("The archive is damaged: its content does not match its checksum."));
    }
    const QByteArrayView content(bytes.constData(), contentBytes);
    QList<LedgerEntry> decoded;
    QString why;
    const bool read = version == 3 ? decodeV3(content, &decoded, &why)
                                   : decodeLegacy(content, &decoded, &why);
    if (!read)
        return fail(why.isEmpty() ? damagedText() : why);
    *entries = std::move(decoded);
    return true;
}

ReadResult read(const QString &path)
{
    ReadResult result;
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        return result; // Missing
    result.status = Status::Unreadable;
    if (info.isDir()) {
        result.error = tr("%1 is a folder, not a ledger archive.").arg(path);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = tr("Cannot open %1: %2").arg(path, file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = tr("Cannot read %1: %2").arg(path, file.errorString());
        return result;
    }
    QString why;
    if (!decode(bytes, &result.entries, &why, &result.formatVersion)) {
        result.error = tr("Cannot read %1: %2").arg(path, why);
        return result;
    }
    result.status = Status::Loaded;
    return result;
}

} // namespace LedgerArchive
