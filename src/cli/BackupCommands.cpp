#include "CliCommands.h"

#include "CliOutput.h"
#include "ledger/Backups.h"
#include "ledger/DataFolder.h"
#include "ledger/LedgerArchive.h"
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

// The backup the user named (a path, or a name in the backup folder), or the newest readable.
QString chooseBackup(const QString &folder, Bank bank, const QString &named, QString *error)
{
    if (!named.isEmpty()) {
        for (const QString &candidate :
             {named, QDir(Backups::folderOf(folder)).filePath(named)}) {
            if (QFileInfo(candidate).isFile())
                return candidate;
        }
        *error = tr("There is no backup %1.").arg(named);
        return QString();
    }
    for (const Backups::Backup &backup : Backups::list(folder, bank)) {
        if (backup.isReadable())
            return backup.path;
    }
    *error = tr("There is no readable backup of the %1 ledger.").arg(Banks::name(bank));
    return QString();
}

} // namespace

int runListBackups(Bank asked)
{
    const Bank bank = chosenBank(asked);
    const QString folder = dataFolder();
    QString out;
    for (const Backups::Backup &backup : Backups::list(folder, bank)) {
        const QString state = backup.isReadable() ? tr("%n entries", nullptr, int(backup.entries))
                                                  : tr("unreadable: %1").arg(backup.error);
        out += QFileInfo(backup.path).fileName() + u'\t'
            + backup.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u'\t' + state + u'\n';
    }
    return CliOutput::writeOut(out.toUtf8()) ? ExitSuccess : ExitFailure;
}

int runRestore(Bank asked, const QString &named)
{
    Controller c;
    Preferences preferences = Preferences::read();
    preferences.bank = chosenBank(asked);
    c.setPreferences(preferences);
    if (!c.openDataFolder()) {
        printError(tr("Cannot find or create the data folder %1.").arg(DataFolder::defaultPath()));
        return ExitFailure;
    }
    c.openLedger();
    if (c.ledger().state() == Ledger::State::Locked) {
        printError(c.ledger().error());
        return ExitFailure;
    }
    QString why;
    const QString backup = chooseBackup(c.dataFolderPath(), c.bank(), named, &why);
    QString aside;
    if (backup.isEmpty() || !c.restoreBackup(backup, &why, &aside)) {
        printError(why);
        c.closeLedger();
        return ExitFailure;
    }
    QString line = tr("The %1 ledger now holds %2 (%n entries).", nullptr, int(c.ledger().size()))
                       .arg(Banks::name(c.bank()), QFileInfo(backup).fileName());
    if (!aside.isEmpty())
        line += u' ' + tr("The archive it replaced is kept as %1.").arg(aside);
    c.closeLedger();
    return CliOutput::printLine(line) ? ExitSuccess : ExitFailure;
}

int runCheck()
{
    const QString folder = dataFolder();
    int status = ExitSuccess;
    QString out;
    for (const Bank bank : {Bank::Jnb, Bank::Ebank}) {
        const QString path = QDir(folder).filePath(DataFolder::archiveFileName(bank));
        const LedgerArchive::CheckResult loaded = LedgerArchive::check(path);
        switch (loaded.status) {
        case LedgerArchive::LoadStatus::Missing:
            out += tr("%1: no archive yet").arg(Banks::name(bank));
            break;
        case LedgerArchive::LoadStatus::Loaded:
            out += tr("%1: sound, %n entries", nullptr, int(loaded.entries))
                       .arg(Banks::name(bank));
            break;
        case LedgerArchive::LoadStatus::Unreadable:
            out += tr("%1: damaged: %2").arg(Banks::name(bank), loaded.error);
            status = ExitFailure;
            break;
        }
        out += u'\n';
    }
    return CliOutput::writeOut(out.toUtf8()) ? status : ExitFailure;
}
