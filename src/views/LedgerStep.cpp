#include "LedgerStep.h"

#include "ledger/Ledger.h"
#include "ledger/LedgerOrdering.h"

#include <QCoreApplication>

#include <algorithm>

namespace {
QSet<const LedgerEntry *> setOf(const QList<LedgerEntryPtr> &entries)
{
    QSet<const LedgerEntry *> set;
    set.reserve(entries.size());
    for (const LedgerEntryPtr &e : entries)
        set.insert(e.data());
    return set;
}
} // namespace

LedgerStep LedgerStep::imported(const QString &fileName, const QList<LedgerEntryPtr> &added,
                                const QList<LedgerEntryPtr> &earlier, Qt::SortOrder order)
{
    LedgerStep step(Kind::Import, order);
    step.m_fileName = fileName;
    step.m_entries = added;
    step.m_earlier = earlier;
    return step;
}

QList<LedgerEntryPtr> LedgerStep::earlierOrder(const QList<LedgerEntryPtr> &entries,
                                               Qt::SortOrder order)
{
    const bool inOrder = std::is_sorted(entries.begin(), entries.end(),
                                        [order](const LedgerEntryPtr &a, const LedgerEntryPtr &b) {
                                            return compareEntries(*a, *b, order) < 0;
                                        });
    return inOrder ? QList<LedgerEntryPtr>() : entries;
}

LedgerStep LedgerStep::replaced(Kind kind, const LedgerEntryPtr &before,
                                const LedgerEntryPtr &after)
{
    LedgerStep step(kind);
    step.m_entries = {before, after};
    return step;
}

LedgerStep LedgerStep::deleted(const LedgerEntryPtr &entry, qsizetype index,
                               const LedgerView::Places &places, Qt::SortOrder order)
{
    LedgerStep step(Kind::Delete, order);
    step.m_entries = {entry};
    step.m_index = index;
    step.m_places = places;
    return step;
}

LedgerStep LedgerStep::deletedAll(const QList<LedgerEntryPtr> &entries, Qt::SortOrder order)
{
    LedgerStep step(Kind::DeleteAll, order);
    step.m_entries = entries;
    return step;
}

QString LedgerStep::text() const
{
    switch (m_kind) {
    case Kind::Import:
        return QCoreApplication::translate("LedgerStep", "Import of %1 (%n entries)", nullptr,
                                           int(m_entries.size()))
            .arg(m_fileName);
    case Kind::EditSummary:
        return QCoreApplication::translate("LedgerStep", "Edit of Summary");
    case Kind::EditDetails:
        return QCoreApplication::translate("LedgerStep", "Edit of Details");
    case Kind::RevertSummary:
        return QCoreApplication::translate("LedgerStep", "Revert to Bank's Text");
    case Kind::Mark:
        return QCoreApplication::translate("LedgerStep", "Mark");
    case Kind::Unmark:
        return QCoreApplication::translate("LedgerStep", "Unmark");
    case Kind::Delete:
        return QCoreApplication::translate("LedgerStep", "Delete");
    case Kind::DeleteAll:
        return QCoreApplication::translate("LedgerStep", "Delete All");
    }
    return {};
}

void LedgerStep::swap(Ledger &ledger, LedgerView &view, const LedgerEntryPtr &out,
                      const LedgerEntryPtr &in)
{
    const qsizetype index = ledger.indexOf(out.data());
    if (index < 0 || ledger.at(index) == in)
        return;
    // `in` stands again; the entry it gives way to leads to it, as a replaced entry does.
    in->setSuccessor({});
    ledger.replace(index, in);
    view.followReplacement(in);
}

void LedgerStep::reorder(Ledger &ledger, const LedgerView &view) const
{
    if (view.order() != m_order)
        ledger.sort(view.order());
}

void LedgerStep::undo(Ledger &ledger, LedgerView &view) const
{
    switch (m_kind) {
    case Kind::Import:
        m_hits = view.hitsAmong(m_entries);
        m_hitsRun = view.searchRun();
        if (m_earlier.isEmpty())
            ledger.remove(setOf(m_entries));
        else
            ledger.assign(m_earlier);
        view.removeEntries(setOf(m_entries));
        break;
    case Kind::Delete:
        ledger.insert(m_index, m_entries.first());
        reorder(ledger, view);
        view.putBack(m_entries.first(), m_places);
        break;
    case Kind::DeleteAll:
        ledger.assign(m_entries);
        reorder(ledger, view);
        if (view.mode() == ListMode::Monthly)
            view.rebuildMonthlyList();
        break;
    default:
        swap(ledger, view, m_entries.last(), m_entries.first());
        break;
    }
}

void LedgerStep::redo(Ledger &ledger, LedgerView &view) const
{
    switch (m_kind) {
    case Kind::Import:
        // As the import left it: the entries appended, then all in the order of the rule.
        for (const LedgerEntryPtr &entry : m_entries)
            ledger.insert(ledger.size(), entry);
        ledger.sort(view.order());
        if (view.mode() == ListMode::Monthly)
            view.rebuildMonthlyList();
        view.putBackHits(m_hits, m_hitsRun);
        break;
    case Kind::Delete:
        ledger.remove(setOf(m_entries));
        view.removeEntries(setOf(m_entries));
        break;
    case Kind::DeleteAll:
        ledger.removeAll();
        view.forgetEntries();
        break;
    default:
        swap(ledger, view, m_entries.first(), m_entries.last());
        break;
    }
}
