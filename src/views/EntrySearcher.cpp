#include "EntrySearcher.h"

#include <QHash>

QList<LedgerEntryPtr> EntrySearcher::search(const QList<LedgerEntryPtr> &entries,
                                            const QString &keyword)
{
    QList<LedgerEntryPtr> hits;
    if (keyword.isEmpty())
        return hits;
    const QString needle = keyword.normalized(QString::NormalizationForm_C);
    // Entries share their summary texts, so each distinct text is normalised and searched once.
    QHash<const QChar *, bool> verdicts;
    for (const LedgerEntryPtr &entry : entries) {
        const QString &text = !entry->summary().isEmpty() ? entry->summary() : entry->details();
        if (text.isEmpty())
            continue;
        auto it = verdicts.constFind(text.constData());
        if (it == verdicts.constEnd())
            it = verdicts.insert(text.constData(),
                                 text.normalized(QString::NormalizationForm_C).contains(needle));
        if (it.value())
            hits.append(entry);
    }
    return hits;
}
