#pragma once

#include "import/ImportReport.h"
#include "ledger/Bank.h"
#include "ledger/LedgerEntry.h"

#include <QList>
#include <QString>

class BalanceChain;


// The count of a list and the sums of its payments and deposits, in whole yen.
struct ListTotals {
    qsizetype count = 0;
    qint64 payments = 0;
    qint64 deposits = 0;
};
ListTotals totalsOf(const QList<LedgerEntry> &list);

namespace StatusTexts {
// "1,234 entries · Payment 56,000円 · Deposit 12,000円": the table's names for the amounts
QString totals(const ListTotals &totals);
// What an import did, for the status bar: bank, entries added, duplicates, rejected lines.
QString importSummary(const QString &fileName, const ImportReport &report);
// "12 entries added, 1 duplicate skipped" and, when there are any, ", 2 lines rejected".
QString importCounts(qsizetype added, qsizetype duplicates, qsizetype rejected);

// One statement file of an import and what it did.
struct FileImport {
    QString fileName;
    ImportReport report;
};
// An import of one file or several: "Imported 3 files: 812 entries added, 40 duplicates
// skipped", or "Imported 2 of 3 files: …" when some could not be imported.
QString importSummary(const QList<FileImport> &imports);
// Each file's summary, one a line; empty for a single file, which the summary tells in full.
QString importDetails(const QList<FileImport> &imports);
// What an alert says of the files that could not be imported; empty when all were. A single
// file's reason alone, several files' each with its name.
QString importFailures(const QList<FileImport> &imports);
// The rejected lines of every file (see rejectedLines), under each file's name when there are
// several.
QString rejectedLines(const QList<FileImport> &imports, qsizetype shown = 50);
// The rejected lines' sheet, a row a line: where it is ("line 42"; "NBG.csv, line 42" when
// several files were imported), its text and the reason; a last row tells how many more were
// left unlisted.
struct RejectedRow {
    QString where;
    QString text;
    QString reason;
};
QList<RejectedRow> rejectedRows(const QList<FileImport> &imports);
QString bankName(Bank bank);
// What Delete All asks: "Delete all 135 entries of the JNB ledger? …", the account and the count
// named so that nobody deletes the other bank's ledger by mistake.
QString deleteAllQuestion(Bank bank, qsizetype entries);
// "No entries contain “ATM”": a search that found nothing.
QString noSearchHits(const QString &keyword);
// "-12,000円": whole yen with grouped digits.
QString yen(qint64 amount);
// "Balances continuous from 2019/01/01 to 2026/11/30" or "2 gaps in the balances"; empty for
// an empty ledger.
QString balances(const BalanceChain &chain);
// The same for a narrow field: "Balances continuous" without the dates.
QString balancesBrief(const BalanceChain &chain);
// The rejected lines of an import, one a line ("line 42: 2026/02/30 is not a calendar date"),
// at most `shown` of them and a count of the rest.
QString rejectedLines(const ImportReport &report, qsizetype shown = 50);
} // namespace StatusTexts
