#include "PeriodReport.h"

#include "LedgerDatabase.h"

namespace PeriodReport {

namespace {

Period yearOf(const Period &month)
{
    Period year = month;
    year.month = 0;
    year.wholeYear = true;
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

QList<Period> compute(const LedgerDatabase &database, Bank bank, Span span, const MonthRange &range)
{
    // The entries come oldest first, so a month's entries come together and its last entry is
    // the one that closes it.
    QList<Period> months;
    for (const EntryAmounts &e : database.amounts(bank)) {
        const int year = e.year(), month = e.month();
        const qint64 key = monthKey(year, month);
        if (!range.contains(key))
            continue;
        const bool sameMonth = !months.isEmpty() && months.constLast().year == year
                            && months.constLast().month == month;
        if (!sameMonth) {
            Period fresh;
            fresh.year = year;
            fresh.month = month;
            months.append(fresh);
        }
        Period &current = months.last();
        Sums &kind = current.byKind[size_t(kindOf(e.summaryKind))];
        ++kind.entries;
        kind.paidOut += e.payment;
        kind.paidIn += e.deposit;
        current.closingBalance = e.balance;
    }
    for (Period &m : months) {
        for (const Sums &kind : m.byKind)
            m.sums.add(kind);
    }
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
