#include "ArchiveFormat.h"

#include "DataTexts.h"

#include <QDataStream>
#include <QIODevice>

namespace LedgerArchive {
namespace {

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

// The least each element takes in the file: a text or a byte array its 32-bit length; a record
// its flags, 13 numbers and the summary's and details' indices, a byte each. A count that the
// bytes left cannot hold at these sizes is damage, found before anything is allocated for it.
constexpr qint64 kMinTextBytes = 4;
constexpr qint64 kMinRecordBytes = 1 + 13 + 2;

} // namespace

// Versions 1 and 2 kept the texts and the pictures in tables (a QDataStream), then each record
// as variable-length integers that number into them.
bool decodeLegacy(QByteArrayView content, QList<LedgerEntry> *entries, QString *error)
{
    const auto damaged = [error]() {
        if (error)
            *error = damagedText();
        return false;
    };
    const QByteArray data = QByteArray::fromRawData(content.data(), content.size());
    QDataStream stream(data);
    stream.setVersion(QDataStream::Qt_6_0);
    stream.skipRawData(kHeaderBytes);
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
    QList<LedgerEntry> result;
    result.reserve(entryCount);
    for (quint32 n = 0; n < entryCount && r.ok; ++n) {
        const quint32 flags = r.varint();
        if (flags & ~quint32(KnownFlags))
            return damaged();
        qint32 v[13];
        for (qint32 &value : v)
            value = r.signedVarint();
        LedgerEntry e;
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
        e.setDate((flags & DateFromNumbers) ? DataTexts::formatOperationDate(v[0], v[1], v[2])
                                            : text());
        if (flags & TimeEmpty)
            e.setTime(QString());
        else
            e.setTime((flags & TimeFromNumbers)
                          ? DataTexts::formatOperationTime(v[3], v[4], v[5])
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
        result.append(std::move(e));
    }
    if (!r.ok || r.p != r.end)
        return damaged();
    *entries = std::move(result);
    return true;
}

} // namespace LedgerArchive
