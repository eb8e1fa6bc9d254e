#include "StatementImporter.h"

#include "StatementLineParser.h"
#include "StatementText.h"
#include "ledger/EntryTextCache.h"
#include "ledger/Ledger.h"

#include <QCoreApplication>

#include <algorithm>

StatementImporter::Counts StatementImporter::importText(QStringView text, Bank bank)
{
    begin(bank, std::count(text.utf16(), text.utf16() + text.size(), char16_t(u'\n')) + 1);
    importPiece(text);
    return finish();
}

void StatementImporter::begin(Bank bank, qsizetype expectedLines)
{
    m_counts = {};
    m_lineNumber = 0;
    m_bank = bank;
    m_sessionStarted = false;
    m_intoEmptyLedger = m_ledger.isOpen() && m_ledger.isEmpty();
    if (m_intoEmptyLedger) {
        // A first import: no line can be a duplicate, so the index is built when the next
        // import needs it; and room is made once rather than line by line.
        m_ledger.reserve(expectedLines);
        m_ledger.invalidateDuplicates();
    }
}

void StatementImporter::importPiece(QStringView text, bool readable)
{
    forEachStatementLine(text, [this, readable](QStringView line) { importLine(line, readable); });
}

StatementImporter::Counts StatementImporter::finish()
{
    if (m_sessionStarted)
        m_ledger.duplicates().endSession();
    m_sessionStarted = false;
    return std::move(m_counts);
}

void StatementImporter::reject(const QString &reason)
{
    ++m_counts.rejected;
    if (m_counts.rejectedLines.size() < ImportReport::kMaxRejectedLines)
        m_counts.rejectedLines.append({m_lineNumber, reason});
}

void StatementImporter::importLine(QStringView line, bool readable)
{
    ++m_lineNumber;
    if (!readable && isUnreadableText(line)) {
        reject(QCoreApplication::translate("StatementImporter",
                                           "the line holds bytes that cannot be read as text"));
        return;
    }
    const ParsedLine parsed = parseStatementLine(m_bank, line, EntryTextCache::instance());
    switch (parsed.outcome) {
    case LineOutcome::Header:
    case LineOutcome::Blank:
        return;
    case LineOutcome::Rejected:
        reject(parsed.reason);
        return;
    case LineOutcome::Entry:
        break;
    }
    if (!m_ledger.isOpen())
        return;
    if (!m_intoEmptyLedger) {
        DuplicateIndex &index = m_ledger.duplicates();
        if (!m_sessionStarted) {
            index.beginSession();
            m_sessionStarted = true;
        }
        if (index.admitLine(*parsed.entry)) {
            ++m_counts.duplicates;
            return;
        }
    }
    m_ledger.append(parsed.entry);
    ++m_counts.added;
}
