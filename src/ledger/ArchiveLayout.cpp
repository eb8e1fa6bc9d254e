#include "ArchiveLayout.h"

#include <QtEndian>

namespace LedgerArchive {

Layout Layout::read(const uchar *data, qint64 size, QString *error)
{
    Layout layout;
    const auto fail = [&layout, error](const QString &why) {
        if (error)
            *error = why;
        layout.kind = Kind::Unreadable;
        return layout;
    };
    if (size < qint64(sizeof kMagic) || memcmp(data, kMagic, sizeof kMagic) != 0)
        return fail(QCoreApplication::translate("LedgerArchive", "The file is not a Moriva ledger archive."));
    const quint32 version = size >= kHeaderBytes ? qFromBigEndian<quint32>(data + sizeof kMagic) : 0;
    if (version < kOldestReadableFormatVersion || version > kFormatVersion)
        return fail(QCoreApplication::translate("LedgerArchive", "The archive has format version %1, which this version of Moriva cannot "
                       "read.")
                        .arg(version));
    layout.contentBytes = size;
    if (version >= 2) {
        layout.contentBytes = size - kChecksumBytes;
        if (layout.contentBytes < kHeaderBytes
            || checksumOf(reinterpret_cast<const char *>(data), layout.contentBytes)
                != qFromBigEndian<quint32>(data + layout.contentBytes))
            return fail(QCoreApplication::translate("LedgerArchive", "The archive is damaged: its content does not match its checksum."));
    }
    if (version < 3) {
        layout.kind = Kind::Legacy;
        return layout;
    }

    const auto damaged = [&fail] { return fail(QCoreApplication::translate("LedgerArchive", "The archive is damaged or incomplete.")); };
    if (layout.contentBytes < kHeaderBytes + kV3CountsBytes + 4)
        return damaged();
    quint32 counts[6];
    qFromLittleEndian<quint32>(data + kHeaderBytes, 6, counts);
    layout.textCount = counts[0];
    layout.charCount = counts[1];
    layout.entryCount = counts[2];
    layout.extraCount = counts[3];
    layout.extrasBytes = counts[4];
    const qint64 endsAt = kHeaderBytes + kV3CountsBytes;
    const qint64 charsAt = endsAt + qint64(layout.textCount) * 4;
    const qint64 recordsAt = (charsAt + qint64(layout.charCount) * 2 + 3) / 4 * 4;
    const qint64 extrasAt = recordsAt + qint64(layout.entryCount) * LedgerEntry::kRecordBytes;
    if (counts[5] != 0 || extrasAt + qint64(layout.extrasBytes) + 4 != layout.contentBytes
        || layout.extraCount > layout.entryCount
        || qFromBigEndian<quint32>(data + layout.contentBytes - 4) != kEndMarker)
        return damaged();
    layout.ends = reinterpret_cast<const quint32 *>(data + endsAt);
    layout.chars = reinterpret_cast<const char16_t *>(data + charsAt);
    layout.records = data + recordsAt;
    layout.extras = data + extrasAt;

    quint32 previous = 0;
    for (quint32 i = 0; i < layout.textCount; ++i) {
        const quint32 end = layout.ends[i];
        if (end < previous)
            return damaged();
        previous = end;
    }
    if (previous != layout.charCount)
        return damaged();
    // The texts are numbered in the order the entries first use them: a number beyond the next
    // one, or a text that no entry uses, is damage.
    quint32 withExtras = 0;
    quint32 textsUsed = 0;
    for (quint32 i = 0; i < layout.entryCount; ++i) {
        const uchar *record = layout.records + qint64(i) * LedgerEntry::kRecordBytes;
        if (!LedgerEntry::isValidRecord(record, layout.textCount))
            return damaged();
        withExtras += (qFromLittleEndian<quint32>(record) & LedgerEntry::kHasExtra) ? 1 : 0;
        const quint32 summary = qFromLittleEndian<quint32>(record + LedgerEntry::kSummaryOffset);
        if (summary > textsUsed + 1)
            return damaged();
        if (summary == textsUsed + 1)
            ++textsUsed;
    }
    if (withExtras != layout.extraCount || textsUsed != layout.textCount)
        return damaged();
    layout.kind = Kind::Current;
    return layout;
}

} // namespace LedgerArchive
