#pragma once

#include "LedgerHistory.h"
#include "LedgerView.h"
#include "ledger/BalanceChain.h"
#include "ledger/Ledger.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <optional>

// The user's changes to entries, by row of the shown list (edits, marks, deletions), and their
// undo and redo. Each change reaches the ledger, the shown list, the balance check and the
// history together; the signals tell the controller what to pass on.
class EntryChanges : public QObject
{
    Q_OBJECT

public:
    EntryChanges(Ledger &ledger, LedgerView &view, std::optional<BalanceChain> &balances,
                 QObject *parent = nullptr);

    static bool isEditableColumn(QStringView identifier);
    // An edit of the "summary" or "details" column; false when nothing changed.
    bool editEntry(int row, QStringView column, const QString &value);
    // Puts the bank's text back as the row's summary; false when it was not edited.
    bool revertSummary(int row);
    bool toggleMark(int row);
    bool removeEntry(int row);
    void removeAllEntries();

    LedgerHistory &history() { return m_history; }
    const LedgerHistory &history() const { return m_history; }
    bool undo();
    bool redo();

signals:
    // The ledger may have changed (emitted before the other two).
    void changed();
    // An entry at a row of the shown list was replaced.
    void rowChanged(int row);
    // The shown list changed.
    void reloadRequested();

private:
    // Puts the replacement at the row of the shown list and at the ledger index.
    void replaceEntry(int row, qsizetype ledgerIndex, const LedgerEntryPtr &replacement,
                      LedgerStep::Kind step);
    bool changeText(int row, QStringView column, const QString &value, LedgerStep::Kind step);
    // After a deletion, an undo or a redo: the balances and the list follow.
    void entriesChanged();

    Ledger &m_ledger;
    LedgerView &m_view;
    std::optional<BalanceChain> &m_balances; // none until the controller is asked for it
    LedgerHistory m_history;
};
