#include "Ledger.h"

#include "DataFolder.h"
#include "LedgerArchive.h"
#include "LedgerOrdering.h"

#include <QCoreApplication>
#include <QDir>

void Ledger::reset(Bank bank)
{
    m_entries.clear();
    m_duplicates.invalidate();
    m_state = State::Closed;
    m_bank = bank;
    m_filePath.clear();
    m_error.clear();
}

void Ledger::open(const QString &folder, Bank bank)
{
    reset(bank);
    m_filePath = QDir(folder).filePath(DataFolder::archiveFileName(bank));
    LedgerArchive::LoadResult loaded = LedgerArchive::load(m_filePath);
    switch (loaded.status) {
    case LedgerArchive::LoadStatus::Loaded:
        m_entries = std::move(loaded.items);
        m_state = State::Open;
        break;
    case LedgerArchive::LoadStatus::Missing:
        m_duplicates.clear();
        m_state = State::Open;
        break;
    case LedgerArchive::LoadStatus::Unreadable:
        m_state = State::Unreadable;
        m_error = loaded.error;
        break;
    }
}

void Ledger::setUnavailable(Bank bank, State state, const QString &error)
{
    reset(bank);
    m_state = state;
    m_error = error;
}

bool Ledger::save(QString *error) const
{
    if (!isOpen())
        return true; // nothing held, and an unreadable archive must stay as it is
    if (m_filePath.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate(
                "Ledger", "The ledger cannot be saved: Moriva has no data folder.");
        return false;
    }
    return LedgerArchive::save(m_filePath, m_entries, error);
}

void Ledger::close()
{
    reset(m_bank);
}

void Ledger::removeAt(qsizetype index)
{
    m_duplicates.remove(*m_entries.at(index));
    m_entries.removeAt(index);
}

void Ledger::removeAll()
{
    m_entries.clear();
    if (isOpen())
        m_duplicates.clear();
}

void Ledger::replace(qsizetype index, const LedgerEntryPtr &replacement)
{
    m_entries[index]->setSuccessor(replacement);
    m_entries[index] = replacement;
}

void Ledger::sort(Qt::SortOrder order)
{
    sortEntries(m_entries, order);
}

qsizetype Ledger::indexOf(const LedgerEntry *entry) const
{
    if (!entry || !isOpen())
        return -1;
    const LedgerEntry *target = entry->latest();
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).data() == target)
            return i;
    }
    return -1;
}

DuplicateIndex &Ledger::duplicates()
{
    if (!m_duplicates.isBuilt())
        m_duplicates.rebuild(m_entries);
    return m_duplicates;
}
