#include "StatementImporter.h"

#include "StatementLineParser.h"
#include "StatementText.h"
#include "ledger/EntryTextCache.h"

#include <QCoreApplication>

StatementImporter::Counts StatementImporter::importText(QStringView text, Bank bank)
{
    begin(bank);
    importPiece(text);
    return finish();
}

void StatementImporter::begin(Bank bank)
{
    m_counts = {};
    m_lineNumber = 0;
    m_bank = bank;
}

void StatementImporter::importPiece(QStringView text, bool readable)
{
    forEachStatementLine(text, [this, readable](QStringView line) { importLine(line, readable); });
}

void StatementImporter::reject(const QString &reason, QStringView line)
{
    ++m_counts.rejected;
    if (m_counts.rejectedLines.size() >= ImportReport::kMaxRejectedLines)
        return;
    QStringView start = line.left(RejectedLine::kTextLength);
    if (!start.isEmpty() && start.back().isHighSurrogate() && start.size() < line.size())
        start.chop(1); // never half a character
    m_counts.rejectedLines.append({m_lineNumber, reason, start.toString()});
}

void StatementImporter::importLine(QStringView line, bool readable)
{
    ++m_lineNumber;
    if (!readable && isUnreadableText(line)) {
        reject(QCoreApplication::translate("StatementImporter",
                                           "the line holds bytes that cannot be read as text"),
               line);
        return;
    }
    ParsedLine parsed = parseStatementLine(m_bank, line, EntryTextCache::instance());
    switch (parsed.outcome) {
    case LineOutcome::Header:
    case LineOutcome::Blank:
        return;
    case LineOutcome::Rejected:
        reject(parsed.reason, line);
        return;
    case LineOutcome::Entry:
        break;
    }
    if (!m_import)
        return;
    if (m_import->isDuplicateElseAdd(parsed.entry))
        ++m_counts.duplicates;
    else
        ++m_counts.added;
}
