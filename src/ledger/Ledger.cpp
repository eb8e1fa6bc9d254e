#include "Ledger.h"

#include "Backups.h"
#include "DataFolder.h"
#include "LedgerArchive.h"
#include "LedgerOrdering.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <mutex>
#include <sys/stat.h>

namespace {

// The entries of each archive as this process last read or wrote it, with what the file was
// then. Entries are never freed, so a bank switch that read the archive again each time would
// cost a ledger's worth of memory at every switch; an archive left as it was gives back the
// entries it holds instead. Any write to the file (even in place, keeping its time) changes its
// change time, so another program's archive is read anew.
class KnownArchives
{
public:
    static KnownArchives &instance()
    {
        static KnownArchives known;
        return known;
    }
    // Remembers the entries the file holds, if it is still what it was before it was read
    // (`before`; null when just written).
    void remember(const QString &path, const QList<LedgerEntryPtr> &entries,
                  const QByteArray &before = QByteArray())
    {
        const std::lock_guard lock(m_mutex);
        QByteArray identity = identityOf(path);
        if (identity.isEmpty() || (!before.isNull() && identity != before))
            m_known.remove(path);
        else
            m_known.insert(path, {std::move(identity), entries});
    }
    bool recall(const QString &path, QList<LedgerEntryPtr> *entries) const
    {
        const std::lock_guard lock(m_mutex);
        const auto it = m_known.constFind(path);
        if (it == m_known.cend() || it->identity != identityOf(path))
            return false;
        *entries = it->entries;
        return true;
    }

    // The file's device, inode, size, times and last bytes (the checksum: the times are
    // coarse, and a new file may take a removed one's inode); empty when there is no file.
    static QByteArray identityOf(const QString &path)
    {
        QFile file(path);
        struct stat info;
        if (!file.open(QIODevice::ReadOnly) || ::fstat(file.handle(), &info) != 0
            || !S_ISREG(info.st_mode) || info.st_size < 8 || !file.seek(info.st_size - 8))
            return QByteArray("");
        const qint64 fields[] = {qint64(info.st_dev), qint64(info.st_ino), qint64(info.st_size),
                                 qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec),
                                 qint64(info.st_ctim.tv_sec), qint64(info.st_ctim.tv_nsec)};
        return QByteArray(reinterpret_cast<const char *>(fields), sizeof fields) + file.read(8);
    }

private:
    struct Known {
        QByteArray identity;
        QList<LedgerEntryPtr> entries;
    };
    mutable std::mutex m_mutex;
    QHash<QString, Known> m_known;
};

} // namespace

void Ledger::reset(Bank bank)
{
    m_entries.clear();
    m_duplicates.invalidate();
    m_state = State::Closed;
    m_bank = bank;
    m_dataFolder.clear();
    m_filePath.clear();
    m_error.clear();
    m_generation = m_savedGeneration = 0;
    m_backupKept = false;
}

void Ledger::open(const QString &folder, Bank bank)
{
    reset(bank);
    m_dataFolder = folder;
    m_filePath = QDir(folder).filePath(DataFolder::archiveFileName(bank));
    LedgerArchive::LoadResult loaded;
    if (KnownArchives::instance().recall(m_filePath, &loaded.items)) {
        loaded.status = LedgerArchive::LoadStatus::Loaded;
    } else {
        const QByteArray before = KnownArchives::identityOf(m_filePath);
        loaded = LedgerArchive::load(m_filePath);
        if (loaded.status == LedgerArchive::LoadStatus::Loaded)
            KnownArchives::instance().remember(m_filePath, loaded.items, before);
    }
    switch (loaded.status) {
    case LedgerArchive::LoadStatus::Loaded:
        m_entries = std::move(loaded.items);
        m_state = State::Open;
        if (loaded.olderVersion)
            changed(); // the next save writes the current version, which opens without reading
        break;
    case LedgerArchive::LoadStatus::Missing:
        m_duplicates.clear();
        m_state = State::Open;
        changed(); // a new ledger gets its archive at the first save
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

bool Ledger::isModified() const
{
    return isOpen() && m_generation != m_savedGeneration;
}

Ledger::Snapshot Ledger::snapshot() const
{
    return {m_entries, m_dataFolder, m_filePath, m_bank, m_generation, !m_backupKept};
}

bool Ledger::write(const Snapshot &snapshot, QString *error)
{
    if (snapshot.filePath.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate(
                "Ledger", "The ledger cannot be saved: Moriva has no data folder.");
        return false;
    }
    if (snapshot.keepBackup
        && !Backups::keep(snapshot.dataFolder, snapshot.bank, snapshot.filePath, error))
        return false;
    if (!LedgerArchive::save(snapshot.filePath, snapshot.entries, error))
        return false;
    KnownArchives::instance().remember(snapshot.filePath, snapshot.entries);
    return true;
}

void Ledger::markSaved(const Snapshot &snapshot)
{
    if (snapshot.filePath != m_filePath)
        return; // another ledger was opened meanwhile
    m_savedGeneration = snapshot.generation;
    m_backupKept = m_backupKept || snapshot.keepBackup;
}

bool Ledger::save(QString *error)
{
    if (!isModified())
        return true; // nothing new, and an unreadable archive must stay as it is
    const Snapshot now = snapshot();
    if (!write(now, error))
        return false;
    markSaved(now);
    return true;
}

void Ledger::close()
{
    reset(m_bank);
}

void Ledger::insert(qsizetype index, const LedgerEntryPtr &entry)
{
    if (m_duplicates.isBuilt())
        m_duplicates.add(*entry);
    m_entries.insert(qBound(qsizetype(0), index, m_entries.size()), entry);
    changed();
}

void Ledger::abandonEntries()
{
    // Entries are never freed (see LedgerEntry); the list of them is one block.
    m_entries = {};
    m_duplicates.invalidate();
}

void Ledger::removeAt(qsizetype index)
{
    m_duplicates.remove(*m_entries.at(index));
    m_entries.removeAt(index);
    changed();
}

qsizetype Ledger::remove(const QSet<const LedgerEntry *> &entries)
{
    const qsizetype removed = m_entries.removeIf([this, &entries](const LedgerEntryPtr &e) {
        if (!entries.contains(e.data()))
            return false;
        m_duplicates.remove(*e);
        return true;
    });
    if (removed > 0)
        changed();
    return removed;
}

void Ledger::assign(const QList<LedgerEntryPtr> &entries)
{
    m_entries = entries;
    m_duplicates.invalidate();
    changed();
}

void Ledger::removeAll()
{
    m_entries.clear();
    if (isOpen())
        m_duplicates.clear();
    changed();
}

void Ledger::replace(qsizetype index, const LedgerEntryPtr &replacement)
{
    m_entries[index]->setSuccessor(replacement);
    m_entries[index] = replacement;
    changed();
}

void Ledger::sort(Qt::SortOrder order)
{
    if (sortEntries(m_entries, order))
        changed();
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
