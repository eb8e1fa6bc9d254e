#pragma once

#include "ledger/BalanceInfoItem.h"

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
    BalanceInfoItemPtr entry;
};

// A JNB line: year, month, day, hour, minute, second, order number, summary, payment, deposit,
// balance. Missing or non-numeric fields keep their defaults.
ParsedLine parseJnbLine(QStringView line, EntryTextCache &texts);
// An eBANK line: date as eight digits (year, month, day), a signed amount ("-" pays out),
// balance, summary.
ParsedLine parseEbankLine(QStringView line, EntryTextCache &texts);

// Summary kinds: 0 other, 1 ATM, 2 commission, 3 interest, 4 Yahoo (JNB only). The first word
// found in the summary decides, in that order.
int parseSummaryKindString_JNB(QStringView summary);
int parseSummaryKindString_EBANK(QStringView summary);
