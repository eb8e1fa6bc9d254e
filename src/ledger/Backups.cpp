#include "Backups.h"

#include "DataFolder.h"
#include "LedgerDatabase.h"
#include "Sqlite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace Backups {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Backups", text);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray nativeName(const QString &path)
{
    return QFile::encodeName(path);
}

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HHmmss");
// What SQLite may keep beside a database: what they hold belongs to that file alone.
const QStringList kCompanions = {QStringLiteral("-wal"), QStringLiteral("-shm"),
                                 QStringLiteral("-journal")};

// A backup's file name as Moriva gives it.
struct Name {
    QDateTime time;
    int sequence = 1; // a second backup in the same second is "-2", and so on
    bool replaced = false;
};

std::optional<Name> parseName(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^Moriva (replaced )?(\d{4}-\d{2}-\d{2} \d{6})(?:-([2-9]|[1-9]\d{1,4}))?\.sqlite$)"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    Name name;
    name.replaced = match.hasCaptured(1);
    name.time = QDateTime::fromString(match.captured(2), kTimeFormat);
    if (!name.time.isValid())
        return std::nullopt;
    if (match.hasCaptured(3))
        name.sequence = match.captured(3).toInt();
    return name;
}

QString fileNameOf(const QDateTime &time, int sequence, bool replaced)
{
    return QStringLiteral("Moriva ") + (replaced ? QStringLiteral("replaced ") : QString())
        + time.toString(kTimeFormat)
        + (sequence > 1 ? QStringLiteral("-%1").arg(sequence) : QString())
        + QStringLiteral(".sqlite");
}

bool isRegularFile(const QString &path)
{
    struct stat info{};
    return ::lstat(nativeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// Removes what a killed process left at a working name of ours (regular files only).
void removeLeftovers(const QString &path)
{
    for (const QString &suffix : QStringList{QString()} + kCompanions) {
        if (isRegularFile(path + suffix))
            ::unlink(nativeName(path + suffix).constData());
    }
}

// Gives the file a new backup name of the moment in the folder (the same file system): link()
// never replaces anything already there, a link included.
bool linkAsNew(const QString &from, const QString &folder, bool replaced, QString *made,
               QString *error)
{
    const QDateTime now = QDateTime::currentDateTime();
    for (int sequence = 1; sequence < 10000; ++sequence) {
        const QString to = QDir(folder).filePath(fileNameOf(now, sequence, replaced));
        if (::link(nativeName(from).constData(), nativeName(to).constData()) == 0) {
            *made = to;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    if (error)
        *error = tr("Cannot keep %1 in %2: %3").arg(from, folder, systemError());
    return false;
}

// The same, by copying, where the folder cannot take a second name of the file.
bool copyAsNew(const QString &from, const QString &folder, QString *made, QString *error)
{
    const QString temp = QDir(folder).filePath(QStringLiteral(".Moriva keeping.sqlite"));
    removeLeftovers(temp);
    QFile in(from);
    if (!DataFolder::createPrivateFile(temp, error))
        return false;
    QFile out(temp);
    bool copied = in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly);
    while (copied && !in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        copied = !block.isEmpty() && out.write(block) == block.size();
    }
    copied = copied && out.flush();
    out.close();
    const bool kept = copied && DataFolder::syncFile(temp, error)
        && linkAsNew(temp, folder, true, made, error);
    if (!copied && error)
        *error = tr("Cannot keep %1 in %2: %3").arg(from, folder, out.errorString());
    ::unlink(nativeName(temp).constData());
    return kept;
}

// Copies a whole database through SQLite's backup API into the file at `to` (made beforehand),
// as one file with nothing beside it, and flushes it to the disk.
// A backup is a file of its own (journal mode DELETE: nothing beside it); a restore's copy is
// made ready for the ledger (WAL) before it is put in place, so that no journal is written
// beside the database once it is there.
enum class Journal { Delete, Wal };

bool copyDatabase(sqlite3 *from, const QString &to, QString *error, Journal journal = Journal::Delete)
{
    SqlConnection target;
    if (!target.open(to, SqlConnection::Access::ReadWrite, 0, error))
        return false;
    sqlite3_backup *backup = sqlite3_backup_init(target.handle(), "main", from, "main");
    if (!backup) {
        if (error)
            *error = tr("Cannot copy the database to %1: %2").arg(to, target.lastError());
        return false;
    }
    int rc = SQLITE_OK;
    // Another process's write holds the database a moment: wait for it, briefly.
    for (int tries = 0; tries < 50; ++tries) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        sqlite3_sleep(100);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        if (error)
            *error = tr("Cannot copy the database to %1: %2")
                         .arg(to, QString::fromUtf8(sqlite3_errstr(rc)));
        return false;
    }
    if (!target.exec(journal == Journal::Wal ? "PRAGMA journal_mode = WAL" : "PRAGMA journal_mode = DELETE",
                     error))
        return false;
    target.close();
    return DataFolder::syncFile(to, error);
}

enum class Check { Quick, Full };

// Opens the file read-only and answers whether it is a Moriva database; Full adds SQLite's
// integrity check of every page.
bool openMorivaDatabase(const QString &path, Check check, SqlConnection &connection, QString *error)
{
    const auto refuse = [&path, error](const QString &why) {
        if (error)
            *error = tr("%1 is not a sound Moriva database: %2").arg(path, why);
        return false;
    };
    if (!DataFolder::refuseSymlink(path, error))
        return false;
    if (!QFileInfo(path).isFile())
        return refuse(tr("there is no such file."));
    QString why;
    if (!connection.open(path, SqlConnection::Access::ReadOnly, 1000, &why))
        return refuse(why);
    SqlStatement statement;
    if (check == Check::Full) {
        if (!statement.prepare(connection, "PRAGMA integrity_check", &why))
            return refuse(why);
        if (statement.step() != SqlStatement::Step::Row)
            return refuse(statement.error());
        if (statement.text(0) != u"ok")
            return refuse(statement.text(0));
    }
    if (!statement.prepare(connection, "PRAGMA user_version", &why)
        || statement.step() != SqlStatement::Step::Row)
        return refuse(why.isEmpty() ? statement.error() : why);
    const qint64 version = statement.integer(0);
    if (version < 1 || version > LedgerDatabase::kSchemaVersion)
        return refuse(tr("its schema version is %1; this Moriva knows 1 to %2.")
                          .arg(version)
                          .arg(LedgerDatabase::kSchemaVersion));
    if (!statement.prepare(connection,
                           "SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                           "AND name IN ('accounts', 'entries')",
                           &why)
        || statement.step() != SqlStatement::Step::Row)
        return refuse(why.isEmpty() ? statement.error() : why);
    if (statement.integer(0) != 2)
        return refuse(tr("its tables are missing."));
    return true;
}

// Brings the database to a state where the file alone holds all of it: reading it rolls back
// what a crash left in its journal, and a checkpoint moves its write-ahead log into the file.
// A file that is no database at all is left as it is (unreadable is then set).
bool settle(const QString &database, bool *unreadable, QString *error)
{
    *unreadable = false;
    SqlConnection connection;
    QString why;
    if (!connection.open(database, SqlConnection::Access::ReadWrite, 5000, &why)) {
        if (error)
            *error = tr("Cannot open %1: %2").arg(database, why);
        return false;
    }
    const auto failed = [&](const QString &message) {
        const int code = sqlite3_errcode(connection.handle()) & 0xff;
        if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT) {
            *unreadable = true;
            return true;
        }
        if (error)
            *error = tr("Cannot set %1 aside: %2").arg(database, message);
        return false;
    };
    SqlStatement statement;
    if (!statement.prepare(connection, "SELECT count(*) FROM sqlite_master", &why))
        return failed(why);
    if (statement.step() != SqlStatement::Step::Row)
        return failed(statement.error());
    if (!statement.prepare(connection, "PRAGMA wal_checkpoint(TRUNCATE)", &why))
        return failed(why);
    if (statement.step() != SqlStatement::Step::Row)
        return failed(statement.error());
    if (statement.integer(0) != 0) {
        if (error)
            *error = tr("The database %1 is in use by another process.").arg(database);
        return false;
    }
    statement = SqlStatement();
    connection.close(); // the last connection removes the log
    return true;
}

// Removes the oldest of Moriva's backups beyond kMax, never `kept`. Through the folder's own
// descriptor: what is removed is what was looked at, inside this folder.
void rotate(const QString &folder, const QString &kept)
{
    const int dir = ::open(nativeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    struct Made {
        Name name;
        QString fileName;
    };
    QList<Made> made;
    const QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                     | QDir::NoDotAndDotDot);
    for (const QString &fileName : names) {
        const std::optional<Name> name = parseName(fileName);
        struct stat info{};
        if (!name || name->replaced || name->time > now
            || ::fstatat(dir, nativeName(fileName).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISREG(info.st_mode))
            continue;
        made.append({*name, fileName});
    }
    std::sort(made.begin(), made.end(), [](const Made &a, const Made &b) {
        return a.name.time != b.name.time ? a.name.time > b.name.time
                                          : a.name.sequence > b.name.sequence;
    });
    const QString keptName = QFileInfo(kept).fileName();
    for (qsizetype i = kMax; i < made.size(); ++i) {
        if (made.at(i).fileName != keptName)
            ::unlinkat(dir, nativeName(made.at(i).fileName).constData(), 0);
    }
    ::close(dir);
}

// The Backups folder, created 0700 when missing; never a link.
bool backupFolder(const QString &dataFolder, QString *folder, QString *error)
{
    *folder = folderOf(dataFolder);
    if (!DataFolder::refuseSymlink(*folder, error))
        return false;
    errno = 0;
    if (DataFolder::findOrCreate(*folder) && QFileInfo(*folder).isDir())
        return true;
    if (error)
        *error = errno != 0
            ? tr("Cannot create the backup folder %1: %2").arg(*folder, systemError())
            : tr("Cannot create the backup folder %1.").arg(*folder);
    return false;
}

} // namespace

qsizetype Backup::entriesOf(Bank bank) const
{
    for (const auto &[b, count] : entries) {
        if (b == bank)
            return count;
    }
    return -1;
}

QString folderOf(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("Backups"));
}

bool take(const QString &dataFolder, SqlConnection &database, QString *error, QString *taken)
{
    // SQLite's backup cannot read through a connection inside a write transaction (the first
    // change after a start takes its backup from within its own transaction): a connection of
    // its own reads the last committed state, which is the state before the change.
    if (!sqlite3_get_autocommit(database.handle())) {
        const QString path = QString::fromUtf8(sqlite3_db_filename(database.handle(), "main"));
        SqlConnection reader;
        QString why;
        if (!reader.open(path, SqlConnection::Access::ReadOnly, 5000, &why)) {
            if (error)
                *error = tr("Cannot open %1: %2").arg(path, why);
            return false;
        }
        return take(dataFolder, reader, error, taken);
    }
    QString folder;
    if (!backupFolder(dataFolder, &folder, error))
        return false;
    const QString temp = QDir(folder).filePath(QStringLiteral(".Moriva taking.sqlite"));
    removeLeftovers(temp);
    if (!DataFolder::createPrivateFile(temp, error))
        return false;
    QString made;
    const bool done = copyDatabase(database.handle(), temp, error)
        && linkAsNew(temp, folder, false, &made, error);
    removeLeftovers(temp);
    if (!done)
        return false;
    DataFolder::syncFolder(folder);
    if (taken)
        *taken = made;
    rotate(folder, made);
    return true;
}

bool take(const QString &dataFolder, QString *error, QString *taken)
{
    const QString path = DataFolder::databasePath(dataFolder);
    if (!DataFolder::refuseSymlink(path, error))
        return false;
    if (!QFileInfo::exists(path))
        return true;
    SqlConnection database;
    QString why;
    if (!database.open(path, SqlConnection::Access::ReadOnly, 5000, &why)) {
        if (error)
            *error = tr("Cannot open %1: %2").arg(path, why);
        return false;
    }
    return take(dataFolder, database, error, taken);
}

QList<Backup> list(const QString &dataFolder)
{
    const QString folder = folderOf(dataFolder);
    QList<std::pair<Name, Backup>> found;
    if (!DataFolder::refuseSymlink(folder, nullptr))
        return {};
    for (const QString &fileName : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        const std::optional<Name> name = parseName(fileName);
        Backup backup;
        backup.path = QDir(folder).filePath(fileName);
        if (!name || !isRegularFile(backup.path))
            continue;
        backup.time = name->time;
        backup.replaced = name->replaced;
        SqlConnection check;
        LedgerDatabase database;
        if (openMorivaDatabase(backup.path, Check::Quick, check, &backup.error)
            && database.open(backup.path, SqlConnection::Access::ReadOnly, &backup.error)) {
            for (const Bank bank : {Bank::Jnb, Bank::Ebank})
                backup.entries.append({bank, database.count(bank)});
        }
        found.append({*name, backup});
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        return a.first.time != b.first.time ? a.first.time > b.first.time
                                            : a.first.sequence > b.first.sequence;
    });
    QList<Backup> backups;
    for (const auto &[name, backup] : found)
        backups.append(backup);
    return backups;
}

void forgetUnfinishedRestore(const QString &dataFolder)
{
    struct stat live{};
    const QString folder = folderOf(dataFolder);
    if (::lstat(nativeName(DataFolder::databasePath(dataFolder)).constData(), &live) != 0
        || live.st_nlink < 2 || !DataFolder::refuseSymlink(folder, nullptr))
        return;
    for (const QString &file : QDir(folder).entryList({QStringLiteral("Moriva replaced *.sqlite")}, QDir::Files)) {
        struct stat kept{};
        const QString path = QDir(folder).filePath(file);
        if (::lstat(nativeName(path).constData(), &kept) == 0 && kept.st_ino == live.st_ino
            && kept.st_dev == live.st_dev)
            ::unlink(nativeName(path).constData());
    }
}

bool isSoundDatabase(const QString &path, QString *error)
{
    SqlConnection connection;
    return openMorivaDatabase(path, Check::Full, connection, error);
}

bool restore(const QString &dataFolder, const QString &backupPath, QString *error,
             QString *replacedPath)
{
    const QString database = DataFolder::databasePath(dataFolder);
    if (!DataFolder::refuseSymlink(database, error)
        || !DataFolder::refuseSymlink(folderOf(dataFolder), error))
        return false;
    struct stat backupInfo{}, databaseInfo{};
    const bool databaseExists = ::lstat(nativeName(database).constData(), &databaseInfo) == 0;
    if (databaseExists && !S_ISREG(databaseInfo.st_mode)) {
        if (error)
            *error = tr("%1 is not a file.").arg(database);
        return false;
    }
    if (databaseExists && ::stat(nativeName(backupPath).constData(), &backupInfo) == 0
        && backupInfo.st_dev == databaseInfo.st_dev && backupInfo.st_ino == databaseInfo.st_ino) {
        if (error)
            *error = tr("%1 is the database itself, not a backup.").arg(backupPath);
        return false;
    }

    // The new database is made whole beside the old one first: until the rename, nothing of
    // the old one has changed.
    SqlConnection backup;
    QString folder;
    if (!openMorivaDatabase(backupPath, Check::Full, backup, error)
        || !backupFolder(dataFolder, &folder, error))
        return false;
    const QString temp = QDir(dataFolder).filePath(QStringLiteral(".Moriva restoring.sqlite"));
    removeLeftovers(temp);
    if (!DataFolder::createPrivateFile(temp, error))
        return false;
    if (!copyDatabase(backup.handle(), temp, error, Journal::Wal)) {
        removeLeftovers(temp);
        return false;
    }
    backup.close();

    QString kept;
    if (databaseExists) {
        // A log or journal left beside the old file would be played onto the new one at its
        // first open: the old file is made to hold all of itself before it is replaced.
        bool unreadable = false;
        if (!settle(database, &unreadable, error)
            || !(linkAsNew(database, folder, true, &kept, nullptr)
                 || copyAsNew(database, folder, &kept, error))) {
            removeLeftovers(temp);
            return false;
        }
        DataFolder::makePrivate(kept, nullptr);
        if (unreadable) {
            // Not a database SQLite can open: what lies beside it goes with it, as it is.
            for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-journal")}) {
                if (isRegularFile(database + suffix))
                    ::rename(nativeName(database + suffix).constData(),
                             nativeName(kept + suffix).constData());
            }
            ::unlink(nativeName(database + QStringLiteral("-shm")).constData());
        }
        DataFolder::syncFolder(folder);
    }
    if (::rename(nativeName(temp).constData(), nativeName(database).constData()) != 0) {
        if (error)
            *error = tr("Cannot put the backup in place of %1: %2").arg(database, systemError());
        removeLeftovers(temp); // the old database stays, kept twice
        return false;
    }
    for (const QString &suffix : kCompanions)
        ::unlink(nativeName(database + suffix).constData());
    DataFolder::syncFolder(dataFolder);
    if (replacedPath)
        *replacedPath = kept;
    return true;
}

} // namespace Backups
