#pragma once

#include "Bank.h"

#include <QLockFile>
#include <QString>

#include <memory>

// Where the ledgers live: the folder "Moriva" under the user's data location
// ($XDG_DATA_HOME/Moriva), one archive file per bank.
namespace DataFolder {

QString defaultPath();
// Finds or creates the folder (with missing parents). Anything already at the path counts as
// the folder. False when nothing can be created there.
bool findOrCreate(const QString &path);
// "BankbookArchive(JNB).mvrk", "BankbookArchive(eBANK).mvrk"; empty for no bank.
QString archiveFileName(Bank bank);

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
