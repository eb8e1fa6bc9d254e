#pragma once

#include "Bank.h"
#include "LedgerEntry.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

#include "LedgerDatabase.h"

// Where the balances of a ledger do not follow from one another. Every statement line carries
// the balance after it, so walking the entries in the order they happened, each balance must be
// the one before it, less the payment, plus the deposit. Where it is not, statement lines are
// missing between the two entries (a month never downloaded) or a file was altered.
struct BalanceGap {
    LedgerEntry after;  // the last entry before the gap
    LedgerEntry before; // the first entry after it
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
    // Walks the account's entries in the order the operations happened: by their moment, then
    // by their order numbers as numbers. The entries of a day without times (eBANK) may have
    // been listed either way round by the bank; such a day is taken in the order they were
    // stored or its reverse, whichever makes the balances follow.
    static BalanceChain check(const LedgerDatabase &database, Bank bank);
    // The same over amounts in ascending order (see LedgerDatabase::amounts); the gaps' entries
    // are then left empty but for their ids, until readGapEntries() reads them. Touches nothing
    // shared: it may run on any thread.
    static BalanceChain check(QList<EntryAmounts> entries);
    void readGapEntries(const LedgerDatabase &database);

    const QList<BalanceGap> &gaps() const { return m_gaps; }
    const QList<BalanceStretch> &stretches() const { return m_stretches; }
    bool isContinuous() const { return m_gaps.isEmpty(); }
    bool isEmpty() const { return m_stretches.isEmpty(); }
    // The difference of the gap right before the entry, if there is one.
    std::optional<qint64> gapBefore(qint64 entryId) const;
    // How many entries it walked and the sums of their amounts: the totals of all activity,
    // without a second pass over the ledger.
    const LedgerDatabase::Sums &sums() const { return m_sums; }

private:
    QList<BalanceGap> m_gaps;
    QList<BalanceStretch> m_stretches;
    QHash<qint64, qsizetype> m_gapIndex; // the id of gap.before → its gap
    LedgerDatabase::Sums m_sums;
};
