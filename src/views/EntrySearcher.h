#pragma once

#include "ledger/LedgerEntry.h"

#include <QList>
#include <QString>

// Finds the entries whose text contains a keyword: the summary, or the details where the
// summary is empty. Canonically equivalent texts match (both sides compared in NFC), so a
// keyword typed with combining marks finds the precomposed text of a statement.
class EntrySearcher
{
public:
    // The hits in the order of the entries; none for an empty keyword.
    static QList<LedgerEntryPtr> search(const QList<LedgerEntryPtr> &entries,
                                        const QString &keyword);
};
