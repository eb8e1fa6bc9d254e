#include "LedgerEntry.h"

#include "DataTexts.h"
#include "EntryStore.h"
#include "EntryTextCache.h"

#include <QtEndian>

#include <cstddef>

namespace {

EntryStore &store()
{
    return EntryStore::instance();
}

// Whether two texts are the same, null or not: QString equality holds a null text equal to an
// empty one.
bool sameText(const QString &a, const QString &b)
{
    return a.isNull() == b.isNull() && a.size() == b.size()
        && (a.constData() == b.constData() || a == b);
}

} // namespace

LedgerEntryPtr LedgerEntry::create()
{
    return LedgerEntryPtr(store().make());
}

bool LedgerEntry::isValidRecord(const uchar *record, quint32 textCount)
{
    const quint32 bits = qFromLittleEndian<quint32>(record);
    return !(bits & ~quint32(kKnownBits)) && (bits & kDateState) != 3
        && ((bits >> kTimeShift) & 0x3) != 3
        && qFromLittleEndian<quint32>(record + kSummaryOffset) <= textCount
        && (!(bits & kWide) || (bits & kHasExtra));
}

void LedgerEntry::writeRecord(uchar *out, quint32 summaryId) const
{
    // The archive's record is the entry as it lies in memory, so that a mapped archive is used
    // in place.
    static_assert(offsetof(LedgerEntry, m_year) == 4 && offsetof(LedgerEntry, m_kind) == 11
                  && offsetof(LedgerEntry, m_orderNumber) == 12
                  && offsetof(LedgerEntry, m_summary) == kSummaryOffset);
    qToLittleEndian(m_bits, out);
    qToLittleEndian(m_year, out + 4);
    out[6] = m_month;
    out[7] = m_day;
    out[8] = m_hour;
    out[9] = m_minute;
    out[10] = m_second;
    out[11] = m_kind;
    qToLittleEndian(m_orderNumber, out + 12);
    qToLittleEndian(m_payment, out + 16);
    qToLittleEndian(m_deposit, out + 20);
    qToLittleEndian(m_balance, out + 24);
    qToLittleEndian(summaryId, out + kSummaryOffset);
}

void LedgerEntry::readRecord(const uchar *in, LedgerEntry &into, quint32 summaryId)
{
    into.m_bits = qFromLittleEndian<quint32>(in);
    into.m_year = qFromLittleEndian<quint16>(in + 4);
    into.m_month = in[6];
    into.m_day = in[7];
    into.m_hour = in[8];
    into.m_minute = in[9];
    into.m_second = in[10];
    into.m_kind = in[11];
    into.m_orderNumber = qFromLittleEndian<qint32>(in + 12);
    into.m_payment = qFromLittleEndian<qint32>(in + 16);
    into.m_deposit = qFromLittleEndian<qint32>(in + 20);
    into.m_balance = qFromLittleEndian<qint32>(in + 24);
    into.m_summary = summaryId;
}

int LedgerEntry::wide(int index) const
{
    return store().extraOf(this).wide[size_t(index)];
}

void LedgerEntry::setSmall(int index, int v)
{
    if (!isWide()) {
        const int limit = index == 0 ? 0xffff : 0xff;
        if (v >= 0 && v <= limit) {
            switch (index) {
            case 0: m_year = quint16(v); break;
            case 1: m_month = quint8(v); break;
            case 2: m_day = quint8(v); break;
            case 3: m_hour = quint8(v); break;
            case 4: m_minute = quint8(v); break;
            case 5: m_second = quint8(v); break;
            case 6: m_kind = quint8(v); break;
            case 7: m_bits = (m_bits & ~(0xffu << kStatusShift)) | (quint32(v) << kStatusShift); break;
            default: m_bits = (m_bits & ~(0xffu << kMarkedShift)) | (quint32(v) << kMarkedShift); break;
            }
            return;
        }
        // A number the record cannot hold: they all move beside it.
        ExtraFields &extra = store().extraFor(this);
        extra.wide = {m_year, m_month, m_day, m_hour, m_minute, m_second, m_kind, status(),
                      marked()};
        m_bits |= kWide | kHasExtra;
    }
    store().extraFor(this).wide[size_t(index)] = v;
}

void LedgerEntry::setDateNumber(int index, int v)
{
    if (dateState() == TextState::FromNumbers)
        storeDate(); // the text stays as it was
    setSmall(index, v);
}

void LedgerEntry::setTimeNumber(int index, int v)
{
    if (timeState() == TextState::FromNumbers)
        storeTime(); // the text stays as it was
    setSmall(index, v);
}

void LedgerEntry::setYear(int v) { setDateNumber(0, v); }
void LedgerEntry::setMonth(int v) { setDateNumber(1, v); }
void LedgerEntry::setDay(int v) { setDateNumber(2, v); }
void LedgerEntry::setHour(int v) { setTimeNumber(3, v); }
void LedgerEntry::setMinute(int v) { setTimeNumber(4, v); }
void LedgerEntry::setSecond(int v) { setTimeNumber(5, v); }
void LedgerEntry::setSummaryKind(int v) { setSmall(6, v); }
void LedgerEntry::setStatus(int v) { setSmall(7, v); }
void LedgerEntry::setMarked(int v) { setSmall(8, v); }

QString LedgerEntry::dateFromNumbers() const
{
    return EntryTextCache::fixedDateText(year(), month(), day());
}

QString LedgerEntry::timeFromNumbers() const
{
    return EntryTextCache::fixedTimeText(hour(), minute(), second());
}

void LedgerEntry::storeDate()
{
    const QString text = dateFromNumbers();
    store().extraFor(this).date = text;
    m_bits |= kHasExtra;
    setDateState(TextState::Stored);
}

void LedgerEntry::storeTime()
{
    const QString text = timeFromNumbers();
    store().extraFor(this).time = text;
    m_bits |= kHasExtra;
    setTimeState(TextState::Stored);
}

QString LedgerEntry::date() const
{
    switch (dateState()) {
    case TextState::FromNumbers:
        return dateFromNumbers();
    case TextState::Stored:
        return store().extraOf(this).date;
    default:
        return QString();
    }
}

QString LedgerEntry::time() const
{
    switch (timeState()) {
    case TextState::FromNumbers:
        return timeFromNumbers();
    case TextState::Stored:
        return store().extraOf(this).time;
    default:
        return QString();
    }
}

// Keeps a text beside the record (or drops it there: a null text), and the record's flag that
// says whether anything is kept there.
#define MORIVA_SET_EXTRA(member, value)                                                          \
    do {                                                                                         \
        if (!(m_bits & kHasExtra) && (value).isNull())                                           \
            break;                                                                               \
        ExtraFields &extra = store().extraFor(this);                                             \
        extra.member = (value);                                                                  \
        m_bits |= kHasExtra;                                                                     \
        if (extra.isDefault(isWide())) {                                                         \
            store().dropExtra(this);                                                             \
            m_bits &= ~quint32(kHasExtra);                                                       \
        }                                                                                        \
    } while (false)

void LedgerEntry::setDate(const QString &v)
{
    const QString made = v.isNull() ? QString() : dateFromNumbers();
    if (v.isNull() || (!made.isNull() && sameText(v, made))) {
        MORIVA_SET_EXTRA(date, QString());
        setDateState(v.isNull() ? TextState::Null : TextState::FromNumbers);
    } else {
        MORIVA_SET_EXTRA(date, v);
        setDateState(TextState::Stored);
    }
}

void LedgerEntry::setTime(const QString &v)
{
    const QString made = v.isNull() ? QString() : timeFromNumbers();
    if (v.isNull() || (!made.isNull() && sameText(v, made))) {
        MORIVA_SET_EXTRA(time, QString());
        setTimeState(v.isNull() ? TextState::Null : TextState::FromNumbers);
    } else {
        MORIVA_SET_EXTRA(time, v);
        setTimeState(TextState::Stored);
    }
}

QString LedgerEntry::summary() const
{
    return store().textsOf(this).text(m_summary);
}

void LedgerEntry::setSummary(const QString &v)
{
    if ((m_bits & kImportedIsSummary) && !sameText(v, summary())) {
        // The imported summary stays what it was.
        const QString before = summary();
        m_bits &= ~quint32(kImportedIsSummary);
        if (!before.isNull())
            MORIVA_SET_EXTRA(importedSummary, before);
    }
    m_summary = TextPool::instance().intern(v);
}

QString LedgerEntry::details() const
{
    return (m_bits & kHasExtra) ? store().extraOf(this).details : QString();
}

void LedgerEntry::setDetails(const QString &v)
{
    MORIVA_SET_EXTRA(details, v);
}

QString LedgerEntry::importedSummary() const
{
    if (m_bits & kImportedIsSummary)
        return summary();
    return (m_bits & kHasExtra) ? store().extraOf(this).importedSummary : QString();
}

void LedgerEntry::setImportedSummary(const QString &v)
{
    MORIVA_SET_EXTRA(importedSummary, QString());
    if (!v.isNull() && sameText(v, summary())) {
        m_bits |= kImportedIsSummary;
    } else {
        m_bits &= ~quint32(kImportedIsSummary);
        MORIVA_SET_EXTRA(importedSummary, v);
    }
}

// A stored price text is kept only when it is not the one the amount gives.
#define MORIVA_PRICE_ACCESSORS(Getter, Setter, member, amount)                                   \
    QString LedgerEntry::Getter() const                                                          \
    {                                                                                            \
        if (m_bits & kHasExtra) {                                                                \
            const QString &stored = store().extraOf(this).member;                                \
            if (!stored.isNull())                                                                \
                return stored;                                                                   \
        }                                                                                        \
        return DataTexts::priceString(amount);                                                   \
    }                                                                                            \
    void LedgerEntry::Setter(const QString &v)                                                   \
    {                                                                                            \
        if (v == DataTexts::priceString(amount))                                                 \
            MORIVA_SET_EXTRA(member, QString());                                                 \
        else                                                                                     \
            MORIVA_SET_EXTRA(member, v.isNull() ? QStringLiteral("") : v);                       \
    }

MORIVA_PRICE_ACCESSORS(paymentPrice, setPaymentPrice, paymentPrice, m_payment)
MORIVA_PRICE_ACCESSORS(depositPrice, setDepositPrice, depositPrice, m_deposit)
MORIVA_PRICE_ACCESSORS(balancePrice, setBalancePrice, balancePrice, m_balance)
#undef MORIVA_PRICE_ACCESSORS

QString LedgerEntry::reservedText(int index) const
{
    if (index == 0)
        return importedSummary();
    if (index < 1 || index > 4 || !(m_bits & kHasExtra))
        return QString();
    return store().extraOf(this).reservedTexts[size_t(index - 1)];
}

void LedgerEntry::setReservedText(int index, const QString &v)
{
    if (index == 0) {
        setImportedSummary(v);
        return;
    }
    if (index < 1 || index > 4 || (v.isEmpty() && !(m_bits & kHasExtra)))
        return;
    MORIVA_SET_EXTRA(reservedTexts[size_t(index - 1)], v);
}

QByteArray LedgerEntry::picture(int index) const
{
    if (index < 0 || index > 2 || !(m_bits & kHasExtra))
        return QByteArray();
    return store().extraOf(this).pictures[size_t(index)];
}

void LedgerEntry::setPicture(int index, const QByteArray &v)
{
    if (index < 0 || index > 2)
        return;
    MORIVA_SET_EXTRA(pictures[size_t(index)], v);
}
#undef MORIVA_SET_EXTRA

LedgerEntryPtr LedgerEntry::makeReplacement() const
{
    LedgerEntryPtr copy = create();
    LedgerEntry &c = *copy;
    // The record as it is, but for what lies beside it, which is copied below; the summary is
    // numbered anew in this process's table when this entry's table is another.
    c.m_bits = m_bits & ~quint32(kHasExtra | kWide);
    c.m_year = m_year;
    c.m_month = m_month;
    c.m_day = m_day;
    c.m_hour = m_hour;
    c.m_minute = m_minute;
    c.m_second = m_second;
    c.m_kind = m_kind;
    c.m_orderNumber = m_orderNumber;
    c.m_payment = m_payment;
    c.m_deposit = m_deposit;
    c.m_balance = m_balance;
    const TextTable &texts = store().textsOf(this);
    c.m_summary = &texts == &TextPool::instance() ? m_summary : TextPool::instance().intern(summary());
    if (m_bits & kHasExtra) {
        // Every record field; the free reserved fields start empty.
        const ExtraFields &from = store().extraOf(this);
        ExtraFields extra;
        extra.date = from.date;
        extra.time = from.time;
        extra.details = from.details;
        extra.importedSummary = from.importedSummary;
        extra.paymentPrice = from.paymentPrice;
        extra.depositPrice = from.depositPrice;
        extra.balancePrice = from.balancePrice;
        extra.wide = from.wide;
        if (!extra.isDefault(isWide())) {
            store().extraFor(&c) = extra;
            c.m_bits |= m_bits & (kHasExtra | kWide);
        }
    }
    return copy;
}

LedgerEntry *LedgerEntry::successor() const
{
    return store().successorOf(this);
}

void LedgerEntry::setSuccessor(const LedgerEntryPtr &next) const
{
    store().setSuccessor(this, next.data());
}

const LedgerEntry *LedgerEntry::latest() const
{
    const LedgerEntry *item = this;
    while (const LedgerEntry *next = item->successor())
        item = next;
    return item;
}

bool LedgerEntry::sameRecord(const LedgerEntry &o) const
{
    if (year() != o.year() || month() != o.month() || day() != o.day() || hour() != o.hour()
        || minute() != o.minute() || second() != o.second() || m_orderNumber != o.m_orderNumber
        || m_payment != o.m_payment || m_deposit != o.m_deposit || m_balance != o.m_balance
        || summaryKind() != o.summaryKind() || status() != o.status() || marked() != o.marked())
        return false;
    if (date() != o.date() || time() != o.time() || summary() != o.summary()
        || details() != o.details() || importedSummary() != o.importedSummary())
        return false;
    if (paymentPrice() != o.paymentPrice() || depositPrice() != o.depositPrice()
        || balancePrice() != o.balancePrice())
        return false;
    for (int i = 1; i <= 4; ++i) {
        if (reservedText(i) != o.reservedText(i))
            return false;
    }
    for (int i = 0; i < 3; ++i) {
        const QByteArray a = picture(i), b = o.picture(i);
        if (a.isNull() != b.isNull() || a != b)
            return false;
    }
    return true;
}
