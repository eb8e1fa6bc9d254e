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
    Rejected, // a line that cannot be an operation: no calendar date, a field that is no number
};

struct ParsedLine {
    LineOutcome outcome = LineOutcome::Blank;
    LedgerEntry entry;
    QString reason; // why a rejected line is no operation
};

// A line is an entry only when it holds every field its bank writes, whole (a quotation that
// opens closes), none longer than kMaxFieldCharacters; later fields are not read.
constexpr int kJnbFields = 11;
constexpr int kEbankFields = 4;
constexpr qsizetype kMaxFieldCharacters = 1000;

// A JNB line: year, month, day, hour, minute, second, order number, summary, payment, deposit,
// balance. An empty field reads as 0; the date must be a calendar date and the time a time of
// day.
ParsedLine parseJnbLine(QStringView line, EntryTextCache &texts);
// An eBANK line: the date (eight digits, or year/month/day), a signed amount ("-" pays out, a
// "-" alone is no amount), the balance, the summary.
ParsedLine parseEbankLine(QStringView line, EntryTextCache &texts);

// A line of the bank's statement.
ParsedLine parseStatementLine(Bank bank, QStringView line, EntryTextCache &texts);

// Summary kinds, as stored in entries and archives.
enum SummaryKind : int { OtherKind = 0, AtmKind = 1, CommissionKind = 2, InterestKind = 3,
                         YahooKind = 4 };
// The kind of a summary: the first of the bank's kind words (ATM, commission, interest, and for
// JNB Yahoo) found in it decides, in that order; other when none is.
int summaryKindOf(Bank bank, QStringView summary);
