#pragma once

#include "LedgerEntry.h"

#include <QList>

class QIODevice;
#include <QString>

// The file that keeps one bank's ledger between runs.
//
// Layout: an 8-byte magic ("MVRKLDGR"), a format version, then a QDataStream of: the table of
// distinct texts, the table of distinct byte arrays, the number of entries, and the entries as
// one block of variable-length integers (13 record numbers, then text and byte-array indices).
// Texts that are a function of an entry's numbers (its date, its time, its price strings) are
// flagged instead of stored when they agree with that function; absent byte arrays and empty
// texts have index 0. So the archive keeps every field of every entry while staying small and
// fast for a million entries. An end marker follows the records, and since format version 2 the
// CRC-32 of all the bytes before it (big-endian), so that damage anywhere is noticed.
namespace LedgerArchive {

// Version 2 ends with a checksum; version 1 archives are read and written anew as version 2.
inline constexpr quint32 kFormatVersion = 2;
inline constexpr quint32 kOldestReadableFormatVersion = 1;

enum class LoadStatus {
    Loaded,     // the file was read
    Missing,    // nothing at the path: a new, empty ledger
    Unreadable, // something is there but it is not a ledger archive Moriva can read
};

struct LoadResult {
    LoadStatus status = LoadStatus::Missing;
    QList<LedgerEntryPtr> items;
    QString error; // why the file could not be read
};

QByteArray encode(const QList<LedgerEntryPtr> &items);
// Writes what encode() gives, without building it in one buffer first.
bool writeTo(QIODevice *device, const QList<LedgerEntryPtr> &items);
// Fills items and answers true, or answers false with the reason in error.
bool decode(const QByteArray &data, QList<LedgerEntryPtr> *items, QString *error);

LoadResult load(const QString &path);
// Replaces the file atomically: on any failure the previous file stays as it was.
bool save(const QString &path, const QList<LedgerEntryPtr> &items, QString *error);

// True when anything (a file or a folder) exists at the path.
bool exists(const QString &path);

// Records the type code "mvrk" and creator code "MVRK" as extended attributes where the file
// system takes them; failures are ignored.
void tagFileType(const QString &path);

} // namespace LedgerArchive
