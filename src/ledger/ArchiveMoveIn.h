#pragma once

#include "Bank.h"

#include <QList>
#include <QString>

class LedgerDatabase;

// Moves the archive files of earlier versions ("BankbookArchive(JNB).mvrk", formats 1 to 3)
// into the ledger database, once: every entry with every field, in the stored order, both
// banks in one transaction; then each archive file goes into Backups unchanged, never deleted.
//
// An archive that cannot be read, or whose entries hold a date or time no day has (a month 13,
// a year 0, an hour 24), is not moved in: it stays where it is and its outcome says why, while
// the other bank's archive still moves in. The database records each archive it took in by its
// SHA-256 (the moved_in table): an archive found again, because a kill came between the commit
// and the move of the file, is only moved into Backups.
namespace ArchiveMoveIn {

struct Outcome {
    enum class State {
        MovedIn,        // its entries are in the database now
        AlreadyMovedIn, // the database held them already
        Refused,        // damaged: not moved in, the file stays
        Failed,         // the database could not take it in (message says why); the file stays
    };
    Bank bank = Bank::None;
    QString archivePath;
    State state = State::Failed;
    qsizetype entries = 0;
    QString keptAs;  // where the file is now, in Backups; empty while it stays in place
    QString message; // why it was not moved in, or why its file is still in place
};

// Whether the data folder holds an archive file of either bank.
bool hasArchives(const QString &dataFolder);

// Moves the data folder's archives into the database (open for writing); one outcome for each
// archive found.
QList<Outcome> run(const QString &dataFolder, LedgerDatabase &database);

} // namespace ArchiveMoveIn
