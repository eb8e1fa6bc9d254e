#include "DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DataFolder {

QString defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Moriva"));
}

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DataFolder", text);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

bool findOrCreate(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (info.exists())
        return true;
    // A fresh account may not have ~/.local/share yet: the parents are created too. mkdir's
    // mode is cut by the umask; chmod sets it whole.
    const QString parent = info.absolutePath();
    if (parent != info.absoluteFilePath() && !findOrCreate(parent))
        return false;
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    if (::mkdir(name.constData(), 0700) != 0)
        return errno == EEXIST && QFileInfo(path).isDir();
    return ::chmod(name.constData(), 0700) == 0;
}

QString databasePath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("Moriva.sqlite"));
}

bool refuseSymlink(const QString &path, QString *error)
{
    struct stat info{};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISLNK(info.st_mode))
        return true;
    if (error)
        *error = tr("%1 is a symbolic link; Moriva does not follow links to its data.").arg(path);
    return false;
}

bool createPrivateFile(const QString &path, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 || ::fchmod(fd, 0600) != 0) {
        if (error)
            *error = tr("Cannot create %1: %2").arg(path, systemError());
        if (fd >= 0) {
            ::close(fd);
            ::unlink(QFile::encodeName(path).constData());
        }
        return false;
    }
    ::close(fd);
    return true;
}

bool makePrivate(const QString &path, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    const bool done = fd >= 0 && ::fchmod(fd, 0600) == 0;
    if (!done && error)
        *error = tr("Cannot make %1 private: %2").arg(path, systemError());
    if (fd >= 0)
        ::close(fd);
    return done;
}

bool syncFolder(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool done = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return done;
}

bool syncFile(const QString &path, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    const bool done = fd >= 0 && ::fsync(fd) == 0;
    if (!done && error)
        *error = tr("Cannot write %1 to the disk: %2").arg(path, systemError());
    if (fd >= 0)
        ::close(fd);
    return done;
}

QString archiveFileName(Bank bank)
{
    if (!Banks::isBank(bank))
        return QString();
    return QStringLiteral("BankbookArchive(%1).mvrk").arg(Banks::name(bank));
}

} // namespace DataFolder

namespace {

// Why a file beside the lock file cannot be written, as the system says it (QLockFile keeps it
// to itself): a full disk, a read-only file system, a folder that is gone.
QString writeFailure(const QString &lockPath)
{
    const QByteArray probe = QFile::encodeName(lockPath + QStringLiteral(".probe"));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          0600);
    int failure = fd < 0 ? errno : 0;
    if (fd >= 0) {
        // As much as a lock file holds: a full disk refuses the bytes, not always the name.
        const QByteArray bytes(256, ' ');
        for (qsizetype done = 0; done < bytes.size() && failure == 0;) {
            const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n <= 0)
                failure = n < 0 ? errno : ENOSPC;
            done += qMax<ssize_t>(n, 0);
        }
        if (failure == 0 && ::fsync(fd) != 0)
            failure = errno;
        ::close(fd);
        ::unlink(probe.constData());
    }
    return failure != 0 ? QString::fromLocal8Bit(std::strerror(failure))
                        : QCoreApplication::translate("DataFolderLock", "unknown error");
}

} // namespace

DataFolderLock::DataFolderLock(const QString &folder)
    : m_path(QDir(folder).filePath(QStringLiteral("Moriva.lock")))
{
}

int DataFolderLock::defaultTimeoutMs()
{
    return 5000;
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
                                          : writeFailure(m_path));
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
