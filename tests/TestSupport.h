#pragma once

// Small helpers shared by the core's tests.

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringEncoder>
#include <QStringList>

#include "FileTestSupport.h"

// The text as the banks deliver it: CP932 (Shift_JIS with Microsoft's extensions).
inline QByteArray toCp932(const QString &text)
{
    QStringEncoder encoder("windows-31j");
    return encoder.isValid() ? QByteArray(encoder.encode(text)) : QByteArray();
}

// One JNB statement line, every field quoted as the bank writes it.
inline QString jnbLine(int y, int mo, int d, int h, int mi, int s, int order, const QString &summary,
                       int payment, int deposit, int balance)
{
    QStringList fields;
    for (int v : {y, mo, d, h, mi, s, order})
        fields << QString::number(v);
    fields << summary << QString::number(payment) << QString::number(deposit)
           << QString::number(balance);
    return u'"' + fields.join(QStringLiteral("\",\"")) + u'"';
}

// One eBANK statement line: the date as eight digits, a signed amount, the balance, the summary.
inline QString ebankLine(int y, int mo, int d, int amount, int balance, const QString &summary)
{
    return QStringLiteral("\"%1\",\"%2\",\"%3\",\"%4\"")
        .arg(QDate(y, mo, d).toString(u"yyyyMMdd"))
        .arg(amount)
        .arg(balance)
        .arg(summary);
}

#include "import/StatementImporter.h"
#include "ledger/LedgerDatabase.h"
#include "views/Controller.h"

#include <algorithm>
#include <memory>

// How many entries of the bank the data folder's database holds, read as another program reads
// it; -1 when it cannot be read.
inline qsizetype storedEntryCount(const QString &dataFolder, Bank bank)
{
    LedgerDatabase db;
    if (!db.open(QDir(dataFolder).filePath(LedgerDatabase::fileName()),
                 SqlConnection::Access::ReadOnly, nullptr))
        return -1;
    return db.count(bank);
}

// A ledger database on a fresh file in the folder; false with the reason when it cannot be made.
inline bool openTestDatabase(LedgerDatabase &database, const QString &folder, QString *error)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return database.open(QDir(folder).filePath(LedgerDatabase::fileName()),
                         SqlConnection::Access::ReadWrite, error);
}

// Imports the text as one statement file of the bank, committed whole: the importer's counts,
// or none added when the commit failed.
inline StatementImporter::Counts importTestStatement(LedgerDatabase &database, Bank bank,
                                                     const QString &text, QString *error = nullptr)
{
    LedgerDatabase::Import import(database, bank);
    StatementImporter::Counts counts = StatementImporter(&import).importText(text, bank);
    if (!import.commit(error))
        counts.added = 0;
    return counts;
}

// A fresh ledger in the folder with each file imported in turn: eBANK when it starts with
// "eBANK", else JNB; with newestFirst, each file's lines are listed the other way round.
inline bool importTestFiles(LedgerDatabase &database, const QString &folder,
                            const QStringList &files, bool newestFirst = false)
{
    QString error;
    bool ok = openTestDatabase(database, folder, &error);
    for (qsizetype i = 0; ok && i < files.size(); ++i) {
        const bool isEbank = files[i].startsWith(u"eBANK");
        QStringList lines = (isEbank ? files[i].mid(5) : files[i]).split(u'\n');
        if (newestFirst)
            std::reverse(lines.begin(), lines.end());
        importTestStatement(database, isEbank ? Bank::Ebank : Bank::Jnb, lines.join(u'\n'), &error);
        ok = error.isEmpty();
    }
    if (!ok)
        qWarning("%s", qPrintable(error));
    return ok;
}

// A controller keeping its ledgers in the folder, with the bank's ledger open.
inline std::unique_ptr<Controller> openTestController(const QString &folder,
                                                     Bank bank = Bank::Jnb)
{
    auto c = std::make_unique<Controller>();
    c->setDataFolderPath(folder);
    c->setLockTimeoutMs(0);
    Preferences p;
    p.bank = bank;
    c->setPreferences(p);
    if (c->openDataFolder())
        c->openLedger();
    return c;
}
