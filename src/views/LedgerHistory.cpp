#include "LedgerHistory.h"

#include <QCoreApplication>

void LedgerHistory::push(LedgerStep step)
{
    m_steps.remove(m_done, m_steps.size() - m_done); // the undone steps are no longer ahead
    m_steps.append(std::move(step));
    if (m_steps.size() > kLimit)
        m_steps.removeFirst();
    m_done = m_steps.size();
}

void LedgerHistory::clear()
{
    m_steps.clear();
    m_done = 0;
}

QString LedgerHistory::undoText() const
{
    if (const LedgerStep *step = nextUndo())
        return QCoreApplication::translate("LedgerHistory", "Undo %1").arg(step->text());
    return QCoreApplication::translate("LedgerHistory", "Undo");
}

QString LedgerHistory::redoText() const
{
    if (const LedgerStep *step = nextRedo())
        return QCoreApplication::translate("LedgerHistory", "Redo %1").arg(step->text());
    return QCoreApplication::translate("LedgerHistory", "Redo");
}

bool LedgerHistory::undo(Ledger &ledger, LedgerView &view)
{
    if (!canUndo())
        return false;
    m_steps.at(--m_done).undo(ledger, view);
    return true;
}

bool LedgerHistory::redo(Ledger &ledger, LedgerView &view)
{
    if (!canRedo())
        return false;
    m_steps.at(m_done++).redo(ledger, view);
    return true;
}
