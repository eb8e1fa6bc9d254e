#include "ArchiveCodec.h"
#include "ArchiveFormat.h"
#include "ArchiveLayout.h"

#include "DataTexts.h"
#include "EntryStore.h"

#include <QIODevice>
#include <QtEndian>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace LedgerArchive {
using namespace Codec;
namespace {

// Which of an entry's fields beside its record the archive holds, in this order.
enum ExtraField : quint32 {
    ExtraDate = 1 << 0,
    ExtraTime = 1 << 1,
    ExtraDetails = 1 << 2,
    ExtraImportedSummary = 1 << 3,
    ExtraPaymentPrice = 1 << 4,
    ExtraDepositPrice = 1 << 5,
    ExtraBalancePrice = 1 << 6,
    ExtraReserved = 1 << 7,  // four bits: the free reserved texts 1 … 4
    ExtraPicture = 1 << 11,  // three bits: the pictures
    ExtraWide = 1 << 14,
    KnownExtraFields = (1 << 15) - 1,
};

void appendVarint(QByteArray &out, quint32 v)
{
    uchar bytes[5];
    out.append(reinterpret_cast<const char *>(bytes), putVarint(bytes, v) - bytes);
}

void appendText(QByteArray &out, const QString &text)
{
    appendVarint(out, quint32(text.size()));
    for (const QChar c : text) {
        char bytes[2];
        qToLittleEndian(c.unicode(), bytes);
        out.append(bytes, 2);
    }
}

void appendExtras(QByteArray &out, const LedgerEntry &e)
{
    const QString date = e.hasDateFromNumbers() ? QString() : e.date();
    const QString time = e.hasTimeFromNumbers() ? QString() : e.time();
    const QString imported = e.hasImportedSummaryAsSummary() ? QString() : e.importedSummary();
    const QString prices[3] = {e.paymentPrice(), e.depositPrice(), e.balancePrice()};
    const int amounts[3] = {e.payment(), e.deposit(), e.balance()};
    quint32 mask = 0;
    QList<QString> texts;
    const auto text = [&mask, &texts](quint32 bit, const QString &t, bool present) {
        if (present) {
            mask |= bit;
            texts.append(t);
        }
    };
    text(ExtraDate, date, !date.isNull());
    text(ExtraTime, time, !time.isNull());
    text(ExtraDetails, e.details(), !e.details().isNull());
    text(ExtraImportedSummary, imported, !imported.isNull());
    for (int i = 0; i < 3; ++i)
        text(ExtraPaymentPrice << i, prices[i], prices[i] != DataTexts::priceString(amounts[i]));
    for (int i = 1; i <= 4; ++i)
        text(ExtraReserved << (i - 1), e.reservedText(i), !e.reservedText(i).isEmpty());
    for (int i = 0; i < 3; ++i) {
        if (!e.picture(i).isNull())
            mask |= ExtraPicture << i;
    }
    const bool wide = e.bits() & LedgerEntry::kWide;
    if (wide)
        mask |= ExtraWide;
    appendVarint(out, mask);
    for (const QString &t : texts)
        appendText(out, t);
    for (int i = 0; i < 3; ++i) {
        if (mask & (ExtraPicture << i)) {
            const QByteArray picture = e.picture(i);
            appendVarint(out, quint32(picture.size()));
            out.append(picture);
        }
    }
    if (wide) {
        uchar bytes[5];
        for (const int v : {e.year(), e.month(), e.day(), e.hour(), e.minute(), e.second(),
                            e.summaryKind(), e.status(), e.marked()})
            out.append(reinterpret_cast<const char *>(bytes), putSigned(bytes, v) - bytes);
    }
}

bool readText(Reader &r, QString &out)
{
    const quint32 length = r.varint();
    if (!r.ok || length > quint32(r.end - r.p) / 2) {
        r.ok = false;
        return false;
    }
    out.resize(qsizetype(length));
    for (quint32 i = 0; i < length; ++i, r.p += 2)
        out[i] = QChar(qFromLittleEndian<quint16>(r.p));
    return true;
}

// Reads the fields beside a record whose bits are given: what they hold must be what the
// bits say is beside the record.
bool readExtras(Reader &r, ExtraFields &out, quint32 bits)
{
    const quint32 mask = r.varint();
    const auto stored = [bits](int shift) {
        return LedgerEntry::TextState((bits >> shift) & 0x3) == LedgerEntry::TextState::Stored;
    };
    if (!r.ok || (mask & ~quint32(KnownExtraFields))
        || bool(mask & ExtraWide) != bool(bits & LedgerEntry::kWide)
        || ((mask & ExtraDate) && !stored(0))
        || ((mask & ExtraTime) && !stored(LedgerEntry::kTimeShift)))
        return false;
    QString *texts[] = {&out.date, &out.time, &out.details, &out.importedSummary,
                        &out.paymentPrice, &out.depositPrice, &out.balancePrice,
                        &out.reservedTexts[0], &out.reservedTexts[1], &out.reservedTexts[2],
                        &out.reservedTexts[3]};
    for (int i = 0; i < 11; ++i) {
        if ((mask & (1u << i)) && !readText(r, *texts[i]))
            return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (!(mask & (ExtraPicture << i)))
            continue;
        const quint32 length = r.varint();
        if (!r.ok || length > quint32(r.end - r.p))
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

// The summaries' new numbers in the archive being written, by the table they number into now:
// numbered in the order the entries first use them.
class SummaryNumbers
{
public:
    quint32 numberOf(const LedgerEntry &e)
    {
        const quint32 id = e.summaryId();
        if (id == 0)
            return 0;
        const TextTable &table = EntryStore::instance().textsOf(&e);
        if (&table != m_lastTable) {
            std::vector<quint32> &numbers = m_numbers[&table];
            if (numbers.size() <= table.size())
                numbers.resize(size_t(table.size()) + 1, 0);
            m_lastTable = &table;
            m_last = &numbers;
        }
        quint32 &number = (*m_last)[id];
        if (number == 0) {
            m_charCount += quint32(m_lastTable->view(id).size());
            m_ends.push_back(m_charCount);
            number = quint32(m_ends.size());
        }
        return number;
    }
    // The text an entry's summary is, when its number is the next one to write (the first
    // entry to use it); null otherwise.
    QStringView textToWrite(const LedgerEntry &e)
    {
        const quint32 number = numberOf(e);
        if (number != m_written + 1)
            return QStringView();
        ++m_written;
        return m_lastTable->view(e.summaryId());
    }
    const std::vector<quint32> &ends() const { return m_ends; }
    quint32 charCount() const { return m_charCount; }

private:
    std::unordered_map<const TextTable *, std::vector<quint32>> m_numbers;
    const TextTable *m_lastTable = nullptr;
    std::vector<quint32> *m_last = nullptr;
    std::vector<quint32> m_ends;
    quint32 m_charCount = 0;
    quint32 m_written = 0;
};

// Gathers small writes into one buffer that is handed on when full.
class BufferedWriter
{
public:
    explicit BufferedWriter(const std::function<bool(const char *, qint64)> &write)
        : m_write(write)
    {
        m_buffer.reserve(kSize);
    }
    bool append(const void *data, qsizetype size)
    {
        if (qsizetype(m_buffer.size()) + size > kSize && !flush())
            return false;
        if (size > kSize)
            return m_write(static_cast<const char *>(data), size);
        const char *bytes = static_cast<const char *>(data);
        m_buffer.insert(m_buffer.end(), bytes, bytes + size);
        return true;
    }
    // Room for `size` bytes at the end of the buffer (at most a record's worth).
    char *room(qsizetype size)
    {
        if (qsizetype(m_buffer.size()) + size > kSize && !flush())
            return nullptr;
        m_buffer.resize(m_buffer.size() + size_t(size));
        return m_buffer.data() + m_buffer.size() - size;
    }
    bool flush()
    {
        const bool ok = m_buffer.empty() || m_write(m_buffer.data(), qint64(m_buffer.size()));
        m_buffer.clear();
        return ok;
    }

private:
    static constexpr qsizetype kSize = qsizetype(1) << 20;
    const std::function<bool(const char *, qint64)> &m_write;
    std::vector<char> m_buffer;
};

// Writes the archive in pieces: the tables first, then the records through one buffer, so that
// a million entries are never copied into one block of memory.
bool writeArchive(const QList<LedgerEntryPtr> &items,
                  const std::function<bool(const char *, qint64)> &write)
{
    // First the summaries are numbered and the other fields gathered, then the texts are
    // written in the order of their numbers (the order in which the entries first use them),
    // then the records.
    SummaryNumbers numbers;
    QByteArray extras;
    quint32 extraCount = 0;
    for (const LedgerEntryPtr &e : items) {
        numbers.numberOf(*e);
        if (e->hasOutOfLineFields()) {
            appendExtras(extras, *e);
            ++extraCount;
        }
    }
    const std::vector<quint32> &ends = numbers.ends();
    BufferedWriter out(write);
    char head[kHeaderBytes];
    memcpy(head, kMagic, sizeof kMagic);
    qToBigEndian(kFormatVersion, head + 8);
    quint32 counts[6] = {quint32(ends.size()), numbers.charCount(), quint32(items.size()),
                         extraCount, quint32(extras.size()), 0};
    qToLittleEndian<quint32>(counts, 6, counts);
    if (!out.append(head, kHeaderBytes) || !out.append(counts, kV3CountsBytes)
        || !out.append(ends.data(), qsizetype(ends.size()) * 4))
        return false;
    for (const LedgerEntryPtr &e : items) {
        const QStringView text = numbers.textToWrite(*e);
        if (!text.isEmpty() && !out.append(text.utf16(), text.size() * 2))
            return false;
    }
    if (numbers.charCount() % 2 && !out.append("\0\0", 2))
        return false;
    for (const LedgerEntryPtr &e : items) {
        uchar *record = reinterpret_cast<uchar *>(out.room(LedgerEntry::kRecordBytes));
        if (!record)
            return false;
        e->writeRecord(record, numbers.numberOf(*e));
    }
    char end[4];
    qToBigEndian(kEndMarker, end);
    return out.append(extras.constData(), extras.size()) && out.append(end, 4) && out.flush();
}

} // namespace

bool readExtrasOf(const Layout &layout, const std::function<void(qsizetype, ExtraFields &&)> &take)
{
    Reader r{layout.extras, layout.extras + layout.extrasBytes};
    qsizetype taken = 0;
    for (qsizetype i = 0; i < qsizetype(layout.entryCount) && taken < qsizetype(layout.extraCount); ++i) {
        const quint32 bits = qFromLittleEndian<quint32>(layout.records + i * LedgerEntry::kRecordBytes);
        if (!(bits & LedgerEntry::kHasExtra))
            continue;
        ExtraFields extra;
        if (!readExtras(r, extra, bits))
            return false;
        take(i, std::move(extra));
        ++taken;
    }
    return r.ok && r.p == r.end;
}

QByteArray encode(const QList<LedgerEntryPtr> &items)
{
    QByteArray out;
    writeArchive(items, [&out](const char *data, qint64 size) {
        out.append(data, size);
        return true;
    });
    char checksum[kChecksumBytes];
    qToBigEndian(checksumOf(out.constData(), out.size()), checksum);
    out.append(checksum, kChecksumBytes);
    return out;
}

bool writeTo(QIODevice *device, const QList<LedgerEntryPtr> &items)
{
    quint32 crc = 0;
    const bool written = writeArchive(items, [device, &crc](const char *data, qint64 size) {
        crc = checksumOf(data, size, crc);
        return device->write(data, size) == size;
    });
    char checksum[kChecksumBytes];
    qToBigEndian(crc, checksum);
    return written && device->write(checksum, kChecksumBytes) == kChecksumBytes;
}

bool entriesOf(const Layout &layout, QList<LedgerEntryPtr> *items, QString *error)
{
    // Entries made here: the summaries are numbered anew in this process's table, each once.
    TextPool &pool = TextPool::instance();
    const MappedTextTable texts = layout.texts();
    std::vector<quint32> numbers(size_t(layout.textCount) + 1, 0);
    QList<LedgerEntryPtr> result;
    result.reserve(layout.entryCount);
    for (quint32 i = 0; i < layout.entryCount; ++i) {
        const uchar *record = layout.records + qsizetype(i) * LedgerEntry::kRecordBytes;
        const quint32 id = qFromLittleEndian<quint32>(record + LedgerEntry::kSummaryOffset);
        if (id && !numbers[id])
            numbers[id] = pool.intern(texts.view(id));
        LedgerEntryPtr e = LedgerEntry::create();
        LedgerEntry::readRecord(record, *e, numbers[id]);
        result.append(e);
    }
    if (!readExtrasOf(layout, [&result](qsizetype i, ExtraFields &&extra) {
            EntryStore::instance().extraFor(result.at(i).data()) = std::move(extra);
        })) {
        if (error)
            *error = tr("The archive is damaged or incomplete.");
        return false;
    }
    *items = std::move(result);
    return true;
}

bool decode(const QByteArray &file, QList<LedgerEntryPtr> *items, QString *error)
{
    const Layout layout = Layout::read(reinterpret_cast<const uchar *>(file.constData()),
                                       file.size(), error);
    switch (layout.kind) {
    case Layout::Kind::Unreadable:
        return false;
    case Layout::Kind::Legacy:
        return decodeLegacy(QByteArray::fromRawData(file.constData(), layout.contentBytes), items,
                            error);
    case Layout::Kind::Current:
        break;
    }
    return entriesOf(layout, items, error);
}

} // namespace LedgerArchive
