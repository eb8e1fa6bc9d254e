#pragma once

// What every version of the ledger archive shares, and the decoders of the versions. Used by
// LedgerArchive only.

#include "LedgerArchive.h"

#include <QCoreApplication>

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

inline QString damagedText()
{
    return tr("The archive is damaged or incomplete.");
}

// The CRC-32 that versions 2 and 3 end with (libdeflate's: the same value as zlib's crc32).
inline quint32 checksumOf(const char *data, qint64 size)
{
    return quint32(libdeflate_crc32(0, data, size_t(size)));
}

// Variable-length integers (7 bits a byte, low first); signed values zig-zag encoded. A read
// past the end, or an integer longer than five bytes, clears ok.
struct Reader {
    const uchar *p;
    const uchar *end;
    bool ok = true;

    qint64 left() const { return end - p; }
    quint32 varint()
    {
        quint32 v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (p == end)
                break;
            const uchar b = *p++;
            v |= quint32(b & 0x7f) << shift;
            if (!(b & 0x80))
                return v;
        }
        ok = false;
        return 0;
    }
    qint32 signedVarint()
    {
        const quint32 z = varint();
        return qint32((z >> 1) ^ (~(z & 1) + 1));
    }
};

// The decoders of the versions; `content` is the file without its checksum, already checked.
bool decodeLegacy(QByteArrayView content, QList<LedgerEntry> *entries, QString *error);
bool decodeV3(QByteArrayView content, QList<LedgerEntry> *entries, QString *error);

} // namespace LedgerArchive
