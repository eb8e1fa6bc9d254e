#pragma once

#include "ledger/LedgerDatabase.h"

#include <QDir>
#include <QTemporaryDir>

namespace FuzzSupport {

// Stops the run where a rule is broken, so that libFuzzer keeps the input.
inline void require(bool rule)
{
    if (!rule)
        __builtin_trap();
}

// A ledger database on a file of its own, opened once for the whole run.
inline LedgerDatabase &database()
{
    static QTemporaryDir folder;
    static LedgerDatabase database;
    if (!database.isOpen()) {
        QString error;
        require(folder.isValid()
                && database.open(QDir(folder.path()).filePath(LedgerDatabase::fileName()),
                                 SqlConnection::Access::ReadWrite, &error));
    }
    return database;
}

// Takes every entry of the account out again, leaving the database as the next input needs it.
inline void empty(LedgerDatabase &database, Bank bank)
{
    require(database.removeEntries(database.entryIds(bank, EntryFilter::all(), Qt::AscendingOrder),
                                   nullptr));
    require(database.count(bank) == 0);
}

} // namespace FuzzSupport
