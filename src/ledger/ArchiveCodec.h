#pragma once

// Variable-length integers, as the ledger archive keeps them. Used by LedgerArchive only.

#include <QByteArray>

namespace LedgerArchive::Codec {

// Variable-length integers (7 bits a byte, low first); signed values zig-zag encoded.
// Written through a raw pointer into room made beforehand: appending byte by byte to a
// QByteArray costs more than the encoding itself.
inline uchar *putVarint(uchar *out, quint32 v)
{
    while (v >= 0x80) {
        *out++ = uchar((v & 0x7f) | 0x80);
        v >>= 7;
    }
    *out++ = uchar(v);
    return out;
}

inline uchar *putSigned(uchar *out, qint32 v)
{
    return putVarint(out, (quint32(v) << 1) ^ quint32(v >> 31));
}


struct Reader {
    const uchar *p;
    const uchar *end;
    bool ok = true;

    quint32 varint()
    {
        if (p != end && *p < 0x80) [[likely]]
            return *p++;
        quint32 v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (p == end) {
                ok = false;
                return 0;
            }
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

} // namespace LedgerArchive::Codec
