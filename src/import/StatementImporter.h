#pragma once

#include "ImportReport.h"
#include "ledger/Bank.h"
#include "ledger/LedgerDatabase.h"

#include <QStringView>

// Reads the lines of one bank's statement into an import of the ledger database, leaving out
// the lines the ledger already holds. The k-th line of a key is a duplicate only when the ledger
// held at least k entries of that key before the statement was read: two real, identical
// operations in one statement both stay, while a statement imported twice adds nothing the
// second time. Without an import (the ledger is not open) the lines are only read.
class StatementImporter
{
public:
    struct Counts {
        int added = 0;
        int duplicates = 0;
        int rejected = 0;
        QList<RejectedLine> rejectedLines; // the first ImportReport::kMaxRejectedLines of them
    };

    explicit StatementImporter(LedgerDatabase::Import *import)
        : m_import(import)
    {
    }

    // Reads every line of the text as a line of the bank's statement.
    Counts importText(QStringView text, Bank bank);

    // The same in pieces of whole lines (a statement decoded a piece at a time): begin(), then
    // importPiece() for each piece in order, then finish().
    void begin(Bank bank);
    // readable: the piece is known to hold no unreadable character (see StatementDecoder).
    void importPiece(QStringView text, bool readable = false);
    // A line too long to be decoded (see StatementDecoder), of which start is the beginning.
    void rejectLongLine(QStringView start);
    // A line longer than this (in characters) is rejected unread.
    static constexpr qsizetype kMaxLineCharacters = qsizetype(64) << 10;
    Counts finish() { return std::move(m_counts); }

private:
    void importLine(QStringView line, bool readable);
    void reject(const QString &reason, QStringView line);

    LedgerDatabase::Import *m_import;
    Counts m_counts;
    qsizetype m_lineNumber = 0;
    Bank m_bank = Bank::None;
};
