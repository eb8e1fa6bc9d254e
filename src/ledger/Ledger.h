#pragma once

#include "Bank.h"
#include "DuplicateIndex.h"
#include "LedgerEntry.h"

#include <QList>
#include <QSet>
#include <QString>
#include <Qt>

// One bank's ledger: its entries, the archive file that keeps them between runs, and the index
// that tells a re-imported statement line from a new operation.
//
// A ledger whose archive could not be read holds nothing and is never saved, so that the
// unreadable file stays as it was for the user to rescue.
class Ledger
{
public:
    enum class State {
        Closed,       // nothing opened yet
        Open,         // the archive was read, or there was none: a new ledger
        Unreadable,   // something is at the archive's path but it cannot be read
        Locked,       // another Moriva process holds the ledgers
        NoDataFolder, // there is no folder to keep the archive in
    };

    // Reads the bank's archive in the data folder; a missing archive opens an empty ledger.
    void open(const QString &folder, Bank bank);
    // Records why the bank's ledger could not be opened; it then holds nothing.
    void setUnavailable(Bank bank, State state, const QString &error);
    // Writes the entries to the archive, atomically, when they changed since they were read or
    // last saved (or there is no archive yet). A ledger that is not open writes nothing and is
    // no failure. The first save that replaces the archive keeps the archive as it was in the
    // backups.
    bool save(QString *error);

    // What a save writes, taken at one moment, so that it can be written on another thread
    // while the ledger goes on changing.
    struct Snapshot {
        QList<LedgerEntryPtr> entries;
        QString dataFolder;
        QString filePath;
        Bank bank = Bank::None;
        quint64 generation = 0;
        bool keepBackup = false;
    };
    // Whether the ledger holds changes that its archive does not.
    bool isModified() const;
    Snapshot snapshot() const;
    // Writes a snapshot; safe on any thread.
    static bool write(const Snapshot &snapshot, QString *error);
    // The snapshot was written: the changes it holds are on disk.
    void markSaved(const Snapshot &snapshot);
    void close();
    // Lets go of the entries without freeing them, when the process is about to end.
    void abandonEntries();

    bool isOpen() const { return m_state == State::Open; }
    State state() const { return m_state; }
    QString error() const { return m_error; }
    Bank bank() const { return m_bank; }
    QString filePath() const { return m_filePath; }

    const QList<LedgerEntryPtr> &entries() const { return m_entries; }
    qsizetype size() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    const LedgerEntryPtr &at(qsizetype index) const { return m_entries.at(index); }

    void reserve(qsizetype count) { m_entries.reserve(count); }
    // Adds an entry that the duplicate index has already counted (or that goes into an empty
    // ledger, whose index is built when it is next needed).
    void append(const LedgerEntryPtr &entry)
    {
        m_entries.append(entry);
        changed();
    }
    // Puts an entry (one that left the ledger, say) at the index, counting it in the duplicate
    // index, so that a statement holding it finds it there again.
    void insert(qsizetype index, const LedgerEntryPtr &entry);
    void removeAt(qsizetype index);
    // Removes each entry that is in the set (the very objects, not look-alikes), keeping the
    // others in their order; answers how many went.
    qsizetype remove(const QSet<const LedgerEntry *> &entries);
    void removeAll();
    // The entries become these (the ledger as it was before a change); the duplicate index is
    // built afresh when next needed.
    void assign(const QList<LedgerEntryPtr> &entries);
    // Puts the replacement of an entry (a mark or an edit) at its index; the old entry then
    // leads to it.
    void replace(qsizetype index, const LedgerEntryPtr &replacement);
    void sort(Qt::SortOrder order);

    // The index of the entry in the ledger, following replacements; -1 when it is not there.
    qsizetype indexOf(const LedgerEntry *entry) const;

    // The duplicate index of the entries, built when first asked for.
    DuplicateIndex &duplicates();
    // Forgets the index, to be built afresh when next asked for (after a bulk append).
    void invalidateDuplicates() { m_duplicates.invalidate(); }

private:
    void reset(Bank bank);
    void changed() { ++m_generation; }

    QList<LedgerEntryPtr> m_entries;
    DuplicateIndex m_duplicates;
    State m_state = State::Closed;
    Bank m_bank = Bank::None;
    QString m_dataFolder;
    QString m_filePath;
    QString m_error;
    // Every change counts one up; the archive holds the changes up to m_savedGeneration.
    quint64 m_generation = 0;
    quint64 m_savedGeneration = 0;
    bool m_backupKept = false; // the archive as it was when opened is among the backups
};
