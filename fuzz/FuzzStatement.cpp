// libFuzzer target: a statement file's bytes, imported into the JNB or the eBANK account of a
// ledger database (the first byte chooses). Every line the parser admits must be stored and
// read back as it was parsed, in the order of the file; the same file imported again must add
// nothing; the database must pass its own check.

#include "FuzzSupport.h"
#include "import/StatementImporter.h"
#include "import/StatementLineParser.h"
#include "import/StatementText.h"
#include "ledger/EntryTextCache.h"

#include <algorithm>

using FuzzSupport::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    LedgerDatabase &database = FuzzSupport::database();
    const Bank bank = data[0] % 2 == 0 ? Bank::Jnb : Bank::Ebank;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QString text = decodeStatementText(bytes);

    // What the lines give, parsed one by one as the importer reads them.
    QList<LedgerEntry> parsed;
    forEachStatementLine(QStringView(text), [&](QStringView line) {
        if (line.size() > StatementImporter::kMaxLineCharacters || isUnreadableText(line)
            || controlCharacterAt(line) >= 0)
            return;
        ParsedLine p = parseStatementLine(bank, line, EntryTextCache::instance());
        if (p.outcome == LineOutcome::Entry)
            parsed.append(std::move(p.entry));
    });

    StatementImporter::Counts first;
    {
        LedgerDatabase::Import import(database, bank);
        first = StatementImporter(&import).importText(text, bank);
        require(import.commit(nullptr));
    }
    // Read a piece at a time, as the window and the tool read a file, the lines give the same.
    {
        StatementImporter reader(nullptr);
        reader.begin(bank);
        const StatementDecoder decoder(bytes, 64);
        decoder.forEachPiece(
            [&reader](QStringView piece, bool clean) { reader.importPiece(piece, clean); },
            [&reader](QStringView start) { reader.rejectLongLine(start); });
        const StatementImporter::Counts pieces = reader.finish();
        require(pieces.rejected == first.rejected
                && pieces.rejectedLines.size() == first.rejectedLines.size());
        for (qsizetype i = 0; i < pieces.rejectedLines.size(); ++i)
            require(pieces.rejectedLines.at(i).number == first.rejectedLines.at(i).number
                    && pieces.rejectedLines.at(i).reason.size() < 200);
    }
    // Into an empty account nothing is a duplicate.
    require(first.added == parsed.size() && first.duplicates == 0);
    const QList<qint64> ids = database.entryIds(bank, EntryFilter::all(), Qt::AscendingOrder);
    require(ids.size() == parsed.size());
    QList<qint64> stored = ids;
    std::sort(stored.begin(), stored.end()); // the order they were stored in
    const QList<LedgerEntry> back = database.entries(stored);
    require(back.size() == parsed.size());
    for (qsizetype i = 0; i < back.size(); ++i)
        require(back.at(i).summary().size() <= kMaxFieldCharacters
                && controlCharacterAt(back.at(i).summary()) < 0
                && back.at(i).sameRecord(parsed.at(i))
                && LedgerDatabase::duplicateKey(back.at(i))
                    == LedgerDatabase::duplicateKey(parsed.at(i)));

    StatementImporter::Counts again;
    {
        LedgerDatabase::Import import(database, bank);
        again = StatementImporter(&import).importText(text, bank);
        require(import.commit(nullptr));
    }
    require(again.added == 0 && again.duplicates == first.added
            && again.rejected == first.rejected);
    require(database.check().isEmpty());
    FuzzSupport::empty(database, bank);
    return 0;
}
