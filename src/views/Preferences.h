#pragma once

#include "ListMode.h"
#include "ledger/Bank.h"
#include "ledger/LedgerExport.h"

#include <QString>
#include <Qt>

// The settings Moriva keeps between runs. Read once at start-up, written once at quit.
struct Preferences {
    Qt::SortOrder listOrder = Qt::AscendingOrder;
    ListMode listMode = ListMode::Activity;
    int month = 0; // the month last shown, year * 100 + month; 0: none stored (this month)
    int windowStyle = 0; // 0 standard, 1 tinted
    Bank bank = Bank::Jnb; // a stored 0 reads as JNB
    bool checkForUpdatesAtStart = false;
    LedgerExport::Encoding exportEncoding = LedgerExport::Encoding::Utf8;

    // Absent keys read as 0 and false, which the rules above turn into the values used.
    static Preferences read();
    // Writes every key and flushes the store; false with the reason when it cannot be written.
    bool write(QString *error) const;
};
