#include "LedgerEntry.h"

#include "DataTexts.h"
#include "EntryTextCache.h"

QString LedgerEntry::date() const
{
    switch (m_dateState) {
    case TextState::FromNumbers:
        return EntryTextCache::instance().dateText(year(), month(), day());
    case TextState::Stored:
        return m_date;
    default:
        return QString();
    }
}

QString LedgerEntry::time() const
{
    switch (m_timeState) {
    case TextState::FromNumbers:
        return EntryTextCache::instance().timeText(hour(), minute(), second());
    case TextState::Stored:
        return m_time;
    default:
        return QString();
    }
}

void LedgerEntry::setDate(const QString &v)
{
    m_date.clear();
    if (v.isNull()) {
        m_dateState = TextState::Null;
    } else if (v == EntryTextCache::instance().dateText(year(), month(), day())) {
        m_dateState = TextState::FromNumbers;
    } else {
        m_dateState = TextState::Stored;
        m_date = v;
    }
}

void LedgerEntry::setTime(const QString &v)
{
    m_time.clear();
    if (v.isNull()) {
        m_timeState = TextState::Null;
    } else if (v == EntryTextCache::instance().timeText(hour(), minute(), second())) {
        m_timeState = TextState::FromNumbers;
    } else {
        m_timeState = TextState::Stored;
        m_time = v;
    }
}

// A number changed under a text made of the numbers: the text stays as it was.
void LedgerEntry::setDateNumber(NumberIndex index, int v)
{
    if (m_dateState == TextState::FromNumbers && m_numbers[index] != v) {
        m_date = date();
        m_dateState = TextState::Stored;
    }
    m_numbers[index] = v;
}

void LedgerEntry::setTimeNumber(NumberIndex index, int v)
{
    if (m_timeState == TextState::FromNumbers && m_numbers[index] != v) {
        m_time = time();
        m_timeState = TextState::Stored;
    }
    m_numbers[index] = v;
}

void LedgerEntry::setPrice(PriceIndex index, const QString &v)
{
    const int amounts[] = {m_payment, m_deposit, m_balance};
    if (v == DataTexts::priceString(amounts[index]))
        m_prices[size_t(index)] = QString();
    else
        m_prices[size_t(index)] = v.isNull() ? QStringLiteral("") : v;
}

QString LedgerEntry::priceOf(PriceIndex index, int amount) const
{
    const QString &stored = m_prices[size_t(index)];
    return stored.isNull() ? DataTexts::priceString(amount) : stored;
}

QString LedgerEntry::paymentPrice() const { return priceOf(PaymentPrice, m_payment); }
QString LedgerEntry::depositPrice() const { return priceOf(DepositPrice, m_deposit); }
QString LedgerEntry::balancePrice() const { return priceOf(BalancePrice, m_balance); }

QString LedgerEntry::reservedText(int index) const
{
    if (index == 0)
        return m_importedSummary;
    if (index < 1 || index > kReservedTexts)
        return QString();
    return m_reservedTexts[size_t(index - 1)];
}

void LedgerEntry::setReservedText(int index, const QString &v)
{
    if (index == 0)
        m_importedSummary = v;
    else if (index >= 1 && index <= kReservedTexts)
        m_reservedTexts[size_t(index - 1)] = v;
}

QByteArray LedgerEntry::picture(int index) const
{
    return index >= 0 && index < kPictures ? m_pictures[size_t(index)] : QByteArray();
}

void LedgerEntry::setPicture(int index, const QByteArray &v)
{
    if (index >= 0 && index < kPictures)
        m_pictures[size_t(index)] = v;
}

bool LedgerEntry::sameRecord(const LedgerEntry &o) const
{
    if (m_numbers != o.m_numbers || m_orderNumber != o.m_orderNumber || m_payment != o.m_payment
        || m_deposit != o.m_deposit || m_balance != o.m_balance
        || m_summaryKind != o.m_summaryKind || m_status != o.m_status || m_marked != o.m_marked)
        return false;
    if (date() != o.date() || time() != o.time() || m_summary != o.m_summary
        || m_details != o.m_details || m_importedSummary != o.m_importedSummary)
        return false;
    if (paymentPrice() != o.paymentPrice() || depositPrice() != o.depositPrice()
        || balancePrice() != o.balancePrice() || m_reservedTexts != o.m_reservedTexts)
        return false;
    for (int i = 0; i < kPictures; ++i) {
        const QByteArray &a = m_pictures[size_t(i)], &b = o.m_pictures[size_t(i)];
        if (a.isNull() != b.isNull() || a != b)
            return false;
    }
    return true;
}
