#include "EntryChanges.h"

#include "EntryCommands.h"

EntryChanges::EntryChanges(LedgerDatabase &database, LedgerView &view, QObject *parent)
    : QObject(parent)
    , m_database(database)
    , m_view(view)
{
    // Each step may hold entries that left the ledger (Delete All holds them all).
    m_undoStack.setUndoLimit(100);
}

bool EntryChanges::isEditableColumn(QStringView identifier)
{
    return identifier == u"summary" || identifier == u"details";
}

namespace {

// What an edit stores: no control character (a NUL pasted in, an escape), but tab, and the line
// breaks a note may hold.
QString storableText(const QString &value, bool note)
{
    QString out;
    out.reserve(value.size());
    for (const QChar ch : value) {
        const char16_t c = ch.unicode();
        const bool control = c < 0x20 ? c != u'\t' && !(note && (c == u'\n' || c == u'\r'))
                                      : c >= 0x7f && c <= 0x9f;
        if (!control)
            out.append(ch);
    }
    return out;
}

} // namespace

bool EntryChanges::editEntry(int row, QStringView column, const QString &value)
{
    if (!isEditableColumn(column))
        return false;
    const bool summary = column == u"summary";
    return changeText(row, summary ? Field::Summary : Field::Details,
                      storableText(value, !summary),
                      summary ? tr("Edit of Summary") : tr("Edit of Details"));
}

bool EntryChanges::changeText(int row, Field field, const QString &value, const QString &stepText)
{
    const LedgerEntry e = m_view.entryAt(row);
    if (e.id() == 0)
        return false;
    const QString before = field == Field::Summary ? e.summary() : e.details();
    if (before == value)
        return false; // an editor closed without a change leaves no step to undo
    if (!applyText(e.id(), field, value))
        return false;
    m_undoStack.push(new EditTextCommand(*this, e.id(), field, before, value, stepText));
    return true;
}

bool EntryChanges::revertSummary(int row)
{
    const LedgerEntry e = m_view.entryAt(row);
    if (e.id() == 0 || !e.isSummaryEdited())
        return false;
    return changeText(row, Field::Summary, e.importedSummary(), tr("Revert to Bank's Text"));
}

bool EntryChanges::toggleMark(int row)
{
    const LedgerEntry e = m_view.entryAt(row);
    if (e.id() == 0)
        return false;
    const int marked = e.marked() == 0 ? 1 : 0;
    if (!applyMark(e.id(), marked))
        return false;
    m_undoStack.push(new MarkCommand(*this, e.id(), e.marked(), marked));
    return true;
}

bool EntryChanges::removeEntry(int row)
{
    const LedgerEntry e = m_view.entryAt(row);
    if (e.id() == 0 || !applyRemoval({e.id()}))
        return false;
    m_undoStack.push(new EntrySetCommand(*this, EntrySetCommand::Kind::Removal, {e}, {e.id()},
                                         tr("Delete")));
    return true;
}

void EntryChanges::removeAllEntries()
{
    const QList<qint64> ids = m_database.entryIds(m_view.bank(), EntryFilter::all(), Qt::AscendingOrder);
    if (ids.isEmpty())
        return;
    QList<LedgerEntry> entries = m_database.entries(ids);
    if (!applyRemoval(ids))
        return;
    m_view.forgetSearch();
    m_view.reload();
    m_undoStack.push(new EntrySetCommand(*this, EntrySetCommand::Kind::Removal, entries, ids,
                                         tr("Delete All")));
}

void EntryChanges::pushImport(const QString &text, const QList<qint64> &ids)
{
    if (!ids.isEmpty())
        m_undoStack.push(new EntrySetCommand(*this, EntrySetCommand::Kind::Import, {}, ids, text));
}

bool EntryChanges::applyText(qint64 id, Field field, const QString &text)
{
    QString error;
    const bool done = field == Field::Summary ? m_database.setSummary(id, text, &error)
                                              : m_database.setDetails(id, text, &error);
    if (!done) {
        emit failed(error);
        return false;
    }
    changedInPlace(id);
    return true;
}

void EntryChanges::changedInPlace(qint64 id)
{
    m_view.forget(id);
    m_focus = {{id}, -1};
    emit changed();
    if (const qsizetype row = m_view.rowOf(id); row >= 0)
        emit rowChanged(int(row));
}

bool EntryChanges::applyMark(qint64 id, int marked)
{
    QString error;
    if (!m_database.setMarked(id, marked, &error)) {
        emit failed(error);
        return false;
    }
    changedInPlace(id);
    emit reloadRequested();
    return true;
}

bool EntryChanges::applyRemoval(const QList<qint64> &ids)
{
    qsizetype firstRow = -1;
    for (qint64 id : ids) {
        const qsizetype row = m_view.rowOf(id);
        if (row >= 0 && (firstRow < 0 || row < firstRow))
            firstRow = row;
    }
    QString error;
    if (!m_database.removeEntries(ids, &error)) {
        emit failed(error);
        return false;
    }
    m_focus = {{}, firstRow};
    m_view.entriesRemoved(ids);
    entriesChanged();
    return true;
}

bool EntryChanges::applyReturn(const QList<LedgerEntry> &entries)
{
    QString error;
    if (!m_database.putBack(entries, &error)) {
        emit failed(error);
        return false;
    }
    QList<qint64> ids;
    ids.reserve(entries.size());
    for (const LedgerEntry &e : entries)
        ids.append(e.id());
    m_view.entriesReturned(ids);
    m_focus = {ids, -1};
    entriesChanged();
    return true;
}

void EntryChanges::entriesChanged()
{
    emit entriesCameOrWent();
    m_view.reload();
    emit changed();
    emit reloadRequested();
}
