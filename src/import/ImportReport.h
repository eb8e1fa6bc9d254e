#pragma once

#include "ledger/Bank.h"

#include <QList>
#include <QString>

// A statement line that is no operation, and why.
struct RejectedLine {
    qsizetype number = 0; // counted from 1
    QString reason;
    QString text; // the line's first characters, with no control character (see quotedExcerpt)
};

// What one statement file did to the ledger.
struct ImportReport {
    enum Status {
        Imported,          // the lines were read into the bank's ledger
        Unreadable,        // the file could not be read
        Empty,             // the file holds no text
        NotStatement,      // the path names neither bank
        LedgerUnavailable, // the bank's ledger could not be opened (unreadable, locked, ...)
        SwitchFailed,      // the other bank's ledger could not be saved, so no switch was made
        NotSaved,          // the database refused the import: nothing of the file was kept
    };
    Status status = Imported;
    Bank bank = Bank::None;
    int added = 0;
    int duplicates = 0;
    int rejected = 0;
    // The first rejected lines (at most kMaxRejectedLines of them); `rejected` counts them all.
    QList<RejectedLine> rejectedLines;
    // Gaps in the balances that the new entries closed.
    int gapsClosed = 0;
    QString error; // the reason, for every status but Imported and NotStatement

    static constexpr qsizetype kMaxRejectedLines = 1000;

    // Whether the file gave any text to read.
    bool gaveText() const { return status != Unreadable && status != Empty; }
};
