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

QString bankName(int bank)
{
    switch (bank) {
    case 1:
        return QStringLiteral("JNB");
    case 2:
        return QStringLiteral("eBANK");
    default:
        return tr("no bank");
    }
}

// Lets go of the ledger and the lock whichever way a command ends.
struct LedgerCloser {
    Controller &controller;
    ~LedgerCloser() { controller.closeLedger(); }
};

bool findDataFolder(Controller &c)
{
    if (c.searchingApplicationSupportDirectory())
        return true;
    printError(tr("Cannot find or create the data folder %1.").arg(DataFolder::defaultPath()));
    return false;
}

// Opens the ledger of the selected bank and answers the list the selection shows, in its
// order; nothing (the reason on stderr) when the ledger cannot be read.
std::optional<QList<BalanceInfoItemPtr>> selectEntries(Controller &c, const ListSelection &sel)
{
    // The whole ledger unless a month or a keyword is asked for, whatever list the app showed.
    Preferences prefs = Preferences::read();
    prefs.tableViewKind = Controller::ActivityList;
    if (sel.bank != 0)
        prefs.currentBank = sel.bank;
    c.setupPreferences(prefs);
    if (!findDataFolder(c))
        return std::nullopt;
    c.openCurrentBankbookInfoArchive();
    if (!c.hasLedger()) {
        if (c.archiveError().isEmpty())
            printError(tr("The current bank (kind %1) is neither JNB nor eBANK; choose one with "
                          "--bank.")
                           .arg(c.currentBank()));
        else
            printError(c.archiveError());
        return std::nullopt;
    }

    QList<BalanceInfoItemPtr> entries;
    if (sel.month != 0) {
        c.setMonth(sel.year, sel.month);
        c.changeMonth(QString::number(sel.year), QString::number(sel.month));
        entries = c.shownList();
    } else if (sel.keyword) {
        // No hit leaves the whole ledger shown in the app; here it is an empty list.
        if (c.searchBalance(*sel.keyword) > 0)
            entries = c.shownList();
    } else {
        entries = c.shownList();
    }
    sortBalanceInfoItems(entries, sel.orderRule.value_or(c.listOrderRule()));
    return entries;
}

} // namespace

int runImport(const QStringList &files)
{
    Controller c;
    LedgerCloser closer{c};
    c.setupPreferences();
    if (!findDataFolder(c))
        return ExitFailure;
    c.openCurrentBankbookInfoArchive();
    switch (c.archiveState()) {
    case Controller::ArchiveState::Locked:
        printError(c.archiveError());
        return ExitFailure;
    case Controller::ArchiveState::Unreadable:
        // Files for this bank will not be imported; the archive is left as it is.
        printError(c.archiveError());
        break;
    default:
        break;
    }

    int status = ExitSuccess;
    for (const QString &path : files) {
        const ImportReport report = c.importBankbookFile(path);
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
    if (!c.updatePreferences(&why)) {
        printError(why);
        status = ExitFailure;
    }
    if (!c.saveBankbookInfoArchive(&why)) {
        printError(tr("The %1 ledger was not saved: %2").arg(bankName(c.openBank()), why));
        status = ExitFailure;
    }
    return status;
}

int runList(const ListSelection &selection, ListFormat format)
{
    Controller c;
    LedgerCloser closer{c};
    const std::optional<QList<BalanceInfoItemPtr>> entries = selectEntries(c, selection);
    if (!entries)
        return ExitFailure;
    CliOutput::writeOut(formatList(*entries, format));
    return ExitSuccess;
}

int runExport(const ListSelection &selection, const QString &outputPath)
{
    Controller c;
    LedgerCloser closer{c};
    const std::optional<QList<BalanceInfoItemPtr>> entries = selectEntries(c, selection);
    if (!entries)
        return ExitFailure;
    QString why;
    // In the encoding the app's "Save List" uses.
    if (!LedgerExport::saveBalanceInfo(outputPath, *entries, &why,
                                       LedgerExport::encodingFromInt(c.exportEncoding()))) {
        printError(why);
        return ExitFailure;
    }
    return ExitSuccess;
}
