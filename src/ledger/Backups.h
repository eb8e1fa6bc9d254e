#pragma once

#include "Bank.h"

#include <QDateTime>
#include <QList>
#include <QString>

// Earlier versions of the ledger archives, kept in the data folder's "Backups" folder as
// "BankbookArchive(JNB) 2026-12-07 093005.mvrk" (eBANK alike), at most kMaxPerBank a bank.
// A damaged archive can be replaced by one of them; the damaged file is set aside, never deleted.
namespace Backups {

inline constexpr int kMaxPerBank = 10;

struct Backup {
    QString path;
    QDateTime time;         // when the backup was taken
    qsizetype entries = -1; // -1 when the backup cannot be read
    QString error;          // why it cannot be read
    bool isReadable() const { return entries >= 0; }
};

QString folderOf(const QString &dataFolder);
// Keeps the archive as it is now as the bank's newest backup, then removes the oldest beyond
// kMaxPerBank. Nothing to keep (no archive) is no failure.
bool keep(const QString &dataFolder, Bank bank, const QString &archivePath, QString *error);
// The bank's backups, newest first, each read to tell its entries.
QList<Backup> list(const QString &dataFolder, Bank bank);
// Sets the archive aside as "<archive>.damaged-YYYYMMDD-HHMMSS" (when there is one; its new
// path in `aside`) and puts a copy of the backup in its place.
bool restore(const QString &archivePath, const QString &backupPath, QString *error,
             QString *aside = nullptr);

} // namespace Backups
