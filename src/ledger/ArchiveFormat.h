#pragma once

// What every version of the ledger archive shares, and the readers of the versions. Used by
// LedgerArchive only.

#include "LedgerArchive.h"

#include <QCoreApplication>
#include <QList>

#include <libdeflate.h>

namespace LedgerArchive {

inline constexpr char kMagic[8] = {'M', 'V', 'R', 'K', 'L', 'D', 'G', 'R'};
inline constexpr quint32 kEndMarker = 0x454e4421; // "END!"
// The magic and the format version (big-endian), before anything else.
inline constexpr qint64 kHeaderBytes = 12;
inline constexpr qint64 kChecksumBytes = 4;

inline QString tr(const char *text)
{
    return QCoreApplication::translate("LedgerArchive", text);
}

// Since format version 2, archives end with the CRC-32 of every byte before it, so that damage
// anywhere in the file is noticed rather than read as a changed ledger.
inline quint32 checksumOf(const char *data, qint64 size, quint32 crc = 0)
{
    return quint32(libdeflate_crc32(crc, data, size_t(size)));
}

// Versions 1 and 2; `data` is the file without its checksum.
bool decodeLegacy(const QByteArray &data, QList<LedgerEntryPtr> *items, QString *error);

} // namespace LedgerArchive
