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

    QTemporaryDir m_dir;

private slots:
    void oneHolderAtATime()
    {
        DataFolderLock first(m_dir.path()), second(m_dir.path());
        QString error;
        QVERIFY(first.acquire(0, &error) && first.acquire(0, &error)); // the second time: held already
        QVERIFY(!second.acquire(0, &error) && !second.isLocked());
        QVERIFY2(error.contains(first.lockFilePath()), qPrintable(error));
        first.release();
        QVERIFY2(second.acquire(0, &error), qPrintable(error));
    }

    void staleLockIsTakenOver()
    {
        DataFolderLock lock(m_dir.path()); // its file made to name a process that is gone
        QVERIFY(lock.acquire(0, nullptr));
        QByteArray info = readTestFile(lock.lockFilePath());
        lock.release();
        qint64 dead = 999999;
        while (::kill(pid_t(dead), 0) == 0 || errno != ESRCH)
            ++dead;
        QVERIFY(writeTestFile(lock.lockFilePath(), info.replace(0, info.indexOf('\n'), QByteArray::number(dead))));
        QVERIFY(lock.acquire(0, nullptr));
        QCOMPARE(readTestFile(lock.lockFilePath()).split('\n').at(0).toLongLong(),
                 QCoreApplication::applicationPid());
    }
};

QTEST_GUILESS_MAIN(DataFolderLockTest)
#include "DataFolderLockTest.moc"
