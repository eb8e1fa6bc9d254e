#pragma once

#include "LedgerView.h"
#include "ledger/LedgerEntry.h"

#include <QList>
#include <QSet>
#include <QString>
#include <Qt>

class Ledger;

// One change to a ledger that Undo takes back and Redo makes again: what it did, the name the
// Edit menu gives it, and how it is undone and redone on the ledger and on the lists shown.
//
// A step keeps the very entries it touched, so that an undo gives back the ledger as it was,
// object for object: an undone mark puts back the entry as it stood before, not a copy of it,
// and an undone import takes out the entries that file added, not older ones that look alike.
class LedgerStep
{
public:
    enum class Kind { Import, EditSummary, EditDetails, RevertSummary, Mark, Unmark, Delete, DeleteAll };

    // A statement file added these entries (appended, then the ledger sorted by the order).
    // earlier: the ledger's entries before, kept only when that sort moved them.
    static LedgerStep imported(const QString &fileName, const QList<LedgerEntryPtr> &added,
                               const QList<LedgerEntryPtr> &earlier, Qt::SortOrder order);
    // What an import step keeps of the ledger before the import: nothing when the entries are
    // in the order, which the sort after an import keeps; otherwise the entries as they are.
    static QList<LedgerEntryPtr> earlierOrder(const QList<LedgerEntryPtr> &entries,
                                              Qt::SortOrder order);
    // A mark or an edit replaced an entry in the ledger.
    static LedgerStep replaced(Kind kind, const LedgerEntryPtr &before, const LedgerEntryPtr &after);
    // The entry left the ledger from the index, and the lists from their places.
    static LedgerStep deleted(const LedgerEntryPtr &entry, qsizetype index,
                              const LedgerView::Places &places, Qt::SortOrder order);
    static LedgerStep deletedAll(const QList<LedgerEntryPtr> &entries, Qt::SortOrder order);

    Kind kind() const { return m_kind; }
    // "Import of NBG_2026.csv (300 entries)", "Edit of Summary", "Mark", "Delete" …
    QString text() const;
    void undo(Ledger &ledger, LedgerView &view) const;
    void redo(Ledger &ledger, LedgerView &view) const;

private:
    explicit LedgerStep(Kind kind, Qt::SortOrder order = Qt::AscendingOrder)
        : m_kind(kind)
        , m_order(order)
    {
    }
    // Puts `in` into the ledger where `out` (or what replaced it) stands.
    static void swap(Ledger &ledger, LedgerView &view, const LedgerEntryPtr &out,
                     const LedgerEntryPtr &in);
    // Entries came back: the ledger follows the order chosen since, if it was turned around.
    void reorder(Ledger &ledger, const LedgerView &view) const;

    Kind m_kind;
    Qt::SortOrder m_order; // the order the ledger was in when the step was made
    QString m_fileName;
    // Import: the entries added. Delete All: every entry, in order. Delete: the one entry.
    // A mark or an edit: the entry before and the entry after it.
    QList<LedgerEntryPtr> m_entries;
    QList<LedgerEntryPtr> m_earlier;
    qsizetype m_index = -1;
    LedgerView::Places m_places;
    // Import: the search hits among its entries when it was undone, for a redo to give back.
    mutable QSet<const LedgerEntry *> m_hits;
    mutable quint64 m_hitsRun = 0;
};
