#pragma once

#include "Bank.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <utility>

class SqlConnection;

// Earlier states of the ledger database, kept in the data folder's "Backups" folder as
// "Moriva 2026-12-07 093005.sqlite" (local time; "Moriva 2026-12-07 093005-2.sqlite" for a
// second one in the same second), at most kMax of them. They are made with SQLite's backup API,
// so a backup is a whole, consistent database even while another process writes.
//
// Rotation removes only backups Moriva made: a regular file directly inside Backups whose name
// is exactly that pattern with a time that has come. A name dated in the future was not made by
// Moriva (or by a clock since set right) and is never removed, so ten backups dated 2099 cannot
// evict the one taken today. A restore keeps the database it replaces as
// "Moriva replaced 2026-12-07 093005.sqlite", which rotation never removes.
//
// Callers hold the data folder's lock: two processes must not take or restore at once.
namespace Backups {

inline constexpr int kMax = 10;

struct Backup {
    QString path;
    QDateTime time;        // when it was taken, as its name tells
    bool replaced = false; // a database a restore replaced
    QList<std::pair<Bank, qsizetype>> entries; // per bank, when it can be read
    QString error;         // why it cannot be read; empty when it can
    bool isReadable() const { return error.isEmpty(); }
    qsizetype entriesOf(Bank bank) const;
};

QString folderOf(const QString &dataFolder);

// Writes the database as the connection sees it into a new backup, then removes the oldest of
// Moriva's backups beyond kMax. The new backup's path goes to `taken`.
bool take(const QString &dataFolder, SqlConnection &database, QString *error,
          QString *taken = nullptr);
// The same from the data folder's database file, opened read-only. No database yet is nothing
// to keep, and no failure.
bool take(const QString &dataFolder, QString *error, QString *taken = nullptr);

// The backups, replaced databases among them, newest first, each read for its entries.
QList<Backup> list(const QString &dataFolder);

// A restore cut short between keeping the database it replaces and putting the backup in place
// leaves that database both live and among the backups (one file by two names): the second name
// goes. Callers hold the data folder's lock.
void forgetUnfinishedRestore(const QString &dataFolder);

// Whether the file is a Moriva database that can be put in place: SQLite finds it intact, its
// schema version is one this Moriva knows, and its tables are there.
bool isSoundDatabase(const QString &path, QString *error);

// Puts the backup in place of the data folder's database, once it is found sound: a kill or a
// full disk at any moment leaves the old database or the new one, never none. The database it
// replaced is kept in Backups (its path in `replacedPath`). No connection may be open on the
// database meanwhile, the caller's own included.
bool restore(const QString &dataFolder, const QString &backupPath, QString *error,
             QString *replacedPath = nullptr);

} // namespace Backups
