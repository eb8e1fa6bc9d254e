#pragma once

#include "ledger/Bank.h"
#include "ledger/LedgerEntry.h"

#include <QList>
#include <QString>

struct ImportReport;


// The count of a list and the sums of its payments and deposits, in whole yen.
struct ListTotals {
    qsizetype count = 0;
    qint64 payments = 0;
    qint64 deposits = 0;
};
ListTotals totalsOf(const QList<LedgerEntryPtr> &list);

namespace StatusTexts {
// "1,234 entries · paid out 56,000円 · paid in 12,000円"
QString totals(const ListTotals &totals);
// What an import did, for the status bar: bank, entries added, duplicates, rejected lines.
QString importSummary(const QString &fileName, const ImportReport &report);
QString bankName(Bank bank);
} // namespace StatusTexts
