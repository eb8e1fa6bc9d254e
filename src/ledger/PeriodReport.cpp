#include "PeriodReport.h"

#include "Ledger.h"
#include "LedgerOrdering.h"

#include <QHash>

#include <vector>

#include <algorithm>

namespace PeriodReport {

namespace {

struct Bucket {
    Period period;
    qsizetype last = -1; // the ledger index of the period's last entry
};

Period yearOf(const Period &month)
{
    Period year = month;
    year.month = 0;
    return year;
}

} // namespace

Kind kindOf(int summaryKind)
{
    return summaryKind >= 0 && summaryKind < kKindCount ? Kind(summaryKind) : Kind::Other;
}

const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::Atm:
        return "atm";
    case Kind::Commission:
        return "commission";
    case Kind::Interest:
        return "interest";
    case Kind::Yahoo:
        return "yahoo";
    case Kind::Other:
        break;
    }
    return "other";
}

QList<Period> compute(const Ledger &ledger, Span span, const MonthRange &range)
{
    // Months first: a sorted ledger keeps each month's entries together, so the bucket of the
    // entry before is almost always the one wanted and the hash is asked once a month.
    std::vector<Bucket> buckets;
    QHash<int, int> indexOfKey;
    int currentKey = -1;
    Bucket *current = nullptr;
    const qsizetype count = ledger.size();
    for (qsizetype i = 0; i < count; ++i) {
        const LedgerEntry &e = *ledger.at(i);
        const int key = monthKey(e.year(), e.month());
        if (!range.contains(key))
            continue;
        if (key != currentKey || !current) {
            auto found = indexOfKey.constFind(key);
            if (found == indexOfKey.cend()) {
                found = indexOfKey.insert(key, int(buckets.size()));
                Bucket fresh;
                fresh.period.year = e.year();
                fresh.period.month = e.month();
                buckets.push_back(fresh);
            }
            current = &buckets[size_t(*found)];
            currentKey = key;
        }
        Sums &kind = current->period.byKind[size_t(kindOf(e.summaryKind()))];
        ++kind.entries;
        kind.paidOut += e.payment();
        kind.paidIn += e.deposit();
        // Of entries that compare equal, the later in the ledger was listed later: the
        // ledger's sort keeps their order whichever way it runs.
        if (current->last < 0
            || compareEntries(*ledger.at(current->last), e, Qt::AscendingOrder) <= 0)
            current->last = i;
    }

    QList<Period> months;
    months.reserve(qsizetype(buckets.size()));
    for (Bucket &b : buckets) {
        for (const Sums &kind : b.period.byKind)
            b.period.sums.add(kind);
        b.period.closingBalance = ledger.at(b.last)->balance();
        months.append(b.period);
    }
    std::sort(months.begin(), months.end(),
              [](const Period &a, const Period &b) { return a.key() < b.key(); });
    return span == Span::Month ? months : regroup(months, span);
}

QList<Period> regroup(const QList<Period> &months, Span span, const MonthRange &range)
{
    QList<Period> within;
    for (const Period &m : months) {
        if (range.contains(m.key()))
            within.append(m);
    }
    if (span == Span::Month)
        return within;

    // A year closes with its last month.
    QList<Period> years;
    for (const Period &m : std::as_const(within)) {
        if (years.isEmpty() || years.constLast().year != m.year) {
            years.append(yearOf(m));
            continue;
        }
        Period &y = years.last();
        y.sums.add(m.sums);
        for (int k = 0; k < kKindCount; ++k)
            y.byKind[size_t(k)].add(m.byKind[size_t(k)]);
        y.closingBalance = m.closingBalance;
    }
    return years;
}

Sums total(const QList<Period> &periods)
{
    Sums sum;
    for (const Period &p : periods)
        sum.add(p.sums);
    return sum;
}

} // namespace PeriodReport
