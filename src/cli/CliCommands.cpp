#include "CliCommands.h"

#include "CliOutput.h"
#include "GapFormats.h"
#include "ReportFormats.h"
#include "ledger/LedgerExport.h"
#include "ledger/LedgerOrdering.h"
#include "views/Controller.h"

#include <QCoreApplication>

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
    ~LedgerCloser() { controller.closeLedgerAtExit(); }
};

bool findDataFolder(Controller &c)
{
    if (c.openDataFolder())
        return true;
    printError(tr("Cannot find or create the data folder %1.").arg(DataFolder::defaultPath()));
    return false;
}

// Opens the ledger of the bank (none: the current bank); false (the reason on stderr) when it
// cannot be read.
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
    c.openLedger();
    if (!c.ledger().isOpen()) {
        if (c.ledger().error().isEmpty())
            printError(tr("The current bank (kind %1) is neither JNB nor eBANK; choose one with "
                          "--bank.")
                           .arg(int(c.bank())));
        else
            printError(c.ledger().error());
        return false;
    }
    return true;
}

// Opens the ledger of the selected bank and answers the list the selection shows, in its
// order; nothing (the reason on stderr) when the ledger cannot be read.
std::optional<QList<LedgerEntryPtr>> selectEntries(Controller &c, const ListSelection &sel)
{
    if (!openBankLedger(c, sel.bank))
        return std::nullopt;

    QList<LedgerEntryPtr> entries;
    if (sel.month != 0) {
        c.showMonth(sel.year, sel.month);
        entries = c.view().rows();
    } else if (sel.keyword) {
        // No hit leaves the whole ledger shown in the app; here it is an empty list.
        if (c.search(*sel.keyword) > 0)
            entries = c.view().rows();
    } else {
        entries = c.view().rows();
    }
    sortEntries(entries, sel.order.value_or(c.view().order()));
    return entries;
}

} // namespace

namespace {

// The first rejected lines of a file and how many more there were, on stderr.
void printRejectedLines(const QString &path, const ImportReport &report)
{
    constexpr qsizetype kShown = 20;
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
    c.openLedger();
    switch (c.ledger().state()) {
    case Ledger::State::Locked:
        printError(c.ledger().error());
        return false;
    case Ledger::State::Unreadable:
        // Files for this bank will not be imported; the archive is left as it is.
        printError(c.ledger().error());
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

    struct Imported {
        QString line;
        Bank bank;
    };
    QList<Imported> imported;
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
            imported.append({tr("%1: %2, %3 added, %4 duplicates, %5 rejected")
                                 .arg(path, bankName(report.bank))
                                 .arg(report.added)
                                 .arg(report.duplicates)
                                 .arg(report.rejected),
                             report.bank});
            break;
        case ImportReport::Unreadable:
        case ImportReport::Empty:
            printError(report.error);
            status = ExitFailure;
            break;
        case ImportReport::NotStatement:
        case ImportReport::LedgerUnavailable:
        case ImportReport::SwitchFailed:
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
    // What a file added is told once it is on disk. The other bank's ledger was saved when the
    // import switched away from it.
    const bool saved = c.saveLedger(&why);
    if (!saved) {
        printError(tr("The %1 ledger was not saved, so nothing imported into it was kept: %2")
                       .arg(bankName(c.ledger().bank()), why));
        status = ExitFailure;
    }
    for (const Imported &done : std::as_const(imported)) {
        if ((saved || done.bank != c.ledger().bank()) && !CliOutput::printLine(done.line))
            return ExitFailure;
    }
    return status;
}

int runList(const ListSelection &selection, ListFormat format)
{
    Controller c;
    LedgerCloser closer{c};
    const std::optional<QList<LedgerEntryPtr>> entries = selectEntries(c, selection);
    if (!entries)
        return ExitFailure;
    return writeList(*entries, format, CliOutput::writeOut) ? ExitSuccess : ExitFailure;
}

int runExport(const ListSelection &selection, const QString &outputPath)
{
    Controller c;
    LedgerCloser closer{c};
    const std::optional<QList<LedgerEntryPtr>> entries = selectEntries(c, selection);
    if (!entries)
        return ExitFailure;
    QString why;
    // In the encoding the app's "Save List" uses.
    if (!LedgerExport::save(outputPath, *entries, &why,
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
    ListSelection selection;
    selection.bank = bank;
    const std::optional<QList<LedgerEntryPtr>> entries = selectEntries(c, selection);
    if (!entries)
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
        PeriodReport::compute(c.ledger(), report.span, report.range);
    return CliOutput::writeOut(formatReport(periods, report.byKind, format)) ? ExitSuccess
                                                                            : ExitFailure;
}
