#include "BalanceChain.h"

#include "DataTexts.h"
#include "LedgerDatabase.h"

#include <algorithm>

namespace {

using Entries = QList<EntryAmounts>;

qint64 momentOf(const EntryAmounts &e)
{
    return e.day * 1000000 + qMax<qint64>(e.time, 0);
}

qint64 expectedAfter(const EntryAmounts &previous, const EntryAmounts &e)
{
    return previous.balance - e.payment + e.deposit;
}

bool follows(const EntryAmounts *previous, const EntryAmounts &e)
{
    return !previous || expectedAfter(*previous, e) == e.balance;
}

QString dateOf(const EntryAmounts &e)
{
    return DataTexts::formatOperationDate(e.year(), e.month(), int(e.day - e.day / 100 * 100));
}

// Calls f(begin, end) for each run of entries of one moment.
template<typename F>
void forEachMoment(const Entries &entries, F f)
{
    for (qsizetype begin = 0; begin < entries.size();) {
        qsizetype end = begin + 1;
        while (end < entries.size() && momentOf(entries[end]) == momentOf(entries[begin]))
            ++end;
        f(begin, end);
        begin = end;
    }
}

} // namespace

BalanceChain BalanceChain::check(const LedgerDatabase &database, Bank bank)
{
    BalanceChain chain = check(database.amounts(bank, LedgerDatabase::Kinds::Skipped));
    chain.readGapEntries(database);
    return chain;
}

void BalanceChain::readGapEntries(const LedgerDatabase &database)
{
    for (BalanceGap &gap : m_gaps) {
        gap.after = database.entry(gap.after.id()).value_or(gap.after);
        gap.before = database.entry(gap.before.id()).value_or(gap.before);
    }
}

BalanceChain BalanceChain::check(QList<EntryAmounts> entries)
{
    // Entries of one moment by their order numbers as numbers (9 before 10).
    forEachMoment(entries, [&](qsizetype b, qsizetype e) {
        if (e - b > 1)
            std::stable_sort(entries.begin() + b, entries.begin() + e,
                             [](const EntryAmounts &x, const EntryAmounts &y) {
                                 return x.orderNumber < y.orderNumber;
                             });
    });

    // A day without times: the stored order or its reverse, whichever breaks the chain fewer
    // times; on a tie, the one whose last balance leads on to the next day.
    const EntryAmounts *previous = nullptr;
    forEachMoment(entries, [&](qsizetype b, qsizetype e) {
        if (e - b > 1 && entries[b].time < 0) {
            const auto breaks = [&](bool reversed) {
                int count = 0;
                const EntryAmounts *p = previous;
                for (qsizetype i = 0; i < e - b; ++i) {
                    const EntryAmounts &x = entries[reversed ? e - 1 - i : b + i];
                    count += follows(p, x) ? 0 : 1;
                    p = &x;
                }
                return count;
            };
            const auto leadsOn = [&](const EntryAmounts &last) {
                qsizetype ne = e;
                while (ne < entries.size() && momentOf(entries[ne]) == momentOf(entries[e]))
                    ++ne;
                return e < entries.size()
                    && (follows(&last, entries[e]) || follows(&last, entries[ne - 1]));
            };
            const int forward = breaks(false), backward = breaks(true);
            if (backward < forward
                || (backward == forward && !leadsOn(entries[e - 1]) && leadsOn(entries[b])))
                std::reverse(entries.begin() + b, entries.begin() + e);
        }
        previous = &entries[e - 1];
    });

    BalanceChain chain;
    previous = nullptr;
    for (qsizetype k = 0; k < entries.size(); ++k) {
        const EntryAmounts &entry = entries[k];
        ++chain.m_sums.count;
        chain.m_sums.paidOut += entry.payment;
        chain.m_sums.paidIn += entry.deposit;
        if (!previous) {
            chain.m_stretches.append({dateOf(entry), QString()});
        } else if (!follows(previous, entry)) {
            chain.m_stretches.last().lastDate = dateOf(*previous);
            BalanceGap gap;
            gap.after.setId(previous->id);
            gap.before.setId(entry.id);
            gap.expectedBalance = expectedAfter(*previous, entry);
            gap.balance = entry.balance;
            gap.difference = gap.balance - gap.expectedBalance;
            chain.m_gapIndex.insert(entry.id, chain.m_gaps.size());
            chain.m_gaps.append(gap);
            chain.m_stretches.append({dateOf(entry), QString()});
        }
        previous = &entry;
    }
    if (previous)
        chain.m_stretches.last().lastDate = dateOf(*previous);
    return chain;
}

std::optional<qint64> BalanceChain::gapBefore(qint64 entryId) const
{
    const auto it = m_gapIndex.constFind(entryId);
    if (it == m_gapIndex.constEnd())
        return std::nullopt;
    return m_gaps.at(*it).difference;
}
