#pragma once

#include <QList>
#include <QtGlobal>

#include <array>
#include <limits>

#include "Bank.h"

class LedgerDatabase;

// The money of a ledger by month or by year: how many entries, what went out, what came in and
// the balance at the end of each period, with the same sums for each summary kind. Whole yen in
// 64-bit integers, so a million entries of the largest amounts still add up exactly.
namespace PeriodReport {

enum class Span { Month, Year };

// The summary kinds, in the order reports list them; the values are the entries' codes.
enum class Kind : int { Other = 0, Atm = 1, Commission = 2, Interest = 3, Yahoo = 4 };
constexpr int kKindCount = 5;
constexpr std::array<Kind, kKindCount> kKindOrder{Kind::Atm, Kind::Commission, Kind::Interest,
                                                  Kind::Yahoo, Kind::Other};

// A month as one number, year * 12 + month - 1, so that months compare and count as integers.
constexpr qint64 monthKey(int year, int month) { return qint64(year) * 12 + month - 1; }

// The months a report covers, both ends included; unset ends leave the ledger's.
struct MonthRange {
    // monthKey of the first month; with no first month, any, even an entry dated 0/0/0
    qint64 first = std::numeric_limits<qint64>::min();
    qint64 last = std::numeric_limits<qint64>::max(); // monthKey of the last month
    bool contains(qint64 key) const { return key >= first && key <= last; }
};

struct Sums {
    qint64 entries = 0;
    qint64 paidOut = 0; // the payments
    qint64 paidIn = 0;  // the deposits
    qint64 net() const { return paidIn - paidOut; }
    void add(const Sums &other)
    {
        entries += other.entries;
        paidOut += other.paidOut;
        paidIn += other.paidIn;
    }
};

struct Period {
    int year = 0;
    int month = 0; // as the entries hold it, 0 among them; 0 for a year
    bool wholeYear = false; // a year rather than one of its months
    Sums sums;
    // The balance of the period's last entry: the latest moment, then the highest order number
    // as the ledger sorts, and of entries that compare equal the one the statements listed last.
    qint64 closingBalance = 0;
    std::array<Sums, kKindCount> byKind; // indexed by Kind's value
    qint64 key() const { return wholeYear ? year : monthKey(year, month); }
};

// The periods of the account that hold entries, oldest first.
QList<Period> compute(const LedgerDatabase &database, Bank bank, Span span,
                      const MonthRange &range = {});
// The same from months that compute() gave, without going through the ledger again: a window
// computes the months once and then switches spans and ranges at no cost.
QList<Period> regroup(const QList<Period> &months, Span span, const MonthRange &range = {});

// The sums of all the periods.
Sums total(const QList<Period> &periods);

// The kind of a summary-kind code; an unknown code counts as other.
Kind kindOf(int summaryKind);
// "atm", "commission", "interest", "yahoo", "other": the names scripts see.
const char *kindName(Kind kind);

} // namespace PeriodReport
