#include "CliCommands.h"

#include "CliOutput.h"
#include "GapFormats.h"
#include "ReportFormats.h"
#include "ledger/LedgerExport.h"
#include "views/Controller.h"

#include <QCoreApplication>

#include <memory>
#include <optional>

using CliOutput::printError;

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("moriva-cli", text);
}

QString bankName(Bank bank)
{
    return Banks::isBank(bank) ? Banks::name(bank) : tr("no bank");
}

// Lets go of the ledger and the lock whichever way a command ends.
struct LedgerCloser {
    Controller &controller;
    ~LedgerCloser() { controller.closeLedger(); }
};

bool findDataFolder(Controller &c)
{
    if (c.openDataFolder())
        return true;
    printError(tr("Cannot find or create the data folder %1.").arg(DataFolder::defaultPath()));
    return false;
}

// Opens the ledger for reading, on the bank asked for (none: the current bank); false (the
// reason on stderr) when it cannot be read.
bool openBankLedger(Controller &c, Bank bank)
{
    // The whole ledger, whatever list the app showed.
    Preferences prefs = Preferences::read();
    prefs.listMode = ListMode::Activity;
    if (bank != Bank::None)
        prefs.bank = bank;
    c.setPreferences(prefs);
    if (!findDataFolder(c))
        return false;
    if (!Banks::isBank(c.bank())) {
        printError(tr("The current bank (kind %1) is neither JNB nor eBANK; choose one with "
                      "--bank.")
                       .arg(int(c.bank())));
        return false;
    }
    c.openLedger(Controller::Access::Read);
    for (const QString &problem : c.moveInProblems())
        printError(problem);
    if (!c.isLedgerOpen()) {
        printError(c.ledgerError());
        return false;
    }
    return true;
}

// The entries the selection shows, in its order, read as they are written out. A second
// reading (a table measures its columns first) reads a short list again by id rather than
// searching the whole ledger again; a long one is walked again.
EntrySource selectedEntries(Controller &c, const ListSelection &sel)
{
    EntryFilter filter = EntryFilter::all();
    if (sel.month != 0)
        filter = EntryFilter::ofMonth(sel.year, sel.month);
    else if (sel.keyword)
        filter = EntryFilter::matching(*sel.keyword);
    const Qt::SortOrder order = sel.order.value_or(c.view().order());
    constexpr qsizetype kReadAgainById = 100000;
    auto seen = std::make_shared<std::optional<QList<qint64>>>();
    return [&c, filter, order, seen](const std::function<bool(const LedgerEntry &)> &visit) {
        const LedgerDatabase &db = c.database();
        if (!db.isOpen())
            return true;
        if (*seen && (*seen)->size() <= kReadAgainById) {
            for (qint64 id : std::as_const(**seen)) {
                const std::optional<LedgerEntry> e = db.entry(id);
                if (e && !visit(*e))
                    break;
            }
            return true;
        }
        QList<qint64> ids;
        QString why;
        const bool read = db.forEachEntry(c.bank(), filter, order, [&](const LedgerEntry &e) {
            if (ids.size() <= kReadAgainById)
                ids.append(e.id());
            return visit(e);
        }, &why);
        if (!read) {
            printError(why);
            return false;
        }
        seen->emplace(std::move(ids));
        return true;
    };
}

} // namespace

namespace {

// Each rejected line of a file, up to the 1,000 the report keeps, and how many more there
// were, on stderr.
void printRejectedLines(const QString &path, const ImportReport &report)
{
    constexpr qsizetype kShown = ImportReport::kMaxRejectedLines;
    for (qsizetype i = 0; i < report.rejectedLines.size() && i < kShown; ++i) {
        const RejectedLine &line = report.rejectedLines.at(i);
        printError(tr("%1: line %2: %3").arg(path).arg(line.number).arg(line.reason));
    }
    if (report.rejected > kShown)
        printError(tr("%1: %2 more lines rejected").arg(path).arg(report.rejected - kShown));
}

// Opens the ledger when the first statement has been read: the ledgers stay unlocked while a
// file is read. False when another process holds them.
bool openLedgerOnce(Controller &c, bool *opened)
{
    if (*opened)
        return true;
    *opened = true;
    c.openLedger(Controller::Access::Write);
    for (const QString &problem : c.moveInProblems())
        printError(problem);
    switch (c.ledgerState()) {
    case Controller::LedgerState::Locked:
        printError(c.ledgerError());
        return false;
    case Controller::LedgerState::Unreadable:
        // Nothing will be imported; the database is left as it is.
        printError(c.ledgerError());
        return true;
    default:
        return true;
    }
}

} // namespace

int runImport(const QStringList &files)
{
    Controller c;
    LedgerCloser closer{c};
    c.loadPreferences();
    if (!findDataFolder(c))
        return ExitFailure;

    int status = ExitSuccess;
    bool opened = false;
    for (const QString &path : files) {
        StatementFile file;
        const ImportReport read = Controller::readStatement(path, &file);
        if (read.status != ImportReport::Imported) {
            // An unreadable file's reason names it.
            printError(read.status == ImportReport::NotStatement
                           ? tr("%1: not imported: %2").arg(path, read.error)
                           : read.error);
            status = ExitFailure;
            continue;
        }
        if (!openLedgerOnce(c, &opened))
            return ExitFailure;
        const ImportReport report = c.importStatement(path, std::move(file));
        printRejectedLines(path, report);
        switch (report.status) {
        case ImportReport::Imported:
            // Each file is committed as it is imported: what it added is told at once.
            if (!CliOutput::printLine(tr("%1: %2, %3 added, %4 duplicates, %5 rejected")
                                          .arg(path, bankName(report.bank))
                                          .arg(report.added)
                                          .arg(report.duplicates)
                                          .arg(report.rejected)))
                return ExitFailure;
            break;
        case ImportReport::Unreadable:
        case ImportReport::Empty:
            printError(report.error);
            status = ExitFailure;
            break;
        case ImportReport::NotStatement:
        case ImportReport::LedgerUnavailable:
        case ImportReport::SwitchFailed:
        case ImportReport::NotSaved:
            printError(tr("%1: not imported: %2").arg(path, report.error));
            status = ExitFailure;
            break;
        }
    }

    QString why;
    if (!c.savePreferences(&why)) {
        printError(why);
        status = ExitFailure;
    }
    return status;
}

int runList(const ListSelection &selection, ListFormat format)
{
    Controller c;
    LedgerCloser closer{c};
    if (!openBankLedger(c, selection.bank))
        return ExitFailure;
    return writeList(selectedEntries(c, selection), format, CliOutput::writeOut) ? ExitSuccess
                                                                                 : ExitFailure;
}

int runExport(const ListSelection &selection, const QString &outputPath)
{
    Controller c;
    LedgerCloser closer{c};
    if (!openBankLedger(c, selection.bank))
        return ExitFailure;
    QList<LedgerEntry> entries;
    if (!selectedEntries(c, selection)([&entries](const LedgerEntry &e) {
            entries.append(e);
            return true;
        }))
        return ExitFailure;
    QString why;
    // In the encoding the app's "Save List" uses.
    if (!LedgerExport::save(outputPath, entries, &why,
                            LedgerExport::encodingFromInt(int(c.exportEncoding())))) {
        printError(why);
        return ExitFailure;
    }
    return ExitSuccess;
}

int runGaps(Bank bank, ListFormat format)
{
    Controller c;
    LedgerCloser closer{c};
    if (!openBankLedger(c, bank))
        return ExitFailure;
    return CliOutput::writeOut(formatGaps(c.balances(), format)) ? ExitSuccess : ExitFailure;
}

int runReport(Bank bank, const ReportSelection &report, ListFormat format)
{
    Controller c;
    LedgerCloser closer{c};
    if (!openBankLedger(c, bank))
        return ExitFailure;
    const QList<PeriodReport::Period> periods =
        PeriodReport::compute(c.database(), c.bank(), report.span, report.range);
    return CliOutput::writeOut(formatReport(periods, report.byKind, format)) ? ExitSuccess
                                                                            : ExitFailure;
}
