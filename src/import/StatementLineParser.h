#pragma once

#include "ledger/Bank.h"
#include "ledger/LedgerEntry.h"

#include <QStringView>

class EntryTextCache;

// What one statement line gave.
enum class LineOutcome {
    Entry,    // an entry, still to be checked for being a duplicate
    Header,   // the file's header line
    Blank,    // nothing but white space: no operation
    Rejected, // a line that cannot be an operation (an eBANK line without a usable date)
};

struct ParsedLine {
    LineOutcome outcome = LineOutcome::Blank;
    LedgerEntryPtr entry;
};

// A JNB line: year, month, day, hour, minute, second, order number, summary, payment, deposit,
// balance. Missing or non-numeric fields keep their defaults.
ParsedLine parseJnbLine(QStringView line, EntryTextCache &texts);
// An eBANK line: date as eight digits (year, month, day), a signed amount ("-" pays out),
// balance, summary.
ParsedLine parseEbankLine(QStringView line, EntryTextCache &texts);

// A line of the bank's statement.
ParsedLine parseStatementLine(Bank bank, QStringView line, EntryTextCache &texts);

// Summary kinds, as stored in entries and archives.
enum SummaryKind : int { OtherKind = 0, AtmKind = 1, CommissionKind = 2, InterestKind = 3,
                         YahooKind = 4 };
// The kind of a summary: the first of the bank's kind words (ATM, commission, interest, and for
// JNB Yahoo) found in it decides, in that order; other when none is.
int summaryKindOf(Bank bank, QStringView summary);
