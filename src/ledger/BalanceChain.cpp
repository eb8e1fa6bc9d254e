#include "BalanceChain.h"

#include <QtGlobal>

#include <algorithm>
#include <vector>

namespace {

struct Key {
    quint64 moment;
    qint64 order;
    qsizetype index;
};

// The moment packed into one number: year, month, day, hour, minute, second.
quint64 momentOf(const LedgerEntry &e)
{
    const auto field = [](int v, int bits) { return quint64(qBound(0, v, (1 << bits) - 1)); };
    return field(e.year(), 20) << 40 | field(e.month(), 8) << 32 | field(e.day(), 8) << 24
        | field(e.hour(), 8) << 16 | field(e.minute(), 8) << 8 | field(e.second(), 8);
}

qint64 expectedAfter(const LedgerEntry &previous, const LedgerEntry &e)
{
    return qint64(previous.balance()) - e.payment() + e.deposit();
}

bool follows(const LedgerEntry *previous, const LedgerEntry &e)
{
    return !previous || expectedAfter(*previous, e) == e.balance();
}

// Calls f(begin, end) for each run of keys of one moment.
template<typename F>
void forEachMoment(std::vector<Key> &keys, F f)
{
    for (size_t begin = 0; begin < keys.size();) {
        size_t end = begin + 1;
        while (end < keys.size() && keys[end].moment == keys[begin].moment)
            ++end;
        f(begin, end);
        begin = end;
    }
}

} // namespace

BalanceChain BalanceChain::check(const QList<LedgerEntryPtr> &entries)
{
    std::vector<Key> keys;
    keys.reserve(size_t(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        keys.push_back({momentOf(*entries.at(i)), entries.at(i)->orderNumber(), i});
    const auto byMoment = [](const Key &a, const Key &b) { return a.moment < b.moment; };
    if (!std::is_sorted(keys.begin(), keys.end(), byMoment)) {
        if (std::is_sorted(keys.rbegin(), keys.rend(), byMoment)) {
            // Newest first: the moments turn round, each moment's entries keep their order.
            std::reverse(keys.begin(), keys.end());
            forEachMoment(keys, [&](size_t b, size_t e) {
                std::reverse(keys.begin() + qsizetype(b), keys.begin() + qsizetype(e));
            });
        } else {
            std::stable_sort(keys.begin(), keys.end(), byMoment);
        }
    }
    // Entries of one moment by their order numbers as numbers (9 before 10).
    forEachMoment(keys, [&](size_t b, size_t e) {
        if (e - b > 1)
            std::stable_sort(keys.begin() + qsizetype(b), keys.begin() + qsizetype(e),
                             [](const Key &x, const Key &y) { return x.order < y.order; });
    });

    const auto entryOf = [&](size_t k) -> const LedgerEntry & {
        return *entries.at(keys[k].index);
    };
    // A day without times: the order of the list or its reverse, whichever breaks the chain
    // fewer times; on a tie, the one whose last balance leads on to the next day.
    const LedgerEntry *previous = nullptr;
    forEachMoment(keys, [&](size_t b, size_t e) {
        if (e - b > 1 && entryOf(b).time().isEmpty()) {
            const auto breaks = [&](bool reversed) {
                int count = 0;
                const LedgerEntry *p = previous;
                for (size_t i = 0; i < e - b; ++i) {
                    const LedgerEntry &x = entryOf(reversed ? e - 1 - i : b + i);
                    count += follows(p, x) ? 0 : 1;
                    p = &x;
                }
                return count;
            };
            const auto leadsOn = [&](const LedgerEntry &last) {
                size_t nb = e, ne = e;
                while (ne < keys.size() && keys[ne].moment == keys[nb].moment)
                    ++ne;
                return nb < keys.size()
                    && (follows(&last, entryOf(nb)) || follows(&last, entryOf(ne - 1)));
            };
            const int forward = breaks(false), backward = breaks(true);
            if (backward < forward
                || (backward == forward && !leadsOn(entryOf(e - 1)) && leadsOn(entryOf(b))))
                std::reverse(keys.begin() + qsizetype(b), keys.begin() + qsizetype(e));
        }
        previous = &entryOf(e - 1);
    });

    BalanceChain chain;
    previous = nullptr;
    for (size_t k = 0; k < keys.size(); ++k) {
        const LedgerEntryPtr &entry = entries.at(keys[k].index);
        if (!previous) {
            chain.m_stretches.append({entry->date(), entry->date()});
        } else if (!follows(previous, *entry)) {
            BalanceGap gap;
            gap.after = entries.at(keys[k - 1].index);
            gap.before = entry;
            gap.expectedBalance = expectedAfter(*previous, *entry);
            gap.balance = entry->balance();
            gap.difference = gap.balance - gap.expectedBalance;
            chain.m_gapIndex.insert(entry.data(), chain.m_gaps.size());
            chain.m_gaps.append(gap);
            chain.m_stretches.append({entry->date(), entry->date()});
        }
        chain.m_stretches.last().lastDate = entry->date();
        previous = entry.data();
    }
    return chain;
}

std::optional<qint64> BalanceChain::gapBefore(const LedgerEntry *entry) const
{
    const auto it = m_gapIndex.constFind(entry);
    if (it == m_gapIndex.constEnd())
        return std::nullopt;
    return m_gaps.at(*it).difference;
}

void BalanceChain::replaced(const LedgerEntry *old, const LedgerEntryPtr &replacement)
{
    for (BalanceGap &gap : m_gaps) {
        if (gap.after.data() == old)
            gap.after = replacement;
    }
    const auto it = m_gapIndex.constFind(old);
    if (it == m_gapIndex.constEnd())
        return;
    const qsizetype index = *it;
    m_gapIndex.erase(it);
    m_gaps[index].before = replacement;
    m_gapIndex.insert(replacement.data(), index);
}
