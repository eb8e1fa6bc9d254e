#include "CliCommands.h"

#include "CliOutput.h"
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

QString dataFolder()
{
    Controller c;
    return c.openDataFolder() ? c.dataFolderPath() : QString();
}

} // namespace

int runListBackups(Bank)
{
    return ExitFailure; // interim until the database backups land
}

int runRestore(Bank, const QString &)
{
    return ExitFailure; // interim until the database backups land
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
