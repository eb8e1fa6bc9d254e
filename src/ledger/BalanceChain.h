#pragma once

#include "LedgerEntry.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// Where the balances of a ledger do not follow from one another. Every statement line carries
// the balance after it, so walking the entries in the order they happened, each balance must be
// the one before it, less the payment, plus the deposit. Where it is not, statement lines are
// missing between the two entries (a month never downloaded) or a file was altered.
struct BalanceGap {
    LedgerEntryPtr after;  // the last entry before the gap
    LedgerEntryPtr before; // the first entry after it
    qint64 expectedBalance = 0; // after's balance, less before's payment, plus its deposit
    qint64 balance = 0;         // before's balance
    qint64 difference = 0;      // balance - expectedBalance: the net of what is missing
};

// A run of entries whose balances follow one another.
struct BalanceStretch {
    QString firstDate;
    QString lastDate;
};

class BalanceChain
{
public:
    // Walks the entries (of one bank, in any order of the ledger) in the order the operations
    // happened: by their moment, then by their order numbers as numbers. The entries of a day
    // without times (eBANK) may have been listed either way round by the bank; such a day is
    // taken in the order of the list or its reverse, whichever makes the balances follow.
    static BalanceChain check(const QList<LedgerEntryPtr> &entries);

    const QList<BalanceGap> &gaps() const { return m_gaps; }
    const QList<BalanceStretch> &stretches() const { return m_stretches; }
    bool isContinuous() const { return m_gaps.isEmpty(); }
    bool isEmpty() const { return m_stretches.isEmpty(); }
    // The difference of the gap right before the entry, if there is one.
    std::optional<qint64> gapBefore(const LedgerEntry *entry) const;
    // An entry was replaced by a mark or an edit: the replacement stands where it stood.
    void replaced(const LedgerEntry *old, const LedgerEntryPtr &replacement);

private:
    QList<BalanceGap> m_gaps;
    QList<BalanceStretch> m_stretches;
    QHash<const LedgerEntry *, qsizetype> m_gapIndex; // gap.before → its gap
};
