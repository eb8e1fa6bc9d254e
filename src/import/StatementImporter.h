#pragma once

#include "ImportReport.h"
#include "ledger/Bank.h"

#include <QStringView>

class Ledger;

// Reads the lines of one bank's statement into a ledger, leaving out the lines the ledger
// already holds. The k-th line of a key is a duplicate only when the ledger held at least k
// entries of that key before the statement was read: two real, identical operations in one
// statement both stay, while a statement imported twice adds nothing the second time.
class StatementImporter
{
public:
    struct Counts {
        int added = 0;
        int duplicates = 0;
        int rejected = 0;
        QList<RejectedLine> rejectedLines; // the first ImportReport::kMaxRejectedLines of them
    };

    explicit StatementImporter(Ledger &ledger)
        : m_ledger(ledger)
    {
    }

    // Reads every line of the text as a line of the bank's statement. The new entries are
    // appended; sorting the ledger is left to the caller.
    Counts importText(QStringView text, Bank bank);

    // The same in pieces of whole lines (a statement decoded a piece at a time): begin(), then
    // importPiece() for each piece in order, then finish(). expectedLines, about how many
    // lines the whole statement holds, makes room for them at once.
    void begin(Bank bank, qsizetype expectedLines);
    // readable: the piece is known to hold no unreadable character (see StatementDecoder).
    void importPiece(QStringView text, bool readable = false);
    Counts finish();

private:
    void importLine(QStringView line, bool readable);
    void reject(const QString &reason);

    Ledger &m_ledger;
    Counts m_counts;
    qsizetype m_lineNumber = 0;
    Bank m_bank = Bank::None;
    bool m_intoEmptyLedger = false;
    bool m_sessionStarted = false;
};
