#include "BalanceInfoItem.h"

#include "DataTexts.h"

BalanceInfoItem::~BalanceInfoItem() = default;

bool BalanceInfoItem::OutOfLine::isDefault() const
{
    if (!paymentPrice.isNull() || !depositPrice.isNull() || !balancePrice.isNull())
        return false;
    for (const QString &s : dummyStrings) {
        if (!s.isEmpty())
            return false;
    }
    for (const QByteArray &p : pictures) {
        if (!p.isNull())
            return false;
    }
    return true;
}

BalanceInfoItem::OutOfLine &BalanceInfoItem::extra()
{
    if (!m_extra)
        m_extra = std::make_unique<OutOfLine>();
    return *m_extra;
}

void BalanceInfoItem::dropExtraIfDefault()
{
    if (m_extra && m_extra->isDefault())
        m_extra.reset();
}

// A stored price text is kept only when it is not the one the amount gives.
#define MORIVA_PRICE_ACCESSORS(Getter, Setter, member, amount)                                   \
    QString BalanceInfoItem::Getter() const                                                      \
    {                                                                                            \
        if (m_extra && !m_extra->member.isNull())                                                \
            return m_extra->member;                                                              \
        return DataTexts::priceString(amount);                                                   \
    }                                                                                            \
    void BalanceInfoItem::Setter(const QString &v)                                               \
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

QString BalanceInfoItem::dummyString(int index) const
{
    if (index == 0)
        return imported_summary;
    if (index < 1 || index > 4 || !m_extra)
        return QString();
    return m_extra->dummyStrings[size_t(index - 1)];
}

void BalanceInfoItem::setDummyString(int index, const QString &v)
{
    if (index == 0) {
        imported_summary = v;
        return;
    }
    if (index < 1 || index > 4)
        return;
    if (v.isEmpty() && !m_extra)
        return;
    extra().dummyStrings[size_t(index - 1)] = v;
    dropExtraIfDefault();
}

QByteArray BalanceInfoItem::picture(int index) const
{
    if (index < 0 || index > 2 || !m_extra)
        return QByteArray();
    return m_extra->pictures[size_t(index)];
}

void BalanceInfoItem::setPicture(int index, const QByteArray &v)
{
    if (index < 0 || index > 2)
        return;
    if (v.isNull() && !m_extra)
        return;
    extra().pictures[size_t(index)] = v;
    dropExtraIfDefault();
}

BalanceInfoItemPtr BalanceInfoItem::makeReplacement() const
{
    BalanceInfoItemPtr copy = create();
    BalanceInfoItem &c = *copy;
    c.operation_year = operation_year;
    c.operation_month = operation_month;
    c.operation_day = operation_day;
    c.operation_hour = operation_hour;
    c.operation_minute = operation_minute;
    c.operation_second = operation_second;
    c.operation_order = operation_order;
    c.m_payment = m_payment;
    c.m_deposit = m_deposit;
    c.m_balance = m_balance;
    c.summary_kind = summary_kind;
    c.m_status = m_status;
    c.m_marked = m_marked;
    c.operation_date = operation_date;
    c.operation_time = operation_time;
    c.m_summary = m_summary;
    c.m_details = m_details;
    c.imported_summary = imported_summary;
    if (m_extra) {
        // Only the price texts are record fields; the free reserved fields start empty.
        OutOfLine &e = c.extra();
        e.paymentPrice = m_extra->paymentPrice;
        e.depositPrice = m_extra->depositPrice;
        e.balancePrice = m_extra->balancePrice;
        c.dropExtraIfDefault();
    }
    return copy;
}

const BalanceInfoItem *BalanceInfoItem::latest() const
{
    const BalanceInfoItem *item = this;
    while (item->m_successor)
        item = item->m_successor.data();
    return item;
}

bool BalanceInfoItem::sameRecord(const BalanceInfoItem &o) const
{
    if (operation_year != o.operation_year || operation_month != o.operation_month
        || operation_day != o.operation_day || operation_hour != o.operation_hour
        || operation_minute != o.operation_minute || operation_second != o.operation_second
        || operation_order != o.operation_order || m_payment != o.m_payment
        || m_deposit != o.m_deposit || m_balance != o.m_balance || summary_kind != o.summary_kind
        || m_status != o.m_status || m_marked != o.m_marked)
        return false;
    if (operation_date != o.operation_date || operation_time != o.operation_time
        || m_summary != o.m_summary || m_details != o.m_details
        || imported_summary != o.imported_summary)
        return false;
    if (paymentPrice() != o.paymentPrice() || depositPrice() != o.depositPrice()
        || balancePrice() != o.balancePrice())
        return false;
    for (int i = 1; i <= 4; ++i) {
        if (dummyString(i) != o.dummyString(i))
            return false;
    }
    for (int i = 0; i < 3; ++i) {
        const QByteArray a = picture(i), b = o.picture(i);
        if (a.isNull() != b.isNull() || a != b)
            return false;
    }
    return true;
}
