#pragma once

// The building blocks of the ledger archive's encoding: variable-length integers and the tables
// of distinct texts and byte arrays that records refer to by index. Used by LedgerArchive only.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <vector>

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

// The most one entry takes: the flags, 13 numbers and 12 indices of at most 5 bytes each.
constexpr qsizetype kMaxRecordBytes = (1 + 13 + 12) * 5;

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

// Gives each distinct text one index; equal texts that share a buffer are found without hashing.
class TextTable
{
public:
    TextTable() { m_texts.append(QString()); }
    quint32 indexOf(const QString &text)
    {
        if (text.isEmpty())
            return 0;
        // The entries share their texts, so a buffer seen before is found by its address alone.
        // Every text stays alive while the table is in use, so an address names one text.
        Seen &seen = m_seen[(quintptr(text.constData()) >> 4) % kSeenSlots];
        if (seen.data == text.constData() && seen.size == text.size())
            return seen.index;
        auto it = m_index.constFind(text);
        quint32 index;
        if (it != m_index.constEnd()) {
            index = it.value();
        } else {
            index = quint32(m_texts.size());
            m_texts.append(text);
            m_index.insert(text, index);
        }
        seen = Seen{text.constData(), text.size(), index};
        return index;
    }
    const QList<QString> &texts() const { return m_texts; }

private:
    struct Seen {
        const QChar *data = nullptr;
        qsizetype size = 0;
        quint32 index = 0;
    };
    static constexpr size_t kSeenSlots = 4093;
    QList<QString> m_texts;
    QHash<QString, quint32> m_index;
    std::vector<Seen> m_seen = std::vector<Seen>(kSeenSlots);
};

class BytesTable
{
public:
    BytesTable() { m_data.append(QByteArray()); }
    quint32 indexOf(const QByteArray &bytes)
    {
        if (bytes.isNull())
            return 0;
        m_data.append(bytes);
        return quint32(m_data.size() - 1);
    }
    const QList<QByteArray> &data() const { return m_data; }

private:
    QList<QByteArray> m_data;
};

} // namespace LedgerArchive::Codec
