#include "DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace DataFolder {

QString defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Moriva"));
}

bool findOrCreate(const QString &path)
{
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path))
        return true;
    // A fresh account may not have ~/.local/share yet: create the parents too.
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}

QString archiveFileName(Bank bank)
{
    if (!Banks::isBank(bank))
        return QString();
    return QStringLiteral("BankbookArchive(%1).mvrk").arg(Banks::name(bank));
}

} // namespace DataFolder

DataFolderLock::DataFolderLock(const QString &folder)
    : m_path(QDir(folder).filePath(QStringLiteral("Moriva.lock")))
{
}

int DataFolderLock::defaultTimeoutMs()
{
    return 3000;
}

bool DataFolderLock::acquire(int timeoutMs, QString *error)
{
    if (isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(m_path);
    // Only a dead owner makes a lock stale: a window may hold its ledger for days.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(timeoutMs))
        return true;
    if (error) {
        qint64 pid = 0;
        QString host, app;
        const QLockFile::LockError why = m_lock->error();
        if (why == QLockFile::LockFailedError && m_lock->getLockInfo(&pid, &host, &app))
            *error = QCoreApplication::translate("DataFolderLock",
                                                 "The ledgers are in use by another Moriva "
                                                 "process (%1, process %2); lock file %3.")
                         .arg(app, QString::number(pid), m_path);
        else if (why == QLockFile::LockFailedError)
            // The holder is still writing its name into the lock file.
            *error = QCoreApplication::translate("DataFolderLock",
                                                 "The ledgers are in use by another Moriva "
                                                 "process; lock file %1.")
                         .arg(m_path);
        else
            *error = QCoreApplication::translate("DataFolderLock",
                                                 "Cannot lock the ledgers: lock file %1 cannot "
                                                 "be created (%2).")
                         .arg(m_path, why == QLockFile::PermissionError
                                          ? QCoreApplication::translate("DataFolderLock",
                                                                        "permission denied")
                                          : QCoreApplication::translate("DataFolderLock",
                                                                        "unknown error"));
    }
    m_lock.reset();
    return false;
}

void DataFolderLock::release()
{
    m_lock.reset(); // QLockFile unlocks in its destructor
}

bool DataFolderLock::isLocked() const
{
    return m_lock && m_lock->isLocked();
}
