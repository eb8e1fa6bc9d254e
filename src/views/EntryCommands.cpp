#include "EntryCommands.h"

EditTextCommand::EditTextCommand(EntryChanges &changes, qint64 id, EntryChanges::Field field,
                                 const QString &before, const QString &after, const QString &text)
    : QUndoCommand(text)
    , m_changes(changes)
    , m_id(id)
    , m_field(field)
    , m_before(before)
    , m_after(after)
{
}

void EditTextCommand::undo()
{
    if (!m_changes.applyText(m_id, m_field, m_before))
        setObsolete(true);
    m_done = false;
}

void EditTextCommand::redo()
{
    if (!m_done && !m_changes.applyText(m_id, m_field, m_after))
        setObsolete(true);
    m_done = true;
}

MarkCommand::MarkCommand(EntryChanges &changes, qint64 id, int before, int after)
    : QUndoCommand(after ? EntryChanges::tr("Mark") : EntryChanges::tr("Unmark"))
    , m_changes(changes)
    , m_id(id)
    , m_before(before)
    , m_after(after)
{
}

void MarkCommand::undo()
{
    if (!m_changes.applyMark(m_id, m_before))
        setObsolete(true);
    m_done = false;
}

void MarkCommand::redo()
{
    if (!m_done && !m_changes.applyMark(m_id, m_after))
        setObsolete(true);
    m_done = true;
}

EntrySetCommand::EntrySetCommand(EntryChanges &changes, Kind kind,
                                 const QList<LedgerEntry> &removed, const QList<qint64> &ids,
                                 const QString &text)
    : QUndoCommand(text)
    , m_changes(changes)
    , m_kind(kind)
    , m_ids(ids)
    , m_entries(removed)
{
}

bool EntrySetCommand::takeOut()
{
    // The entries as they are now, kept for putting them back.
    QList<LedgerEntry> entries = m_changes.database().entries(m_ids);
    if (!m_changes.applyRemoval(m_ids))
        return false;
    m_entries = std::move(entries);
    return true;
}

bool EntrySetCommand::putBack()
{
    if (!m_changes.applyReturn(m_entries))
        return false;
    m_entries.clear();
    m_entries.squeeze();
    return true;
}

void EntrySetCommand::undo()
{
    if (!(m_kind == Kind::Import ? takeOut() : putBack()))
        setObsolete(true);
    m_done = false;
}

void EntrySetCommand::redo()
{
    if (!m_done && !(m_kind == Kind::Import ? putBack() : takeOut()))
        setObsolete(true);
    m_done = true;
}
