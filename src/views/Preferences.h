#pragma once

#include <QString>

// The settings Moriva keeps between runs, in QSettings (organisation and application "Moriva":
// $XDG_CONFIG_HOME/Moriva/Moriva.conf). Read once at start-up, written once at quit.
struct Preferences {
    int listOrderRule = 0;    // "MVListOrderRule": 0 oldest first, 1 newest first
    int tableViewKind = 0;    // "MVBankbookTableViewKind": 0 activity, 1 monthly, 2 search
    int windowStyle = 0;      // "MVBankbookWindowStyle": 0 standard, 1 tinted
    int currentBank = 1;      // "MVCurrentBankKind": 1 JNB, 2 eBANK (a stored 0 reads as 1)
    bool checkLatestVersionAtStartup = false; // "MVCheckLatestVersionAtStartup"
    int exportEncoding = 0;   // "MVExportEncoding": 0 UTF-8, 1 UTF-8 with BOM, 2 Shift_JIS

    // Absent keys read as 0 and false, which the rules above turn into the values used.
    static Preferences read();
    // Writes every key and flushes the store; false with the reason when it cannot be written.
    bool write(QString *error) const;
};
