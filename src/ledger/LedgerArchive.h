#pragma once

#include "LedgerEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The files that kept one bank's ledger each before the ledger database
// ("BankbookArchive(JNB).mvrk"), formats 1 to 3. Moriva only reads them now, once, to move
// them into the database; nothing writes them any more.
//
// Every version starts with the magic "MVRKLDGR" and the format version (big-endian).
// Version 1 holds the tables as a QDataStream and each record as variable-length integers;
// version 2 is the same with the CRC-32 of all the bytes before it at the end (big-endian);
// version 3 (see LedgerArchiveV3.cpp) keeps 32-byte records and a table of summaries, and the
// same checksum. Whatever the bytes, reading ends with the entries or with a reason.
namespace LedgerArchive {

inline constexpr quint32 kNewestFormatVersion = 3;
inline constexpr quint32 kOldestFormatVersion = 1;

enum class Status {
    Loaded,     // the file was read
    Missing,    // nothing at the path
    Unreadable, // something is there, but not an archive Moriva can read (error says why)
};

struct ReadResult {
    Status status = Status::Missing;
    QList<LedgerEntry> entries; // in the order the file stores them
    QString error;
    quint32 formatVersion = 0;
};

// Reads the whole file into memory and decodes it.
ReadResult read(const QString &path);
// Decodes an archive's bytes: true with the entries in stored order, or false with the reason.
bool decode(const QByteArray &bytes, QList<LedgerEntry> *entries, QString *error,
            quint32 *formatVersion = nullptr);

} // namespace LedgerArchive
