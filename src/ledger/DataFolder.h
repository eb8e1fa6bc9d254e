#pragma once

#include "Bank.h"

#include <QLockFile>
#include <QString>

#include <memory>

// Where the ledger lives: the folder "Moriva" under the user's data location
// ($XDG_DATA_HOME/Moriva), holding the database Moriva.sqlite and its Backups folder (and, from
// earlier versions, one archive file per bank until it is moved in).
//
// What Moriva keeps is the user's alone: folders it creates are 0700 and files 0600, whatever
// the umask. The database, its backups and the Backups folder are never reached through a
// symbolic link: another user's link would make Moriva write where they choose.
namespace DataFolder {

QString defaultPath();
// Finds or creates the folder; each missing folder on the way is created 0700. Anything
// already at the path counts as the folder. False when nothing can be created there.
bool findOrCreate(const QString &path);
// "BankbookArchive(JNB).mvrk", "BankbookArchive(eBANK).mvrk"; empty for no bank.
QString archiveFileName(Bank bank);
// The database in the data folder: <folder>/Moriva.sqlite.
QString databasePath(const QString &folder);

// False, with a message naming the path, when the path is a symbolic link; true otherwise,
// also when nothing is there.
bool refuseSymlink(const QString &path, QString *error);
// Creates a new, empty file that only its owner may read and write (0600). Fails when anything
// is already at the path, a symbolic link included.
bool createPrivateFile(const QString &path, QString *error);
// Makes an existing file (not a link) readable and writable by its owner only.
bool makePrivate(const QString &path, QString *error);
// Flushes the folder's entries (a rename, a new file) to the disk.
bool syncFolder(const QString &path);
// Flushes the file's content to the disk.
bool syncFile(const QString &path, QString *error);

} // namespace DataFolder

// Keeps other Moriva processes (the window, the command-line tool) from holding the same
// ledgers at the same time, so that none overwrites another's changes. A lock left behind by a
// process that died is taken over.
class DataFolderLock
{
public:
    explicit DataFolderLock(const QString &folder);
    // Waits up to timeoutMs for the lock; false with a message naming the lock file otherwise.
    bool acquire(int timeoutMs, QString *error);
    void release();
    bool isLocked() const;
    QString lockFilePath() const { return m_path; }

    static int defaultTimeoutMs();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
