#include "Backups.h"

#include "AtomicFile.h"
#include "DataFolder.h"
#include "LedgerArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>


namespace Backups {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Backups", text);
}

// "BankbookArchive(JNB) " : the archive's name without its extension, and a space.
QString namePrefix(Bank bank)
{
    return QFileInfo(DataFolder::archiveFileName(bank)).completeBaseName() + u' ';
}

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HHmmss");

// The bank's backup files, oldest first (their names sort by time).
QStringList backupNames(const QDir &folder, Bank bank)
{
    return folder.entryList({namePrefix(bank) + QStringLiteral("*.mvrk")}, QDir::Files, QDir::Name);
}

} // namespace

QString folderOf(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("Backups"));
}

bool keep(const QString &dataFolder, Bank bank, const QString &archivePath, QString *error)
{
    if (!QFileInfo(archivePath).isFile())
        return true;
    const QDir folder(folderOf(dataFolder));
    if (!QDir().mkpath(folder.path())) {
        if (error)
            *error = tr("Cannot create the backup folder %1.").arg(folder.path());
        return false;
    }
    const QString backup = folder.filePath(
        namePrefix(bank) + QDateTime::currentDateTime().toString(kTimeFormat) + QStringLiteral(".mvrk"));
    // A copy, not a second name for the archive's file: what befalls the archive in place must
    // not befall its backup.
    if (!QFileInfo::exists(backup)) {
        if (!QFile::copy(archivePath, backup)) {
            if (error)
                *error = tr("Cannot keep a backup of %1 in %2.").arg(archivePath, folder.path());
            return false;
        }
    }
    QStringList names = backupNames(folder, bank);
    while (names.size() > kMaxPerBank)
        QFile::remove(folder.filePath(names.takeFirst()));
    return true;
}

QList<Backup> list(const QString &dataFolder, Bank bank)
{
    const QDir folder(folderOf(dataFolder));
    const QString prefix = namePrefix(bank);
    QList<Backup> backups;
    const QStringList names = backupNames(folder, bank);
    for (auto it = names.crbegin(); it != names.crend(); ++it) {
        Backup backup;
        backup.path = folder.filePath(*it);
        backup.time = QDateTime::fromString(
            it->mid(prefix.size(), kTimeFormat.size()), kTimeFormat);
        const LedgerArchive::CheckResult loaded = LedgerArchive::check(backup.path);
        if (loaded.status == LedgerArchive::LoadStatus::Loaded)
            backup.entries = loaded.entries;
        else
            backup.error = loaded.error;
        backups.append(backup);
    }
    return backups;
}

bool restore(const QString &archivePath, const QString &backupPath, QString *error,
             QString *asidePath)
{
    QFile backup(backupPath);
    if (!backup.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("Cannot read the backup %1: %2").arg(backupPath, backup.errorString());
        return false;
    }
    const QByteArray bytes = backup.readAll();
    if (QFileInfo::exists(archivePath)) {
        const QString aside = archivePath + QStringLiteral(".damaged-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (!QFile::rename(archivePath, aside)) {
            if (error)
                *error = tr("Cannot set the damaged archive %1 aside.").arg(archivePath);
            return false;
        }
        if (asidePath)
            *asidePath = aside;
    }
    return AtomicFile::write(
        archivePath, [&bytes](QIODevice *file) { return file->write(bytes) == bytes.size(); },
        error);
}

} // namespace Backups
