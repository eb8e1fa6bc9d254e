#pragma once

#include "ledger/Bank.h"

#include <QString>

// What one statement file did to the ledger.
struct ImportReport {
    enum Status {
        Imported,          // the lines were read into the bank's ledger
        Unreadable,        // the file could not be read
        Empty,             // the file holds no text
        NotStatement,      // the path names neither bank
        LedgerUnavailable, // the bank's ledger could not be opened (unreadable, locked, ...)
        SwitchFailed,      // the other bank's ledger could not be saved, so no switch was made
    };
    Status status = Imported;
    Bank bank = Bank::None;
    int added = 0;
    int duplicates = 0;
    int rejected = 0;
    QString error; // the reason, for every status but Imported and NotStatement

    // Whether the file gave any text to read.
    bool gaveText() const { return status != Unreadable && status != Empty; }
};
