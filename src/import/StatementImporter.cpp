#include "StatementImporter.h"

#include "StatementFields.h"
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
    // Its start, shown beside the reason: short, and with no control character.
    m_counts.rejectedLines.append({m_lineNumber, reason, quotedExcerpt(line)});
}

static QString tooLong(QStringView start)
{
    return QCoreApplication::translate("StatementImporter",
                                       "the line is longer than 64 KiB (“%1”)")
        .arg(quotedExcerpt(start));
}

void StatementImporter::rejectLongLine(QStringView start)
{
    ++m_lineNumber;
    reject(tooLong(start), start);
}

void StatementImporter::importLine(QStringView line, bool readable)
{
    ++m_lineNumber;
    if (line.size() > kMaxLineCharacters) {
        reject(tooLong(line), line);
        return;
    }
    if (!readable && isUnreadableText(line)) {
        reject(QCoreApplication::translate("StatementImporter",
                                           "the line holds bytes that cannot be read as text"),
               line);
        return;
    }
    if (const qsizetype at = readable ? -1 : controlCharacterAt(line); at >= 0) {
        reject(QCoreApplication::translate("StatementImporter",
                                           "the line holds the control character U+%1")
                   .arg(QString::number(line[at].unicode(), 16).toUpper().rightJustified(4, u'0')),
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
