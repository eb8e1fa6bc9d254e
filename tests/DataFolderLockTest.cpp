#include "TestSupport.h"
#include "ledger/DataFolder.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>

using namespace Qt::StringLiterals;

class DataFolderLockTest : public QObject
{
    Q_OBJECT

private slots:
    void secondLockFails()
    {
        QTemporaryDir dir;
        DataFolderLock first(dir.path());
        QString error;
        QVERIFY2(first.acquire(0, &error), qPrintable(error));
        QVERIFY(first.isLocked());
        QVERIFY(first.acquire(0, &error)); // holding it already

        DataFolderLock second(dir.path());
        QVERIFY(!second.acquire(0, &error));
        QVERIFY(!second.isLocked());
        QVERIFY2(error.contains(first.lockFilePath()), qPrintable(error));

        first.release();
        QVERIFY(!first.isLocked());
        QVERIFY2(second.acquire(0, &error), qPrintable(error));
    }

    void controllerReportsLockedLedger()
    {
        QTemporaryDir dir;
        DataFolderLock other(dir.path());
        QString error;
        QVERIFY(other.acquire(0, &error));
        const auto c = openTestController(dir.path());
        QCOMPARE(c->archiveState(), Controller::ArchiveState::Locked);
        QVERIFY(c->archiveError().contains(other.lockFilePath()));
        const ImportReport r = c->importBankbookText(u"/x/NBG.csv"_s, u"2026,1,1,0,0,0,0,A,1,0,1"_s);
        QCOMPARE(r.status, ImportReport::LedgerUnavailable);
    }

    void staleLockIsTakenOver()
    {
        QTemporaryDir dir;
        DataFolderLock probe(dir.path());
        QString error;
        QVERIFY(probe.acquire(0, &error));
        // The lock file as QLockFile writes it: pid, application, host, and what follows.
        QList<QByteArray> lines = readTestFile(probe.lockFilePath()).split('\n');
        probe.release();
        QVERIFY(!QFile::exists(probe.lockFilePath()));
        QVERIFY(lines.size() >= 3);
        QCOMPARE(lines.at(0).toLongLong(), QCoreApplication::applicationPid());

        qint64 dead = 999999;
        while (::kill(pid_t(dead), 0) == 0 || errno != ESRCH)
            ++dead;
        lines[0] = QByteArray::number(dead);
        lines[1] = "moriva";
        QVERIFY(writeTestFile(probe.lockFilePath(), lines.join('\n')));

        DataFolderLock lock(dir.path());
        QVERIFY2(lock.acquire(0, &error), qPrintable(error));
        QCOMPARE(readTestFile(lock.lockFilePath()).split('\n').at(0).toLongLong(),
                 QCoreApplication::applicationPid());
    }
};

QTEST_GUILESS_MAIN(DataFolderLockTest)
#include "DataFolderLockTest.moc"
