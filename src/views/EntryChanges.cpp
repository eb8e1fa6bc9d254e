#include "EntryChanges.h"

#include "CommandRules.h"
#include "ledger/EntryTextCache.h"

EntryChanges::EntryChanges(Ledger &ledger, LedgerView &view, std::optional<BalanceChain> &balances,
                           QObject *parent)
    : QObject(parent)
    , m_ledger(ledger)
    , m_view(view)
    , m_balances(balances)
{
}

bool EntryChanges::isEditableColumn(QStringView identifier)
{
    return identifier == u"summary" || identifier == u"details";
}

void EntryChanges::replaceEntry(int row, qsizetype ledgerIndex, const LedgerEntryPtr &replacement,
                                LedgerStep::Kind step)
{
    m_history.push(LedgerStep::replaced(step, m_ledger.at(ledgerIndex), replacement));
    if (m_balances)
        m_balances->replaced(m_ledger.at(ledgerIndex).data(), replacement);
    m_ledger.replace(ledgerIndex, replacement);
    m_view.replaceRow(row, replacement);
    emit changed();
    emit rowChanged(row);
}

bool EntryChanges::editEntry(int row, QStringView column, const QString &value)
{
    return changeText(row, column, value,
                      column == u"summary" ? LedgerStep::Kind::EditSummary
                                           : LedgerStep::Kind::EditDetails);
}

bool EntryChanges::changeText(int row, QStringView column, const QString &value,
                              LedgerStep::Kind step)
{
    const qsizetype index = m_view.ledgerIndexAt(row);
    if (index < 0 || !isEditableColumn(column))
        return false;
    const LedgerEntry &source = *m_ledger.at(index);
    const bool summary = column == u"summary";
    if ((summary ? source.summary() : source.details()) == value)
        return false; // an editor closed without a change leaves no step to undo
    LedgerEntryPtr replacement = source.makeReplacement();
    if (summary)
        replacement->setSummary(EntryTextCache::instance().shared(value));
    else
        replacement->setDetails(value);
    replaceEntry(row, index, replacement, step);
    return true;
}

bool EntryChanges::revertSummary(int row)
{
    const qsizetype index = m_view.ledgerIndexAt(row);
    if (index < 0 || !CommandRules::isSummaryEdited(m_ledger.at(index).data()))
        return false;
    return changeText(row, u"summary", m_ledger.at(index)->importedSummary(),
                      LedgerStep::Kind::RevertSummary);
}

bool EntryChanges::toggleMark(int row)
{
    const qsizetype index = m_view.ledgerIndexAt(row);
    if (index < 0)
        return false;
    const LedgerEntry &source = *m_ledger.at(index);
    LedgerEntryPtr replacement = source.makeReplacement();
    replacement->setMarked(source.marked() == 0 ? 1 : 0);
    replaceEntry(row, index, replacement,
                 replacement->marked() ? LedgerStep::Kind::Mark : LedgerStep::Kind::Unmark);
    emit reloadRequested();
    return true;
}

bool EntryChanges::removeEntry(int row)
{
    if (row < 0 || row >= m_view.rowCount())
        return false;
    const qsizetype index = m_view.ledgerIndexAt(row);
    if (index >= 0)
        m_history.push(LedgerStep::deleted(m_ledger.at(index), index,
                                           m_view.placesOf(m_ledger.at(index).data()),
                                           m_view.order()));
    // A row whose entry already left the ledger goes from the list all the same.
    m_view.removeRow(row);
    if (index >= 0)
        m_ledger.removeAt(index);
    entriesChanged();
    return true;
}

void EntryChanges::removeAllEntries()
{
    if (!m_ledger.isEmpty())
        m_history.push(LedgerStep::deletedAll(m_ledger.entries(), m_view.order()));
    m_ledger.removeAll();
    m_view.forgetEntries();
    entriesChanged();
}

bool EntryChanges::undo()
{
    if (!m_history.undo(m_ledger, m_view))
        return false;
    entriesChanged();
    return true;
}

bool EntryChanges::redo()
{
    if (!m_history.redo(m_ledger, m_view))
        return false;
    entriesChanged();
    return true;
}

void EntryChanges::entriesChanged()
{
    m_balances.reset(); // walked again when next asked for
    emit changed();
    emit reloadRequested();
}
