#include "LedgerArchive.h"

#include "ArchiveCodec.h"

#include "DataTexts.h"
#include "EntryTextCache.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QtEndian>

#include <zlib.h>

namespace LedgerArchive {
using namespace Codec;
namespace {

constexpr char kMagic[8] = {'M', 'V', 'R', 'K', 'L', 'D', 'G', 'R'};
constexpr quint32 kEndMarker = 0x454e4421; // "END!"

enum Flag : quint32 {
    DateFromNumbers = 1 << 0,
    TimeFromNumbers = 1 << 1,
    TimeEmpty = 1 << 2,
    PaymentPriceStored = 1 << 3,
    DepositPriceStored = 1 << 4,
    BalancePriceStored = 1 << 5,
    ReservedStored = 1 << 6,
    ImportedSummaryIsSummary = 1 << 7,
    KnownFlags = (1 << 8) - 1,
};

QString tr(const char *text)
{
    return QCoreApplication::translate("LedgerArchive", text);
}

// The least each element takes in the file: a text or a byte array its 32-bit length; a record
// its flags, 13 numbers and the summary's and details' indices, a byte each. A count that the
// bytes left cannot hold at these sizes is damage, found before anything is allocated for it.
constexpr qint64 kMinTextBytes = 4;
constexpr qint64 kMinRecordBytes = 1 + 13 + 2;
constexpr qint64 kChecksumBytes = 4;

// Since format version 2, archives end with the CRC-32 of every byte before it, so that damage
// anywhere in the file is noticed rather than read as a changed ledger.
quint32 checksumOf(const char *data, qint64 size, quint32 crc = 0)
{
    return quint32(crc32_z(crc, reinterpret_cast<const Bytef *>(data), size_t(size)));
}

QByteArray checksumBytes(quint32 crc)
{
    QByteArray out(kChecksumBytes, Qt::Uninitialized);
    qToBigEndian(crc, out.data());
    return out;
}

} // namespace

namespace {

// Whether two texts are equal, found by address first: entries share their texts.
inline bool sameText(const QString &text, const QString &made)
{
    return (text.constData() == made.constData() && text.size() == made.size()) || text == made;
}

// Whether the characters from `at` are the two digits of the number (0 to 99).
inline bool hasTwoDigits(QStringView text, qsizetype at, int value)
{
    return text[at] == QChar(u'0' + value / 10) && text[at + 1] == QChar(u'0' + value % 10);
}

// Whether the text is the date or time text made of the entry's numbers ("2026/03/05",
// "09:05:00"), compared in place: archives are written on a thread of their own, where the
// shared text cache must not be touched.
bool isDateOf(QStringView text, int year, int month, int day)
{
    if (year < 1000 || year > 9999 || month < 0 || month > 99 || day < 0 || day > 99)
        return text == DataTexts::formatOperationDate(year, month, day);
    return text.size() == 10 && text[4] == u'/' && text[7] == u'/'
        && hasTwoDigits(text, 0, year / 100) && hasTwoDigits(text, 2, year % 100)
        && hasTwoDigits(text, 5, month) && hasTwoDigits(text, 8, day);
}

bool isTimeOf(QStringView text, int hour, int minute, int second)
{
    if (hour < 0 || hour > 99 || minute < 0 || minute > 99 || second < 0 || second > 99)
        return text == DataTexts::formatOperationTime(hour, minute, second);
    return text.size() == 8 && text[2] == u':' && text[5] == u':' && hasTwoDigits(text, 0, hour)
        && hasTwoDigits(text, 3, minute) && hasTwoDigits(text, 6, second);
}

struct Encoded {
    TextTable texts;
    BytesTable bytes;
    QByteArray records;
};

void encodeRecords(const QList<LedgerEntryPtr> &items, Encoded &out)
{
    TextTable &texts = out.texts;
    BytesTable &bytes = out.bytes;
    QByteArray &records = out.records;
    records.resize(qMax<qsizetype>(items.size() * 28, kMaxRecordBytes * 4));
    uchar *p = reinterpret_cast<uchar *>(records.data());
    uchar *limit = p + records.size();

    for (const LedgerEntryPtr &ptr : items) {
        if (limit - p < kMaxRecordBytes) {
            const qsizetype used = p - reinterpret_cast<uchar *>(records.data());
            records.resize(records.size() * 2);
            p = reinterpret_cast<uchar *>(records.data()) + used;
            limit = reinterpret_cast<uchar *>(records.data()) + records.size();
        }
        const LedgerEntry &e = *ptr;
        quint32 flags = 0;
        // Almost every entry makes its date and time texts of its numbers: nothing to compare.
        const QString date = e.hasDateFromNumbers() ? QString() : e.date();
        const QString time = e.hasTimeFromNumbers() ? QString() : e.time();
        if (e.hasDateFromNumbers() || isDateOf(date, e.year(), e.month(), e.day()))
            flags |= DateFromNumbers;
        if (e.hasTimeFromNumbers())
            flags |= TimeFromNumbers;
        else if (time.isEmpty())
            flags |= TimeEmpty;
        else if (isTimeOf(time, e.hour(), e.minute(), e.second()))
            flags |= TimeFromNumbers;
        // Without out-of-line fields the price texts are those of the amounts and the reserved
        // fields are empty: nothing to compare.
        const bool outOfLine = e.hasOutOfLineFields();
        QString pp, dp, bp;
        if (outOfLine) {
            pp = e.paymentPrice();
            dp = e.depositPrice();
            bp = e.balancePrice();
            if (pp != DataTexts::priceString(e.payment()))
                flags |= PaymentPriceStored;
            if (dp != DataTexts::priceString(e.deposit()))
                flags |= DepositPriceStored;
            if (bp != DataTexts::priceString(e.balance()))
                flags |= BalancePriceStored;
            bool reserved = false;
            for (int i = 1; i <= 4 && !reserved; ++i)
                reserved = !e.reservedText(i).isEmpty();
            for (int i = 0; i < 3 && !reserved; ++i)
                reserved = !e.picture(i).isNull();
            if (reserved)
                flags |= ReservedStored;
        }
        if (sameText(e.importedSummary(), e.summary()))
            flags |= ImportedSummaryIsSummary;

        p = putVarint(p, flags);
        p = putSigned(p, e.year());
        p = putSigned(p, e.month());
        p = putSigned(p, e.day());
        p = putSigned(p, e.hour());
        p = putSigned(p, e.minute());
        p = putSigned(p, e.second());
        p = putSigned(p, e.orderNumber());
        p = putSigned(p, e.payment());
        p = putSigned(p, e.deposit());
        p = putSigned(p, e.balance());
        p = putSigned(p, e.summaryKind());
        p = putSigned(p, e.status());
        p = putSigned(p, e.marked());
        if (!(flags & DateFromNumbers))
            p = putVarint(p, texts.indexOf(date));
        if (!(flags & (TimeEmpty | TimeFromNumbers)))
            p = putVarint(p, texts.indexOf(time));
        p = putVarint(p, texts.indexOf(e.summary()));
        p = putVarint(p, texts.indexOf(e.details()));
        if (!(flags & ImportedSummaryIsSummary))
            p = putVarint(p, texts.indexOf(e.importedSummary()));
        if (flags & PaymentPriceStored)
            p = putVarint(p, texts.indexOf(pp));
        if (flags & DepositPriceStored)
            p = putVarint(p, texts.indexOf(dp));
        if (flags & BalancePriceStored)
            p = putVarint(p, texts.indexOf(bp));
        if (flags & ReservedStored) {
            for (int i = 1; i <= 4; ++i)
                p = putVarint(p, texts.indexOf(e.reservedText(i)));
            for (int i = 0; i < 3; ++i)
                p = putVarint(p, bytes.indexOf(e.picture(i)));
        }
    }
    records.truncate(p - reinterpret_cast<uchar *>(records.data()));
}

// Everything before the records' bytes: magic, version, the tables, the entry count and the
// records' length as QDataStream writes it for a QByteArray.
QByteArray encodeHeader(const Encoded &encoded, qsizetype entries)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream.writeRawData(kMagic, sizeof kMagic);
    stream << kFormatVersion;
    const QList<QString> &texts = encoded.texts.texts();
    stream << quint32(texts.size() - 1);
    for (qsizetype i = 1; i < texts.size(); ++i)
        stream << texts.at(i);
    const QList<QByteArray> &bytes = encoded.bytes.data();
    stream << quint32(bytes.size() - 1);
    for (qsizetype i = 1; i < bytes.size(); ++i)
        stream << bytes.at(i);
    stream << quint32(entries);
    stream << quint32(encoded.records.size());
    return out;
}

QByteArray encodeTrailer()
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << kEndMarker;
    return out;
}

} // namespace

QByteArray encode(const QList<LedgerEntryPtr> &items)
{
    Encoded encoded;
    encodeRecords(items, encoded);
    QByteArray out = encodeHeader(encoded, items.size());
    out.reserve(out.size() + encoded.records.size() + 4 + kChecksumBytes);
    out.append(encoded.records);
    out.append(encodeTrailer());
    out.append(checksumBytes(checksumOf(out.constData(), out.size())));
    return out;
}

bool writeTo(QIODevice *device, const QList<LedgerEntryPtr> &items)
{
    // Written in three pieces, so that the records are not copied into one buffer first.
    Encoded encoded;
    encodeRecords(items, encoded);
    const QByteArray header = encodeHeader(encoded, items.size());
    const QByteArray trailer = encodeTrailer();
    quint32 crc = checksumOf(header.constData(), header.size());
    crc = checksumOf(encoded.records.constData(), encoded.records.size(), crc);
    crc = checksumOf(trailer.constData(), trailer.size(), crc);
    const QByteArray checksum = checksumBytes(crc);
    return device->write(header) == header.size()
        && device->write(encoded.records) == encoded.records.size()
        && device->write(trailer) == trailer.size()
        && device->write(checksum) == checksum.size();
}

bool decode(const QByteArray &file, QList<LedgerEntryPtr> *items, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (file.size() < int(sizeof kMagic) || memcmp(file.constData(), kMagic, sizeof kMagic) != 0)
        return fail(tr("The file is not a Moriva ledger archive."));

    const auto damaged = [&fail]() { return fail(tr("The archive is damaged or incomplete.")); };
    QByteArray data = file;
    quint32 version = 0;
    if (file.size() >= qsizetype(sizeof kMagic + sizeof version))
        version = qFromBigEndian<quint32>(file.constData() + sizeof kMagic);
    if (version < kOldestReadableFormatVersion || version > kFormatVersion)
        return fail(tr("The archive has format version %1, which this version of Moriva cannot "
                       "read.")
                        .arg(version));
    if (version >= 2) {
        const qint64 content = file.size() - kChecksumBytes;
        if (content < qint64(sizeof kMagic + sizeof version)
            || checksumOf(file.constData(), content)
                != qFromBigEndian<quint32>(file.constData() + content))
            return fail(tr("The archive is damaged: its content does not match its checksum."));
        data = QByteArray::fromRawData(file.constData(), content);
    }

    QDataStream stream(data);
    stream.setVersion(QDataStream::Qt_6_0);
    stream.skipRawData(sizeof kMagic + sizeof version);
    const auto bytesLeft = [&stream, &data] { return qint64(data.size()) - stream.device()->pos(); };
    quint32 textCount = 0;
    stream >> textCount;
    if (stream.status() != QDataStream::Ok || textCount > bytesLeft() / kMinTextBytes)
        return damaged();
    QList<QString> texts;
    texts.reserve(textCount + 1);
    texts.append(QString());
    for (quint32 i = 0; i < textCount && stream.status() == QDataStream::Ok; ++i) {
        QString s;
        stream >> s;
        texts.append(s);
    }
    quint32 bytesCount = 0;
    stream >> bytesCount;
    if (stream.status() != QDataStream::Ok || bytesCount > bytesLeft() / kMinTextBytes)
        return damaged();
    QList<QByteArray> bytes;
    bytes.reserve(bytesCount + 1);
    bytes.append(QByteArray());
    for (quint32 i = 0; i < bytesCount && stream.status() == QDataStream::Ok; ++i) {
        QByteArray b;
        stream >> b;
        bytes.append(b);
    }
    // The records are read where they lie in the file's bytes rather than copied out first.
    quint32 entryCount = 0;
    quint32 recordsLength = 0;
    stream >> entryCount >> recordsLength;
    if (stream.status() != QDataStream::Ok)
        return damaged();
    const qint64 recordsStart = stream.device()->pos();
    const qint64 length = recordsLength == 0xffffffffU ? 0 : qint64(recordsLength); // null
    if (length > qint64(data.size()) - recordsStart)
        return damaged();
    stream.skipRawData(int(length));
    quint32 end = 0;
    stream >> end;
    if (stream.status() != QDataStream::Ok || end != kEndMarker || !stream.atEnd()
        || entryCount > length / kMinRecordBytes)
        return damaged();

    EntryTextCache &cache = EntryTextCache::instance();
    const uchar *recordBytes = reinterpret_cast<const uchar *>(data.constData()) + recordsStart;
    Reader r{recordBytes, recordBytes + length};
    static const QString noText;
    const auto text = [&r, &texts]() -> const QString & {
        const quint32 i = r.varint();
        if (i >= quint32(texts.size())) {
            r.ok = false;
            return noText;
        }
        return texts.at(i);
    };
    QList<LedgerEntryPtr> result;
    result.reserve(entryCount);
    for (quint32 n = 0; n < entryCount && r.ok; ++n) {
        const quint32 flags = r.varint();
        if (flags & ~quint32(KnownFlags))
            return damaged();
        qint32 v[13];
        for (qint32 &value : v)
            value = r.signedVarint();
        LedgerEntryPtr ptr = LedgerEntry::create();
        LedgerEntry &e = *ptr;
        e.setYear(v[0]);
        e.setMonth(v[1]);
        e.setDay(v[2]);
        e.setHour(v[3]);
        e.setMinute(v[4]);
        e.setSecond(v[5]);
        e.setOrderNumber(v[6]);
        e.setPayment(v[7]);
        e.setDeposit(v[8]);
        e.setBalance(v[9]);
        e.setSummaryKind(v[10]);
        e.setStatus(v[11]);
        e.setMarked(v[12]);
        e.setDate((flags & DateFromNumbers) ? cache.dateText(v[0], v[1], v[2])
                                                     : text());
        if (flags & TimeEmpty)
            e.setTime(QString());
        else
            e.setTime((flags & TimeFromNumbers) ? cache.timeText(v[3], v[4], v[5])
                                                         : text());
        e.setSummary(text());
        e.setDetails(text());
        e.setImportedSummary((flags & ImportedSummaryIsSummary) ? e.summary() : text());
        if (flags & PaymentPriceStored)
            e.setPaymentPrice(text());
        if (flags & DepositPriceStored)
            e.setDepositPrice(text());
        if (flags & BalancePriceStored)
            e.setBalancePrice(text());
        if (flags & ReservedStored) {
            for (int i = 1; i <= 4; ++i)
                e.setReservedText(i, text());
            for (int i = 0; i < 3; ++i) {
                const quint32 b = r.varint();
                if (b >= quint32(bytes.size()))
                    return damaged();
                e.setPicture(i, bytes.at(b));
            }
        }
        result.append(std::move(ptr));
    }
    if (!r.ok || r.p != r.end)
        return damaged();
    *items = std::move(result);
    return true;
}

} // namespace LedgerArchive
