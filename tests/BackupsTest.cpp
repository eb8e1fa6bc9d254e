// Backups of the ledger archives: taken once per opened ledger before a save replaces the
// archive, at most ten a bank, listed with their entries, and restored over a damaged archive,
// which is set aside, never deleted.

#include "TestSupport.h"
#include "ledger/Backups.h"
#include "ledger/Ledger.h"
#include "ledger/LedgerArchive.h"
#include "views/Controller.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

LedgerEntryPtr entry(int day)
{
    LedgerEntryPtr e = LedgerEntry::create();
    e->setYear(2026);
    e->setMonth(3);
    e->setDay(day);
    e->setDate(u"2026/03/%1"_s.arg(day, 2, 10, QChar(u'0')));
    e->setSummary(u"振込 %1"_s.arg(day));
    e->setImportedSummary(e->summary());
    return e;
}

QString archiveOf(const QString &folder, Bank bank = Bank::Jnb)
{
    return QDir(folder).filePath(DataFolder::archiveFileName(bank));
}

ino_t inodeOf(const QString &path)
{
    struct stat info{};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_ino;
}

} // namespace

class BackupsTest : public QObject
{
    Q_OBJECT

private slots:
    void aSaveKeepsTheArchiveOnceAnOpenedLedger()
    {
        QTemporaryDir dir;
        Ledger ledger;
        ledger.open(dir.path(), Bank::Jnb);
        ledger.append(entry(1));
        ledger.append(entry(2));
        QString error;
        QVERIFY2(ledger.save(&error), qPrintable(error));
        QVERIFY(Backups::list(dir.path(), Bank::Jnb).isEmpty()); // nothing was there to keep

        ledger.open(dir.path(), Bank::Jnb);
        const ino_t before = inodeOf(archiveOf(dir.path()));
        QVERIFY(ledger.save(&error));
        QCOMPARE(inodeOf(archiveOf(dir.path())), before); // unchanged: not written again

        ledger.append(entry(3));
        QVERIFY(ledger.save(&error));
        ledger.append(entry(4));
        QVERIFY(ledger.save(&error));
        const QList<Backups::Backup> backups = Backups::list(dir.path(), Bank::Jnb);
        QCOMPARE(backups.size(), 1);
        QCOMPARE(backups.first().entries, 2); // the archive as it was when the ledger was opened
        QVERIFY(QDateTime::currentDateTime().secsTo(backups.first().time) <= 0);
        QCOMPARE(LedgerArchive::load(archiveOf(dir.path())).items.size(), 4);
    }

    void keepsTenABankNewestFirst()
    {
        QTemporaryDir dir;
        const QDir backups(Backups::folderOf(dir.path()));
        QVERIFY(backups.mkpath(u"."_s));
        for (int i = 0; i < 12; ++i)
            QVERIFY(writeTestFile(backups.filePath(u"BankbookArchive(JNB) 2026-01-%1 100000.mvrk"_s
                                                       .arg(i + 1, 2, 10, QChar(u'0'))),
                                  "garbage"));
        QVERIFY(writeTestFile(backups.filePath(u"BankbookArchive(eBANK) 2026-01-01 100000.mvrk"_s),
                              "garbage"));
        QVERIFY(writeTestFile(archiveOf(dir.path()),
                              LedgerArchive::encode({entry(1), entry(2), entry(3)})));
        QString error;
        QVERIFY2(Backups::keep(dir.path(), Bank::Jnb, archiveOf(dir.path()), &error),
                 qPrintable(error));

        const QList<Backups::Backup> jnb = Backups::list(dir.path(), Bank::Jnb);
        QCOMPARE(jnb.size(), Backups::kMaxPerBank);
        QCOMPARE(jnb.first().entries, 3); // the one just kept, newest
        QVERIFY(!jnb.at(1).isReadable());
        QVERIFY(!jnb.at(1).error.isEmpty());
        QCOMPARE(jnb.last().time.date(), QDate(2026, 1, 4)); // the three oldest went
        QCOMPARE(Backups::list(dir.path(), Bank::Ebank).size(), 1);
    }

    void restoreSetsTheDamagedArchiveAside()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(u"data"_s);
        std::unique_ptr<Controller> c = openTestController(data);
        c->importText(u"NBG.csv"_s, jnbLine(2026, 3, 5, 9, 0, 0, 1, u"ATM"_s, 1000, 0, 5000));
        QString error;
        QVERIFY(c->saveLedger(&error));
        c->closeLedger();
        const QByteArray good = readTestFile(archiveOf(data));
        QByteArray damaged = good;
        damaged[damaged.size() / 2] = char(damaged.at(damaged.size() / 2) ^ 0x20);
        QVERIFY(writeTestFile(archiveOf(data), damaged));
        QVERIFY(Backups::keep(data, Bank::Jnb, archiveOf(data), &error)); // a damaged backup
        const QString backup = QDir(Backups::folderOf(data)).filePath(u"BankbookArchive(JNB) 2000-01-01 000000.mvrk"_s);
        QVERIFY(writeTestFile(backup, good));

        c = openTestController(data);
        QCOMPARE(c->ledger().state(), Ledger::State::Unreadable);
        QVERIFY2(c->ledger().error().contains(u"checksum"_s), qPrintable(c->ledger().error()));
        QVERIFY(c->saveLedger(&error));
        QCOMPARE(readTestFile(archiveOf(data)), damaged); // never written over

        QString aside;
        QVERIFY2(c->restoreBackup(backup, &error, &aside), qPrintable(error));
        QCOMPARE(c->ledger().size(), 1);
        QCOMPARE(readTestFile(archiveOf(data)), good);
        QVERIFY(aside.startsWith(archiveOf(data) + u".damaged-"_s));
        QCOMPARE(readTestFile(aside), damaged);
    }
};

QTEST_GUILESS_MAIN(BackupsTest)
#include "BackupsTest.moc"
