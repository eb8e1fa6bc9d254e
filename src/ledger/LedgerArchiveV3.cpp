// Format version 3: after the magic and the version, six counts (texts, characters, entries,
// entries with fields beside their records, the bytes of those fields, and a zero), then the
// ends of the texts, the texts' characters (UTF-16) padded to four bytes, the entries' 32-byte
// records, their fields beside the records (variable-length integers and texts), and the end
// marker. Everything after the version is little-endian but the end marker.

#include "ArchiveFormat.h"

#include "DataTexts.h"

#include <QtEndian>

#include <array>

namespace LedgerArchive {
namespace {

constexpr qint64 kCountsBytes = 6 * 4;
constexpr qint64 kRecordBytes = 32;
constexpr qint64 kSummaryOffset = 28;

// A record's first four bytes.
enum RecordBits : quint32 {
    DateState = 0x3, // LedgerEntry::TextState of the date text
    TimeShift = 2,   // and of the time text, shifted
    ImportedIsSummary = 1 << 4,
    HasExtra = 1 << 5, // fields beside the record
    Wide = 1 << 6,     // the small numbers are beside the record
    StatusShift = 8,
    MarkedShift = 16,
    KnownBits = 0x00ffff7f,
};

// Which of an entry's fields beside its record the archive holds, in this order.
enum ExtraField : quint32 {
    ExtraDate = 1 << 0,
    ExtraTime = 1 << 1,
    ExtraTextCount = 11,    // date, time, details, imported summary, three prices, reserved 1-4
    ExtraPicture = 1 << 11, // three bits: the pictures
    ExtraWide = 1 << 14,
    KnownExtraFields = (1 << 15) - 1,
};

struct Extras {
    // Date, time, details, imported summary, the three prices, the reserved texts 1 … 4.
    std::array<QString, ExtraTextCount> texts;
    std::array<QByteArray, LedgerEntry::kPictures> pictures;
    // Year, month, day, hour, minute, second, summary kind, status, mark.
    std::array<qint32, 9> wide{};
};

LedgerEntry::TextState stateOf(quint32 bits, int shift)
{
    return LedgerEntry::TextState((bits >> shift) & 0x3);
}

bool readText(Reader &r, QString &out)
{
    const quint32 length = r.varint();
    if (!r.ok || length > r.left() / 2)
        return r.ok = false;
    out.resize(qsizetype(length));
    for (quint32 i = 0; i < length; ++i, r.p += 2)
        out[i] = QChar(qFromLittleEndian<quint16>(r.p));
    return true;
}

// What lies beside a record: it must be what the record's bits say lies there.
bool readExtras(Reader &r, quint32 bits, Extras &out)
{
    const quint32 mask = r.varint();
    using State = LedgerEntry::TextState;
    if (!r.ok || (mask & ~quint32(KnownExtraFields)) || bool(mask & ExtraWide) != bool(bits & Wide)
        || ((mask & ExtraDate) && stateOf(bits, 0) != State::Stored)
        || ((mask & ExtraTime) && stateOf(bits, TimeShift) != State::Stored))
        return false;
    for (int i = 0; i < int(ExtraTextCount); ++i) {
        if ((mask & (1u << i)) && !readText(r, out.texts[size_t(i)]))
            return false;
    }
    for (int i = 0; i < LedgerEntry::kPictures; ++i) {
        if (!(mask & (ExtraPicture << i)))
            continue;
        const quint32 length = r.varint();
        if (!r.ok || length > r.left())
            return false;
        out.pictures[size_t(i)] = QByteArray(reinterpret_cast<const char *>(r.p), length);
        r.p += length;
    }
    if (mask & ExtraWide) {
        for (qint32 &v : out.wide)
            v = r.signedVarint();
    }
    return r.ok;
}

LedgerEntry entryOf(const uchar *record, const QString &summary, const Extras &extra)
{
    const quint32 bits = qFromLittleEndian<quint32>(record);
    const bool wide = bits & Wide;
    LedgerEntry e;
    // The numbers before the texts: a text set first would be kept as a text of its own.
    e.setYear(wide ? extra.wide[0] : qFromLittleEndian<quint16>(record + 4));
    e.setMonth(wide ? extra.wide[1] : record[6]);
    e.setDay(wide ? extra.wide[2] : record[7]);
    e.setHour(wide ? extra.wide[3] : record[8]);
    e.setMinute(wide ? extra.wide[4] : record[9]);
    e.setSecond(wide ? extra.wide[5] : record[10]);
    e.setSummaryKind(wide ? extra.wide[6] : record[11]);
    e.setStatus(wide ? extra.wide[7] : int((bits >> StatusShift) & 0xff));
    e.setMarked(wide ? extra.wide[8] : int((bits >> MarkedShift) & 0xff));
    e.setOrderNumber(qFromLittleEndian<qint32>(record + 12));
    e.setPayment(qFromLittleEndian<qint32>(record + 16));
    e.setDeposit(qFromLittleEndian<qint32>(record + 20));
    e.setBalance(qFromLittleEndian<qint32>(record + 24));

    using State = LedgerEntry::TextState;
    const auto textOf = [](State state, const QString &made, const QString &stored) {
        return state == State::FromNumbers ? made : state == State::Stored ? stored : QString();
    };
    e.setDate(textOf(stateOf(bits, 0), DataTexts::formatOperationDate(e.year(), e.month(), e.day()),
                     extra.texts[0]));
    e.setTime(textOf(stateOf(bits, TimeShift),
                     DataTexts::formatOperationTime(e.hour(), e.minute(), e.second()),
                     extra.texts[1]));
    e.setSummary(summary);
    e.setDetails(extra.texts[2]);
    e.setImportedSummary((bits & ImportedIsSummary) ? summary : extra.texts[3]);
    if (!extra.texts[4].isNull())
        e.setPaymentPrice(extra.texts[4]);
    if (!extra.texts[5].isNull())
        e.setDepositPrice(extra.texts[5]);
    if (!extra.texts[6].isNull())
        e.setBalancePrice(extra.texts[6]);
    for (int i = 1; i <= LedgerEntry::kReservedTexts; ++i)
        e.setReservedText(i, extra.texts[size_t(6 + i)]);
    for (int i = 0; i < LedgerEntry::kPictures; ++i)
        e.setPicture(i, extra.pictures[size_t(i)]);
    return e;
}

} // namespace

bool decodeV3(QByteArrayView content, QList<LedgerEntry> *entries, QString *error)
{
    const auto damaged = [error] {
        if (error)
            *error = damagedText();
        return false;
    };
    const auto *data = reinterpret_cast<const uchar *>(content.data());
    const qint64 size = content.size();
    if (size < kHeaderBytes + kCountsBytes + 4)
        return damaged();
    quint32 counts[6];
    qFromLittleEndian<quint32>(data + kHeaderBytes, 6, counts);
    const quint32 textCount = counts[0], charCount = counts[1], entryCount = counts[2],
                  extraCount = counts[3], extrasBytes = counts[4];
    const qint64 endsAt = kHeaderBytes + kCountsBytes;
    const qint64 charsAt = endsAt + qint64(textCount) * 4;
    const qint64 recordsAt = (charsAt + qint64(charCount) * 2 + 3) / 4 * 4;
    const qint64 extrasAt = recordsAt + qint64(entryCount) * kRecordBytes;
    if (counts[5] != 0 || extrasAt + qint64(extrasBytes) + 4 != size || extraCount > entryCount
        || qFromBigEndian<quint32>(data + size - 4) != kEndMarker)
        return damaged();

    // The texts, numbered from 1; their ends must rise to the characters' count.
    QList<QString> texts;
    texts.reserve(qsizetype(textCount) + 1);
    texts.append(QString());
    quint32 begin = 0;
    for (quint32 i = 0; i < textCount; ++i) {
        const quint32 end = qFromLittleEndian<quint32>(data + endsAt + qint64(i) * 4);
        if (end < begin || end > charCount)
            return damaged();
        QString text(qsizetype(end - begin), Qt::Uninitialized);
        for (quint32 c = begin; c < end; ++c)
            text[c - begin] = QChar(qFromLittleEndian<quint16>(data + charsAt + qint64(c) * 2));
        texts.append(text);
        begin = end;
    }
    if (begin != charCount)
        return damaged();

    // The texts are numbered in the order the entries first use them: a number beyond the next
    // one, or a text that no entry uses, is damage.
    Reader r{data + extrasAt, data + extrasAt + extrasBytes};
    QList<LedgerEntry> result;
    result.reserve(entryCount);
    quint32 textsUsed = 0;
    quint32 withExtras = 0;
    for (quint32 i = 0; i < entryCount; ++i) {
        const uchar *record = data + recordsAt + qint64(i) * kRecordBytes;
        const quint32 bits = qFromLittleEndian<quint32>(record);
        const quint32 summary = qFromLittleEndian<quint32>(record + kSummaryOffset);
        if ((bits & ~quint32(KnownBits)) || (bits & DateState) == 3
            || ((bits >> TimeShift) & 0x3) == 3 || ((bits & Wide) && !(bits & HasExtra))
            || summary > textsUsed + 1 || summary > textCount)
            return damaged();
        if (summary == textsUsed + 1)
            ++textsUsed;
        Extras extra;
        if (bits & HasExtra) {
            if (++withExtras > extraCount || !readExtras(r, bits, extra))
                return damaged();
        }
        result.append(entryOf(record, texts.at(summary), extra));
    }
    if (withExtras != extraCount || textsUsed != textCount || !r.ok || r.p != r.end)
        return damaged();
    *entries = std::move(result);
    return true;
}

} // namespace LedgerArchive
