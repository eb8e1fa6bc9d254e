#include "LedgerArchive.h"

#include "DataTexts.h"
#include "EntryTextCache.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#ifdef Q_OS_LINUX
#include <sys/xattr.h>
#endif

namespace LedgerArchive {
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

// Variable-length integers (7 bits a byte, low first); signed values zig-zag encoded.
void putVarint(QByteArray &out, quint32 v)
{
    while (v >= 0x80) {
        out.append(char((v & 0x7f) | 0x80));
        v >>= 7;
    }
    out.append(char(v));
}

void putSigned(QByteArray &out, qint32 v)
{
    putVarint(out, (quint32(v) << 1) ^ quint32(v >> 31));
}

struct Reader {
    const uchar *p;
    const uchar *end;
    bool ok = true;

    quint32 varint()
    {
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
        if (text.constData() == m_lastData && text.size() == m_lastSize)
            return m_lastIndex;
        auto it = m_index.constFind(text);
        quint32 index;
        if (it != m_index.constEnd()) {
            index = it.value();
        } else {
            index = quint32(m_texts.size());
            m_texts.append(text);
            m_index.insert(text, index);
        }
        m_lastData = text.constData();
        m_lastSize = text.size();
        m_lastIndex = index;
        return index;
    }
    const QList<QString> &texts() const { return m_texts; }

private:
    QList<QString> m_texts;
    QHash<QString, quint32> m_index;
    const QChar *m_lastData = nullptr;
    qsizetype m_lastSize = 0;
    quint32 m_lastIndex = 0;
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

} // namespace

QByteArray encode(const QList<BalanceInfoItemPtr> &items)
{
    EntryTextCache &cache = EntryTextCache::instance();
    TextTable texts;
    BytesTable bytes;
    QByteArray records;
    records.reserve(items.size() * 24);

    for (const BalanceInfoItemPtr &ptr : items) {
        const BalanceInfoItem &e = *ptr;
        quint32 flags = 0;
        if (e.operationDate() == cache.operationDate(e.operationYear(), e.operationMonth(),
                                                     e.operationDay()))
            flags |= DateFromNumbers;
        if (e.operationTime().isEmpty())
            flags |= TimeEmpty;
        else if (e.operationTime() == cache.operationTime(e.operationHour(), e.operationMinute(),
                                                          e.operationSecond()))
            flags |= TimeFromNumbers;
        const QString pp = e.paymentPrice(), dp = e.depositPrice(), bp = e.balancePrice();
        if (pp != DataTexts::priceString(e.payment()))
            flags |= PaymentPriceStored;
        if (dp != DataTexts::priceString(e.deposit()))
            flags |= DepositPriceStored;
        if (bp != DataTexts::priceString(e.balance()))
            flags |= BalancePriceStored;
        bool reserved = false;
        for (int i = 1; i <= 4 && !reserved; ++i)
            reserved = !e.dummyString(i).isEmpty();
        for (int i = 0; i < 3 && !reserved; ++i)
            reserved = !e.picture(i).isNull();
        if (reserved)
            flags |= ReservedStored;
        if (e.importedSummary() == e.summary())
            flags |= ImportedSummaryIsSummary;

        putVarint(records, flags);
        for (int v : {e.operationYear(), e.operationMonth(), e.operationDay(), e.operationHour(),
                      e.operationMinute(), e.operationSecond(), e.operationOrder(), e.payment(),
                      e.deposit(), e.balance(), e.summaryKind(), e.status(), e.marked()})
            putSigned(records, v);
        if (!(flags & DateFromNumbers))
            putVarint(records, texts.indexOf(e.operationDate()));
        if (!(flags & (TimeEmpty | TimeFromNumbers)))
            putVarint(records, texts.indexOf(e.operationTime()));
        putVarint(records, texts.indexOf(e.summary()));
        putVarint(records, texts.indexOf(e.details()));
        if (!(flags & ImportedSummaryIsSummary))
            putVarint(records, texts.indexOf(e.importedSummary()));
        if (flags & PaymentPriceStored)
            putVarint(records, texts.indexOf(pp));
        if (flags & DepositPriceStored)
            putVarint(records, texts.indexOf(dp));
        if (flags & BalancePriceStored)
            putVarint(records, texts.indexOf(bp));
        if (flags & ReservedStored) {
            for (int i = 1; i <= 4; ++i)
                putVarint(records, texts.indexOf(e.dummyString(i)));
            for (int i = 0; i < 3; ++i)
                putVarint(records, bytes.indexOf(e.picture(i)));
        }
    }

    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream.writeRawData(kMagic, sizeof kMagic);
    stream << kFormatVersion;
    stream << quint32(texts.texts().size() - 1);
    for (qsizetype i = 1; i < texts.texts().size(); ++i)
        stream << texts.texts().at(i);
    stream << quint32(bytes.data().size() - 1);
    for (qsizetype i = 1; i < bytes.data().size(); ++i)
        stream << bytes.data().at(i);
    stream << quint32(items.size());
    stream << records;
    stream << kEndMarker;
    return out;
}

bool decode(const QByteArray &data, QList<BalanceInfoItemPtr> *items, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (data.size() < int(sizeof kMagic) || memcmp(data.constData(), kMagic, sizeof kMagic) != 0)
        return fail(tr("The file is not a Moriva ledger archive."));

    QDataStream stream(data);
    stream.setVersion(QDataStream::Qt_6_0);
    stream.skipRawData(sizeof kMagic);
    quint32 version = 0;
    stream >> version;
    if (version != kFormatVersion)
        return fail(tr("The archive has format version %1, which this version of Moriva cannot "
                       "read.")
                        .arg(version));

    const auto damaged = [&fail]() { return fail(tr("The archive is damaged or incomplete.")); };
    quint32 textCount = 0;
    stream >> textCount;
    if (stream.status() != QDataStream::Ok || textCount > quint32(data.size()))
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
    if (stream.status() != QDataStream::Ok || bytesCount > quint32(data.size()))
        return damaged();
    QList<QByteArray> bytes;
    bytes.reserve(bytesCount + 1);
    bytes.append(QByteArray());
    for (quint32 i = 0; i < bytesCount && stream.status() == QDataStream::Ok; ++i) {
        QByteArray b;
        stream >> b;
        bytes.append(b);
    }
    quint32 entryCount = 0;
    QByteArray records;
    quint32 end = 0;
    stream >> entryCount >> records >> end;
    if (stream.status() != QDataStream::Ok || end != kEndMarker || !stream.atEnd()
        || entryCount > quint32(records.size()))
        return damaged();

    EntryTextCache &cache = EntryTextCache::instance();
    Reader r{reinterpret_cast<const uchar *>(records.constData()),
             reinterpret_cast<const uchar *>(records.constData()) + records.size()};
    const auto text = [&r, &texts]() -> QString {
        const quint32 i = r.varint();
        if (i >= quint32(texts.size())) {
            r.ok = false;
            return QString();
        }
        return texts.at(i);
    };
    QList<BalanceInfoItemPtr> result;
    result.reserve(entryCount);
    for (quint32 n = 0; n < entryCount && r.ok; ++n) {
        const quint32 flags = r.varint();
        if (flags & ~quint32(KnownFlags))
            return damaged();
        qint32 v[13];
        for (qint32 &value : v)
            value = r.signedVarint();
        BalanceInfoItemPtr ptr = BalanceInfoItem::create();
        BalanceInfoItem &e = *ptr;
        e.setOperationYear(v[0]);
        e.setOperationMonth(v[1]);
        e.setOperationDay(v[2]);
        e.setOperationHour(v[3]);
        e.setOperationMinute(v[4]);
        e.setOperationSecond(v[5]);
        e.setOperationOrder(v[6]);
        e.setPayment(v[7]);
        e.setDeposit(v[8]);
        e.setBalance(v[9]);
        e.setSummaryKind(v[10]);
        e.setStatus(v[11]);
        e.setMarked(v[12]);
        e.setOperationDate((flags & DateFromNumbers) ? cache.operationDate(v[0], v[1], v[2])
                                                     : text());
        if (flags & TimeEmpty)
            e.setOperationTime(QString());
        else
            e.setOperationTime((flags & TimeFromNumbers) ? cache.operationTime(v[3], v[4], v[5])
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
                e.setDummyString(i, text());
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

LoadResult load(const QString &path)
{
    LoadResult result;
    if (!isExistArchiveFile(path)) {
        result.status = LoadStatus::Missing;
        return result;
    }
    result.status = LoadStatus::Unreadable;
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        result.error = tr("%1 is a folder, not a ledger archive.").arg(path);
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = tr("Cannot open %1: %2").arg(path, file.errorString());
        return result;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = tr("Cannot read %1: %2").arg(path, file.errorString());
        return result;
    }
    QString why;
    if (!decode(data, &result.items, &why)) {
        result.error = tr("Cannot read %1: %2").arg(path, why);
        return result;
    }
    result.status = LoadStatus::Loaded;
    return result;
}

bool save(const QString &path, const QList<BalanceInfoItemPtr> &items, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = tr("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray data = encode(items);
    if (file.write(data) != data.size() || !file.commit()) {
        if (error)
            *error = tr("Cannot write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    setupArchiveFileInfo(path);
    return true;
}

bool isExistArchiveFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

void setupArchiveFileInfo(const QString &path)
{
#ifdef Q_OS_LINUX
    const QByteArray name = QFile::encodeName(path);
    ::setxattr(name.constData(), "user.moriva.type", "mvrk", 4, 0);
    ::setxattr(name.constData(), "user.moriva.creator", "MVRK", 4, 0);
#else
    Q_UNUSED(path);
#endif
}

} // namespace LedgerArchive
