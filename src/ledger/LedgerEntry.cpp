#include "LedgerEntry.h"

#include "DataTexts.h"
#include "EntryTextCache.h"

#include <mutex>
#include <new>

namespace {

// Entries are taken from blocks of many at a time, and the room of a freed entry goes to the
// next one made: a million entries are a few dozen allocations instead of a million, without a
// heap header each. The blocks are never given back (a ledger's entries come and go in
// numbers), and entries may be freed on the thread that wrote an archive, hence the lock.
class EntryPool
{
public:
    static EntryPool &instance()
    {
        static EntryPool *pool = new EntryPool; // deliberately leaked: entries outlive statics
        return *pool;
    }

    void *allocate()
    {
        const std::lock_guard lock(m_mutex);
        if (m_free) {
            Free *slot = m_free;
            m_free = slot->next;
            return slot;
        }
        if (m_next == m_end) {
            m_next = static_cast<char *>(::operator new(kSlot * kSlotsPerBlock));
            m_end = m_next + kSlot * kSlotsPerBlock;
        }
        void *slot = m_next;
        m_next += kSlot;
        return slot;
    }

    void release(void *entry)
    {
        const std::lock_guard lock(m_mutex);
        m_free = new (entry) Free{m_free};
    }

    static constexpr size_t kSlot = (sizeof(LedgerEntry) + alignof(LedgerEntry) - 1)
        / alignof(LedgerEntry) * alignof(LedgerEntry);

private:
    struct Free {
        Free *next;
    };
    static constexpr size_t kSlotsPerBlock = 16384;
    std::mutex m_mutex;
    Free *m_free = nullptr;
    char *m_next = nullptr;
    char *m_end = nullptr;
};

} // namespace

void *LedgerEntry::operator new(std::size_t size)
{
    if (size != sizeof(LedgerEntry))
        return ::operator new(size);
    return EntryPool::instance().allocate();
}

void LedgerEntry::operator delete(void *entry, std::size_t size)
{
    if (!entry)
        return;
    if (size != sizeof(LedgerEntry))
        ::operator delete(entry);
    else
        EntryPool::instance().release(entry);
}

LedgerEntry::~LedgerEntry() = default;

bool LedgerEntry::OutOfLine::isDefault() const
{
    if (!date.isNull() || !time.isNull() || !details.isNull() || !importedSummary.isNull())
        return false;
    if (!paymentPrice.isNull() || !depositPrice.isNull() || !balancePrice.isNull())
        return false;
    for (const QString &s : reservedTexts) {
        if (!s.isEmpty())
            return false;
    }
    for (const QByteArray &p : pictures) {
        if (!p.isNull())
            return false;
    }
    return true;
}

LedgerEntry::OutOfLine &LedgerEntry::extra()
{
    if (!m_extra)
        m_extra = std::make_unique<OutOfLine>();
    return *m_extra;
}

void LedgerEntry::dropExtraIfDefault()
{
    if (m_extra && m_extra->isDefault())
        m_extra.reset();
}

QString LedgerEntry::dateFromNumbers() const
{
    return EntryTextCache::fixedDateText(m_year, m_month, m_day);
}

QString LedgerEntry::timeFromNumbers() const
{
    return EntryTextCache::fixedTimeText(m_hour, m_minute, m_second);
}

void LedgerEntry::storeDate()
{
    extra().date = dateFromNumbers();
    m_date = TextState::Stored;
}

void LedgerEntry::storeTime()
{
    extra().time = timeFromNumbers();
    m_time = TextState::Stored;
}

QString LedgerEntry::date() const
{
    switch (m_date) {
    case TextState::FromNumbers:
        return dateFromNumbers();
    case TextState::Stored:
        return m_extra->date;
    default:
        return QString();
    }
}

QString LedgerEntry::time() const
{
    switch (m_time) {
    case TextState::FromNumbers:
        return timeFromNumbers();
    case TextState::Stored:
        return m_extra->time;
    default:
        return QString();
    }
}

// Whether two texts are the same, null or not: QString equality holds a null text equal to an
// empty one.
static bool sameText(const QString &a, const QString &b)
{
    return a.isNull() == b.isNull() && a.size() == b.size()
        && (a.constData() == b.constData() || a == b);
}

void LedgerEntry::setNumbersText(TextState &state, QString OutOfLine::*stored, const QString &v,
                                 const QString &made)
{
    if (m_extra)
        (*m_extra).*stored = QString();
    if (v.isNull()) {
        state = TextState::Null;
    } else if (!made.isNull() && sameText(v, made)) {
        state = TextState::FromNumbers;
    } else {
        extra().*stored = v;
        state = TextState::Stored;
    }
    dropExtraIfDefault();
}

void LedgerEntry::setDate(const QString &v)
{
    setNumbersText(m_date, &OutOfLine::date, v, v.isNull() ? QString() : dateFromNumbers());
}

void LedgerEntry::setTime(const QString &v)
{
    setNumbersText(m_time, &OutOfLine::time, v, v.isNull() ? QString() : timeFromNumbers());
}

void LedgerEntry::setSummary(const QString &v)
{
    if (m_importedIsSummary && !sameText(v, m_summary)) {
        // The imported summary stays what it was.
        m_importedIsSummary = false;
        if (!m_summary.isNull())
            extra().importedSummary = m_summary;
    }
    m_summary = v;
}

void LedgerEntry::setDetails(const QString &v)
{
    if (v.isNull() && !m_extra)
        return;
    extra().details = v;
    dropExtraIfDefault();
}

QString LedgerEntry::importedSummary() const
{
    if (m_importedIsSummary)
        return m_summary;
    return m_extra ? m_extra->importedSummary : QString();
}

void LedgerEntry::setImportedSummary(const QString &v)
{
    if (m_extra)
        m_extra->importedSummary = QString();
    m_importedIsSummary = !v.isNull() && sameText(v, m_summary);
    if (!m_importedIsSummary && !v.isNull())
        extra().importedSummary = v;
    dropExtraIfDefault();
}

// A stored price text is kept only when it is not the one the amount gives.
#define MORIVA_PRICE_ACCESSORS(Getter, Setter, member, amount)                                   \
    QString LedgerEntry::Getter() const                                                      \
    {                                                                                            \
        if (m_extra && !m_extra->member.isNull())                                                \
            return m_extra->member;                                                              \
        return DataTexts::priceString(amount);                                                   \
    }                                                                                            \
    void LedgerEntry::Setter(const QString &v)                                               \
    {                                                                                            \
        if (v == DataTexts::priceString(amount)) {                                               \
            if (m_extra)                                                                         \
                m_extra->member = QString();                                                     \
            dropExtraIfDefault();                                                                \
        } else {                                                                                 \
            extra().member = v.isNull() ? QStringLiteral("") : v;                                    \
        }                                                                                        \
    }

MORIVA_PRICE_ACCESSORS(paymentPrice, setPaymentPrice, paymentPrice, m_payment)
MORIVA_PRICE_ACCESSORS(depositPrice, setDepositPrice, depositPrice, m_deposit)
MORIVA_PRICE_ACCESSORS(balancePrice, setBalancePrice, balancePrice, m_balance)
#undef MORIVA_PRICE_ACCESSORS

QString LedgerEntry::reservedText(int index) const
{
    if (index == 0)
        return importedSummary();
    if (index < 1 || index > 4 || !m_extra)
        return QString();
    return m_extra->reservedTexts[size_t(index - 1)];
}

void LedgerEntry::setReservedText(int index, const QString &v)
{
    if (index == 0) {
        setImportedSummary(v);
        return;
    }
    if (index < 1 || index > 4)
        return;
    if (v.isEmpty() && !m_extra)
        return;
    extra().reservedTexts[size_t(index - 1)] = v;
    dropExtraIfDefault();
}

QByteArray LedgerEntry::picture(int index) const
{
    if (index < 0 || index > 2 || !m_extra)
        return QByteArray();
    return m_extra->pictures[size_t(index)];
}

void LedgerEntry::setPicture(int index, const QByteArray &v)
{
    if (index < 0 || index > 2)
        return;
    if (v.isNull() && !m_extra)
        return;
    extra().pictures[size_t(index)] = v;
    dropExtraIfDefault();
}

LedgerEntryPtr LedgerEntry::makeReplacement() const
{
    LedgerEntryPtr copy = create();
    LedgerEntry &c = *copy;
    c.m_year = m_year;
    c.m_month = m_month;
    c.m_day = m_day;
    c.m_hour = m_hour;
    c.m_minute = m_minute;
    c.m_second = m_second;
    c.m_orderNumber = m_orderNumber;
    c.m_payment = m_payment;
    c.m_deposit = m_deposit;
    c.m_balance = m_balance;
    c.m_summaryKind = m_summaryKind;
    c.m_status = m_status;
    c.m_marked = m_marked;
    c.m_date = m_date;
    c.m_time = m_time;
    c.m_importedIsSummary = m_importedIsSummary;
    c.m_summary = m_summary;
    if (m_extra) {
        // Every record field; the free reserved fields start empty.
        OutOfLine &e = c.extra();
        e.date = m_extra->date;
        e.time = m_extra->time;
        e.details = m_extra->details;
        e.importedSummary = m_extra->importedSummary;
        e.paymentPrice = m_extra->paymentPrice;
        e.depositPrice = m_extra->depositPrice;
        e.balancePrice = m_extra->balancePrice;
        c.dropExtraIfDefault();
    }
    return copy;
}

const LedgerEntry *LedgerEntry::latest() const
{
    const LedgerEntry *item = this;
    while (item->m_successor)
        item = item->m_successor.data();
    return item;
}

bool LedgerEntry::sameRecord(const LedgerEntry &o) const
{
    if (m_year != o.m_year || m_month != o.m_month
        || m_day != o.m_day || m_hour != o.m_hour
        || m_minute != o.m_minute || m_second != o.m_second
        || m_orderNumber != o.m_orderNumber || m_payment != o.m_payment
        || m_deposit != o.m_deposit || m_balance != o.m_balance || m_summaryKind != o.m_summaryKind
        || m_status != o.m_status || m_marked != o.m_marked)
        return false;
    if (date() != o.date() || time() != o.time() || m_summary != o.m_summary
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
