#pragma once

#include "LedgerStep.h"

#include <QList>
#include <QString>

// The steps that Undo and Redo walk, newest last: the steps before the current index are done,
// the ones from it on were undone and wait for a redo until a new step drops them.
//
// The history belongs to one open ledger: a bank switch or a restored backup starts it afresh.
class LedgerHistory
{
public:
    // Steps kept at most; the oldest goes first. A step may hold a whole ledger (Delete All).
    static constexpr qsizetype kLimit = 100;

    void push(LedgerStep step);
    void clear();

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    // The step an undo or a redo would take; null when there is none.
    const LedgerStep *nextUndo() const { return canUndo() ? &m_steps.at(m_done - 1) : nullptr; }
    const LedgerStep *nextRedo() const { return canRedo() ? &m_steps.at(m_done) : nullptr; }
    // The Edit menu's texts: "Undo Mark", "Redo Import of NBG_2026.csv (300 entries)"; "Undo"
    // and "Redo" when there is nothing to undo or redo.
    QString undoText() const;
    QString redoText() const;

    // Undoes or redoes the next step on the ledger and its lists; false when there is none.
    bool undo(Ledger &ledger, LedgerView &view);
    bool redo(Ledger &ledger, LedgerView &view);

private:
    QList<LedgerStep> m_steps;
    qsizetype m_done = 0;
};
