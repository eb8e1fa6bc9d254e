#pragma once

#include "EntryChanges.h"

#include <QUndoCommand>

// One undo command per kind of change. Each is made after its change was committed, so the
// first redo() that QUndoStack::push calls does nothing. A command whose change the database
// refuses later (a full disk) becomes obsolete and leaves the stack.

class EditTextCommand : public QUndoCommand
{
public:
    EditTextCommand(EntryChanges &changes, qint64 id, EntryChanges::Field field,
                    const QString &before, const QString &after, const QString &text);
    void undo() override;
    void redo() override;

private:
    EntryChanges &m_changes;
    qint64 m_id;
    EntryChanges::Field m_field;
    QString m_before;
    QString m_after;
    bool m_done = true;
};

class MarkCommand : public QUndoCommand
{
public:
    MarkCommand(EntryChanges &changes, qint64 id, int before, int after);
    void undo() override;
    void redo() override;

private:
    EntryChanges &m_changes;
    qint64 m_id;
    int m_before;
    int m_after;
    bool m_done = true;
};

// A deletion (one entry or all) or an import: entries that left the ledger or came into it.
// Undoing a deletion puts the entries back under their ids; undoing an import takes its
// entries out, keeping them for a redo.
class EntrySetCommand : public QUndoCommand
{
public:
    enum class Kind { Removal, Import };
    EntrySetCommand(EntryChanges &changes, Kind kind, const QList<LedgerEntry> &removed,
                    const QList<qint64> &ids, const QString &text);
    void undo() override;
    void redo() override;

private:
    bool takeOut();
    bool putBack();

    EntryChanges &m_changes;
    Kind m_kind;
    QList<qint64> m_ids;
    QList<LedgerEntry> m_entries; // while they are out of the ledger
    bool m_done = true;
};
