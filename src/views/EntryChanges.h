#pragma once

#include "LedgerView.h"
#include "ledger/LedgerDatabase.h"

#include <QObject>
#include <QString>
#include <QStringView>
#include <QUndoStack>

#include <utility>

// The user's changes to entries, by row of the shown list (edits, marks, deletions), each
// committed to the database as it is made and pushed as one undo command; an import's entries
// come as one command too. The commands call back the apply functions below, which reach the
// database and the shown list together; the signals tell the controller what to pass on.
class EntryChanges : public QObject
{
    Q_OBJECT

public:
    EntryChanges(LedgerDatabase &database, LedgerView &view, QObject *parent = nullptr);

    static bool isEditableColumn(QStringView identifier);
    // An edit of the "summary" or "details" column; false when nothing changed or it failed.
    bool editEntry(int row, QStringView column, const QString &value);
    // Puts the bank's text back as the row's summary; false when it was not edited.
    bool revertSummary(int row);
    bool toggleMark(int row);
    bool removeEntry(int row);
    void removeAllEntries();
    // An import added these entries (committed already): one step that Undo takes back.
    void pushImport(const QString &text, const QList<qint64> &ids);

    const LedgerDatabase &database() const { return m_database; }
    QUndoStack &undoStack() { return m_undoStack; }
    const QUndoStack &undoStack() const { return m_undoStack; }
    // Called by the commands; false (and failed() emitted) when the database refused.
    enum class Field { Summary, Details };
    bool applyText(qint64 id, Field field, const QString &text);
    bool applyMark(qint64 id, int marked);
    bool applyRemoval(const QList<qint64> &ids);
    bool applyReturn(const QList<LedgerEntry> &entries);

    // What the last change, undo or redo touched: the entries to show and select, or, where
    // entries left the shown list, the row the first of them stood at (-1: none). Taken once.
    struct Focus {
        QList<qint64> ids;
        qsizetype row = -1;
    };
    Focus takeFocus() { return std::exchange(m_focus, Focus()); }

signals:
    // The entries changed (emitted before the other two).
    void changed();
    // An entry at a row of the shown list changed in place.
    void rowChanged(int row);
    // The shown list changed.
    void reloadRequested();
    // Entries left the ledger or came back into it.
    void entriesCameOrWent();
    // A change could not be committed; nothing changed.
    void failed(const QString &error);

private:
    bool changeText(int row, Field field, const QString &value, const QString &stepText);
    void entriesChanged();
    // An entry changed where it stands (an edit or a mark): its row is read again.
    void changedInPlace(qint64 id);

    LedgerDatabase &m_database;
    LedgerView &m_view;
    QUndoStack m_undoStack;
    Focus m_focus;
};
