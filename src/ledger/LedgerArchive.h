#pragma once

#include "LedgerEntry.h"

#include <QList>

class QIODevice;
#include <QString>

// The file that keeps one bank's ledger between runs.
//
// Since format version 3 the file is laid out as the entries lie in memory (see ArchiveLayout.h):
// a loaded archive is mapped and its entries are read where they lie, so opening a ledger of a
// million entries makes none of them one by one. Each distinct summary is kept once, in a table
// of texts; what an entry rarely holds (texts that differ from what its numbers give, details,
// reserved fields) follows the records. The file ends with an end marker and the CRC-32 of all
// the bytes before it (big-endian), so that damage anywhere is noticed. Versions 1 and 2 (tables
// as a QDataStream, records as variable-length integers) are read and written anew as version 3.
namespace LedgerArchive {

inline constexpr quint32 kFormatVersion = 3;
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
    bool olderVersion = false; // written by an earlier Moriva: read entry by entry, every time
};

QByteArray encode(const QList<LedgerEntryPtr> &items);
// Writes what encode() gives, without building it in one buffer first.
bool writeTo(QIODevice *device, const QList<LedgerEntryPtr> &items);
// Fills items and answers true, or answers false with the reason in error.
bool decode(const QByteArray &data, QList<LedgerEntryPtr> *items, QString *error);

// Reads the archive; its entries stay valid for as long as the process runs.
LoadResult load(const QString &path);
// Whether the archive can be read and how many entries it holds, keeping nothing of it.
struct CheckResult {
    LoadStatus status = LoadStatus::Missing;
    qsizetype entries = 0;
    QString error;
};
CheckResult check(const QString &path);
// Replaces the file atomically: on any failure the previous file stays as it was.
bool save(const QString &path, const QList<LedgerEntryPtr> &items, QString *error);

// True when anything (a file or a folder) exists at the path.
bool exists(const QString &path);

// Records the type code "mvrk" and creator code "MVRK" as extended attributes where the file
// system takes them; failures are ignored.
void tagFileType(const QString &path);

} // namespace LedgerArchive
