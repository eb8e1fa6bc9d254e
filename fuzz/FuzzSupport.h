#pragma once

#include "ledger/Ledger.h"
#include "ledger/LedgerArchive.h"

#include <QTemporaryDir>

namespace FuzzSupport {

// An open, empty ledger whose archive would go to a folder of its own (it is never saved).
inline Ledger &emptyLedger()
{
    static QTemporaryDir folder;
    static Ledger ledger;
    ledger.open(folder.path(), Bank::Jnb);
    return ledger;
}

// The entries, written as an archive and read back, must be the same.
inline void checkRoundTrip(const QList<LedgerEntryPtr> &entries)
{
    QList<LedgerEntryPtr> back;
    QString error;
    if (!LedgerArchive::decode(LedgerArchive::encode(entries), &back, &error)
        || back.size() != entries.size())
        __builtin_trap();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!back.at(i)->sameRecord(*entries.at(i)))
            __builtin_trap();
    }
}

} // namespace FuzzSupport
