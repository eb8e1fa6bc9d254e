#include "CliCommands.h"

#include "CliOutput.h"
#include "ledger/Backups.h"
#include "ledger/DataFolder.h"
#include "views/Controller.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using CliOutput::printError;

namespace {

QString tr(const char *text, const char *disambiguation = nullptr, int n = -1)
{
    return QCoreApplication::translate("moriva-cli", text, disambiguation, n);
}

// The bank asked for, or the current one.
Bank chosenBank(Bank asked)
{
    return asked != Bank::None ? asked : Preferences::read().bank;
}

QString dataFolder()
{
    Controller c;
    return c.openDataFolder() ? c.dataFolderPath() : QString();
}

// The backup the user named (a path, or a name in the backup folder), or the newest readable
// one that Moriva took (not a database a restore replaced).
QString chooseBackup(const QString &folder, const QString &named, QString *error)
{
    if (!named.isEmpty()) {
        for (const QString &candidate : {named, QDir(Backups::folderOf(folder)).filePath(named)}) {
            if (QFileInfo(candidate).isFile())
                return candidate;
        }
        *error = tr("There is no backup %1.").arg(named);
        return QString();
    }
    for (const Backups::Backup &backup : Backups::list(folder)) {
        if (backup.isReadable() && !backup.replaced)
            return backup.path;
    }
    *error = tr("There is no readable backup of the ledger database.");
    return QString();
}

} // namespace

int runListBackups(Bank asked)
{
    const Bank bank = chosenBank(asked);
    const QString folder = dataFolder();
    QString why;
    if (!DataFolder::refuseSymlink(Backups::folderOf(folder), &why)) {
        printError(why);
        return ExitFailure;
    }
    QString out;
    for (const Backups::Backup &backup : Backups::list(folder)) {
        const QString state = backup.isReadable()
            ? tr("%n entries", nullptr, int(backup.entriesOf(bank)))
            : tr("unreadable: %1").arg(backup.error);
        out += QFileInfo(backup.path).fileName() + u'\t'
            + backup.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u'\t' + state + u'\n';
    }
    return CliOutput::writeOut(out.toUtf8()) ? ExitSuccess : ExitFailure;
}

int runRestore(Bank, const QString &named)
{
    Controller c;
    c.loadPreferences();
    if (!c.openDataFolder()) {
        printError(tr("Cannot find or create the data folder %1.").arg(DataFolder::defaultPath()));
        return ExitFailure;
    }
    c.openLedger(Controller::Access::Write);
    if (c.ledgerState() == Controller::LedgerState::Locked) {
        printError(c.ledgerError());
        return ExitFailure;
    }
    QString why;
    const QString backup = chooseBackup(c.dataFolderPath(), named, &why);
    QString replaced;
    if (backup.isEmpty() || !c.restoreBackup(backup, &why, &replaced)) {
        printError(why);
        c.closeLedger();
        return ExitFailure;
    }
    QString line = tr("The ledger database now holds %1 (JNB: %2, eBANK: %3).")
                       .arg(QFileInfo(backup).fileName(),
                            tr("%n entries", nullptr, int(c.database().count(Bank::Jnb))),
                            tr("%n entries", nullptr, int(c.database().count(Bank::Ebank))));
    if (!replaced.isEmpty())
        line += u' ' + tr("The database it replaced is kept as %1.").arg(replaced);
    c.closeLedger();
    return CliOutput::printLine(line) ? ExitSuccess : ExitFailure;
}

int runCheck()
{
    Controller c;
    if (!c.openDataFolder()) {
        printError(tr("Cannot find or create the data folder %1.").arg(DataFolder::defaultPath()));
        return ExitFailure;
    }
    c.openLedger(Controller::Access::Read);
    QString out;
    int status = ExitSuccess;
    for (const QString &problem : c.moveInProblems()) {
        out += problem + u'\n';
        status = ExitFailure;
    }
    if (!c.isLedgerOpen()) {
        out += tr("The ledger database is damaged: %1").arg(c.ledgerError()) + u'\n';
        status = ExitFailure;
    } else if (!c.database().isOpen()) {
        out += tr("No ledger database yet.") + u'\n';
    } else {
        const QStringList problems = c.database().check();
        for (const QString &problem : problems)
            out += tr("damaged: %1").arg(problem) + u'\n';
        if (!problems.isEmpty())
            status = ExitFailure;
        for (const Bank bank : {Bank::Jnb, Bank::Ebank})
            out += tr("%1: %n entries", nullptr, int(c.database().count(bank))).arg(Banks::name(bank))
                + u'\n';
        if (problems.isEmpty())
            out += tr("The ledger database is sound.") + u'\n';
    }
    c.closeLedger();
    return CliOutput::writeOut(out.toUtf8()) ? status : ExitFailure;
}
