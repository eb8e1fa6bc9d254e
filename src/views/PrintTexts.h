#pragma once

#include "StatusTexts.h"
#include "ledger/Bank.h"

#include <QString>

class LedgerView;

// What a printout of the shown list says besides its rows.
namespace PrintTexts {
// The heading of every page: the bank and the list ("JNB — Monthly Statement 2026/11",
// "eBANK — Search: yahoo", "JNB — All Activity").
QString heading(Bank bank, const LedgerView &view);
// The closing line of the last page: the count and the sums in whole yen
// ("3 entries — paid out 4,500円, paid in 200,000円").
QString closingLine(const ListTotals &totals);
} // namespace PrintTexts
