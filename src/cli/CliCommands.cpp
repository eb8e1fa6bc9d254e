#include "CliCommands.h"

#include "CliOutput.h"
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
    ~LedgerCloser() { controller.closeLedger(); }
};

bool findDataFolder(Controller &c)
{
    if (c.openDataFolder())
        return true;
    printError(tr("Cannot find or create the data folder %1.").arg(DataFolder::defaultPath()));
    return false;
}

// Opens the ledger of the selected bank and answers the list the selection shows, in its
// order; nothing (the reason on stderr) when the ledger cannot be read.
std::optional<QList<LedgerEntryPtr>> selectEntries(Controller &c, const ListSelection &sel)
{
    // The whole ledger unless a month or a keyword is asked for, whatever list the app showed.
    Preferences prefs = Preferences::read();
    prefs.listMode = ListMode::Activity;
    if (sel.bank != Bank::None)
        prefs.bank = sel.bank;
    c.setPreferences(prefs);
    if (!findDataFolder(c))
        return std::nullopt;
    c.openLedger();
    if (!c.ledger().isOpen()) {
        if (c.ledger().error().isEmpty())
            printError(tr("The current bank (kind %1) is neither JNB nor eBANK; choose one with "
                          "--bank.")
                           .arg(int(c.bank())));
        else
            printError(c.ledger().error());
        return std::nullopt;
    }

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

int runImport(const QStringList &files)
{
    Controller c;
    LedgerCloser closer{c};
    c.loadPreferences();
    if (!findDataFolder(c))
        return ExitFailure;
    c.openLedger();
    switch (c.ledger().state()) {
    case Ledger::State::Locked:
        printError(c.ledger().error());
        return ExitFailure;
    case Ledger::State::Unreadable:
        // Files for this bank will not be imported; the archive is left as it is.
        printError(c.ledger().error());
        break;
    default:
        break;
    }

    int status = ExitSuccess;
    for (const QString &path : files) {
        const ImportReport report = c.importFile(path);
        switch (report.status) {
        case ImportReport::Imported:
            CliOutput::printLine(tr("%1: %2, %3 added, %4 duplicates, %5 rejected")
                                     .arg(path, bankName(report.bank))
                                     .arg(report.added)
                                     .arg(report.duplicates)
                                     .arg(report.rejected));
            break;
        case ImportReport::Unreadable:
        case ImportReport::Empty:
            printError(report.error); // the reason names the file
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
    if (!c.saveLedger(&why)) {
        printError(tr("The %1 ledger was not saved: %2").arg(bankName(c.ledger().bank()), why));
        status = ExitFailure;
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
    CliOutput::writeOut(formatList(*entries, format));
    return ExitSuccess;
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
