// Backups of the ledger database: taken through SQLite's backup API, rotated without touching
// what Moriva did not make, and restored only when sound, replacing the database so that a
// full disk or a kill leaves the old one or the new one, never none. (Their list, newest first
// with their entries, is seen through the tool's `backups` and the controller's first change.)
// Run with umask 0, the most open one: what Moriva creates must still be its user's alone.

#include "FileTestSupport.h"
#include "ledger/Backups.h"
#include "ledger/DataFolder.h"
#include "ledger/LedgerDatabase.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

bool addEntries(LedgerDatabase &database, Bank bank, int count)
{
    QList<LedgerEntry> entries;
    for (int i = 0; i < count; ++i)
        entries.append(entryAt(2026, 3, 1 + i % 28, 0, 0, 0, 0, u"振込 %1"_s.arg(i), 100 + i));
    QString error;
    return count == 0 || database.insertEntries(bank, entries, &error);
}

// A Moriva database at the path holding that many entries of each bank.
bool makeDatabase(const QString &path, int jnb, int ebank = 0)
{
    LedgerDatabase database;
    QString error;
    return DataFolder::findOrCreate(QFileInfo(path).absolutePath())
        && database.open(path, SqlConnection::Access::ReadWrite, &error)
        && addEntries(database, Bank::Jnb, jnb) && addEntries(database, Bank::Ebank, ebank);
}

// The same as a single file, as backups are.
bool makeBackupFile(const QString &path, int jnb, int ebank = 0)
{
    SqlConnection connection;
    return makeDatabase(path, jnb, ebank)
        && connection.open(path, SqlConnection::Access::ReadWrite, 0, nullptr)
        && connection.exec("PRAGMA journal_mode = DELETE", nullptr);
}

// The entries of each bank, or -1 when the database cannot be opened.
QPair<qsizetype, qsizetype> countsOf(const QString &path)
{
    LedgerDatabase database;
    if (!database.open(path, SqlConnection::Access::ReadOnly, nullptr))
        return {-1, -1};
    return {database.count(Bank::Jnb), database.count(Bank::Ebank)};
}

QString backupName(const QDateTime &time, const QString &suffix = QString())
{
    return u"Moriva "_s + time.toString(u"yyyy-MM-dd HHmmss"_s) + suffix + u".sqlite"_s;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Everything in the data folder and its Backups folder, each with its bytes.
QHash<QString, QByteArray> snapshot(const QString &dataFolder)
{
    QHash<QString, QByteArray> files;
    for (const QString &folder : {dataFolder, Backups::folderOf(dataFolder)}) {
        for (const QString &name : filesIn(folder))
            files.insert(QDir(folder).filePath(name), readTestFile(QDir(folder).filePath(name)));
    }
    return files;
}

} // namespace

class BackupsTest : public QObject
{
    Q_OBJECT

    mode_t m_umask = 0;

private slots:
    void initTestCase() { m_umask = ::umask(0); }
    void cleanupTestCase() { ::umask(m_umask); }

    void aBackupIsAWholeDatabaseOfItsOwn()
    {
        QTemporaryDir dir;
        const QString database = DataFolder::databasePath(dir.path());
        QVERIFY(makeDatabase(database, 3, 2));
        QString error, taken;
        QVERIFY(Backups::take(dir.path(), &error)); // through the file
        LedgerDatabase live;
        QVERIFY(live.open(database, SqlConnection::Access::ReadWrite, &error));
        QVERIFY(addEntries(live, Bank::Jnb, 4)); // in its log, not yet in its file
        QVERIFY2(Backups::take(dir.path(), live.connection(), &error, &taken), qPrintable(error));

        QCOMPARE(QFileInfo(taken).absolutePath(), QFileInfo(Backups::folderOf(dir.path())).absoluteFilePath());
        QCOMPARE(countsOf(taken), qMakePair(qsizetype(7), qsizetype(2)));
        QCOMPARE(modeOf(taken), 0600);
        QCOMPARE(modeOf(Backups::folderOf(dir.path())), 0700);
        QCOMPARE(filesIn(Backups::folderOf(dir.path())).size(), 2); // nothing beside them
    }

    // Backups taken in the same second each get a name of their own; nothing is written over.
    void theSameSecondGivesAnotherName()
    {
        QTemporaryDir dir;
        QVERIFY(makeDatabase(DataFolder::databasePath(dir.path()), 1));
        const QString folder = Backups::folderOf(dir.path());
        const QDateTime now = QDateTime::currentDateTime();
        QStringList before;
        for (int s = -1; s <= 3; ++s) { // whichever second the take falls in
            before << backupName(now.addSecs(s));
            QVERIFY(writeTestFile(QDir(folder).filePath(before.last()), "earlier"));
        }
        QString error, first, second;
        QVERIFY2(Backups::take(dir.path(), &error, &first), qPrintable(error));
        QVERIFY(Backups::take(dir.path(), &error, &second));
        QVERIFY(first != second);
        QVERIFY(QFileInfo(first).fileName().endsWith(u"-2.sqlite"_s));
        for (const QString &name : before)
            QCOMPARE(readTestFile(QDir(folder).filePath(name)), QByteArray("earlier"));
    }

    void rotationRemovesOnlyMorivasOldest_data()
    {
        QTest::addColumn<QStringList>("before"); // "dir:" a folder, "link:" a link to a file elsewhere
        QTest::addColumn<QStringList>("gone");
        const auto dated = [](int year, int month, int days, const QString &suffix = QString()) {
            QStringList names;
            for (int d = 1; d <= days; ++d)
                names << backupName(QDateTime(QDate(year, month, d), QTime(10, 0)), suffix);
            return names;
        };
        const QStringList january = dated(2026, 1, 12);
        QTest::newRow("the oldest beyond ten; ten dated 2099 not counted")
            << dated(2099, 1, 10) + january << january.first(3);
        const QStringList lookAlikes = {
            u"Moriva 2020 keep forever.sqlite"_s, u"Moriva 2020-01-01 000000.SQLITE"_s,
            u"moriva 2020-01-01 000000.sqlite"_s, u"Moriva 2020-01-01 000000.sqlite.bak"_s,
            u"Moriva 2020-02-30 000000.sqlite"_s, u"Moriva 2020-01-01 000000-1.sqlite"_s,
            u"Moriva replaced 2020-01-01 000000.sqlite"_s, u"Moriva 2020-01-01 000000.sqlite-wal"_s,
            u"dir:Moriva 2020-01-02 000000.sqlite"_s, u"link:Moriva 2020-01-03 000000.sqlite"_s};
        QTest::newRow("names Moriva does not give stay")
            << lookAlikes + january.first(11) << january.first(2);
        // Names of one second: "Moriva 2026-01-01 100000.sqlite", then "-2", "-3", "-10" added.
        const QString plain = dated(2026, 1, 1).first(), stem = plain.chopped(7);
        QTest::newRow("one second, in the order taken")
            << QStringList{stem + u"-3.sqlite"_s, stem + u"-2.sqlite"_s, stem + u"-10.sqlite"_s, plain}
                + dated(2026, 2, 8)
            << QStringList{plain, stem + u"-2.sqlite"_s, stem + u"-3.sqlite"_s};
    }
    void rotationRemovesOnlyMorivasOldest()
    {
        QFETCH(QStringList, before); QFETCH(QStringList, gone);
        QTemporaryDir dir;
        QVERIFY(makeDatabase(DataFolder::databasePath(dir.path()), 1));
        const QDir folder(Backups::folderOf(dir.path()));
        const QString elsewhere = dir.filePath(u"elsewhere.sqlite"_s);
        QVERIFY(writeTestFile(elsewhere, "not a backup"));
        QStringList names;
        for (const QString &item : before) {
            const QString name = item.section(u':', -1);
            names << name;
            if (item.startsWith(u"dir:"))
                QVERIFY(folder.mkpath(name));
            else if (item.startsWith(u"link:"))
                QVERIFY(QFile::link(elsewhere, folder.filePath(name)));
            else
                QVERIFY(writeTestFile(folder.filePath(name), "a backup"));
        }
        QString error, taken;
        QVERIFY2(Backups::take(dir.path(), &error, &taken), qPrintable(error));
        QVERIFY(QFileInfo::exists(taken));
        for (const QString &name : names)
            QVERIFY2(QFileInfo(folder.filePath(name)).exists() != gone.contains(name), qPrintable(name));
        QCOMPARE(readTestFile(elsewhere), QByteArray("not a backup"));
    }

    void linksAreNeverFollowed_data()
    {
        QTest::addColumn<QString>("link"); // relative to the data folder
        QTest::newRow("Backups") << u"Backups"_s;
        QTest::newRow("the database") << u"Moriva.sqlite"_s;
    }
    void linksAreNeverFollowed()
    {
        QFETCH(QString, link);
        QTemporaryDir dir;
        const QString data = dir.filePath(u"data"_s);
        const QString elsewhere = dir.filePath(u"elsewhere"_s);
        QVERIFY(makeDatabase(QDir(elsewhere).filePath(u"Moriva.sqlite"_s), 2));
        QVERIFY(makeDatabase(QDir(elsewhere).filePath(u"backup.sqlite"_s), 1));
        for (int d = 1; d <= 12; ++d)
            QVERIFY(writeTestFile(QDir(elsewhere).filePath(backupName(QDateTime(QDate(2026, 1, d), QTime()))), "x"));
        if (link != u"Moriva.sqlite")
            QVERIFY(makeDatabase(DataFolder::databasePath(data), 3));
        QVERIFY(DataFolder::findOrCreate(data));
        QVERIFY(QFile::link(elsewhere + (link == u"Backups" ? QString() : u"/Moriva.sqlite"_s),
                            QDir(data).filePath(link)));
        const QHash<QString, QByteArray> before = snapshot(elsewhere);

        QString error;
        QVERIFY(!Backups::take(dir.filePath(u"data"_s), &error));
        QVERIFY2(error.contains(QDir(data).filePath(link)), qPrintable(error));
        error.clear();
        QVERIFY(!Backups::restore(data, QDir(elsewhere).filePath(u"backup.sqlite"_s), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(snapshot(elsewhere), before);
    }

    void restoreRefusesWhatIsNotSound_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("random bytes") << u"random"_s;
        QTest::newRow("empty file") << u"empty"_s; // SQLite takes it for an empty database
        QTest::newRow("a database of something else") << u"foreign"_s;
        QTest::newRow("a newer Moriva's") << u"newer"_s;
        QTest::newRow("damaged pages") << u"damaged"_s;
        QTest::newRow("the database itself") << u"itself"_s;
    }
    void restoreRefusesWhatIsNotSound()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString database = DataFolder::databasePath(dir.path());
        QVERIFY(makeDatabase(database, 5));
        QString backup = dir.filePath(u"candidate.sqlite"_s);
        if (kind == u"random") {
            QByteArray bytes(40000, '\0');
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), 10000);
            QVERIFY(writeTestFile(backup, bytes));
        } else if (kind == u"empty") {
            QVERIFY(writeTestFile(backup, ""));
        } else if (kind == u"foreign" || kind == u"newer") {
            SqlConnection other;
            QVERIFY(other.open(backup, SqlConnection::Access::ReadWrite, 0, nullptr));
            QVERIFY(other.exec(kind == u"foreign" ? "CREATE TABLE notes (text TEXT)"
                                                  : "CREATE TABLE accounts (id INTEGER PRIMARY KEY);"
                                                    "CREATE TABLE entries (id INTEGER PRIMARY KEY);"
                                                    "PRAGMA user_version = 99",
                               nullptr));
        } else if (kind == u"damaged") {
            QVERIFY(makeBackupFile(backup, 2000));
            QByteArray bytes = readTestFile(backup);
            // One whole page in the middle, whatever the page size (header bytes 16-17, 1: 64 KiB).
            const int field = uchar(bytes.at(16)) << 8 | uchar(bytes.at(17));
            const int size = field == 1 ? 65536 : field;
            QVERIFY(bytes.size() >= 4 * size);
            bytes.replace(bytes.size() / size / 2 * size, size, QByteArray(size, char(0xa5)));
            QVERIFY(writeTestFile(backup, bytes));
        } else if (kind == u"itself") {
            backup = database;
        }
        const QHash<QString, QByteArray> before = snapshot(dir.path());
        QString error;
        QVERIFY(!Backups::restore(dir.path(), backup, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(snapshot(dir.path()).keys(), before.keys());
        QCOMPARE(snapshot(dir.path()), before);
    }

    // A restore killed after keeping the old database by a second name in Backups but before
    // putting the backup in place: that name goes, the database stays; a true replaced one stays.
    void anUnfinishedRestoreIsForgotten()
    {
        QTemporaryDir dir;
        const QString database = DataFolder::databasePath(dir.path());
        QVERIFY(makeDatabase(database, 3, 1));
        QString error, taken;
        QVERIFY(Backups::take(dir.path(), &error, &taken));
        const QString folder = Backups::folderOf(dir.path());
        const QString twin = QDir(folder).filePath(u"Moriva replaced 2026-01-02 030405.sqlite"_s);
        const QString older = QDir(folder).filePath(u"Moriva replaced 2025-01-02 030405.sqlite"_s);
        QCOMPARE(::link(QFile::encodeName(database).constData(), QFile::encodeName(twin).constData()), 0);
        QVERIFY(QFile::copy(taken, older));
        Backups::forgetUnfinishedRestore(dir.path());
        QVERIFY(!QFileInfo::exists(twin));
        QVERIFY(QFileInfo::exists(older) && QFileInfo::exists(database));
        QCOMPARE(countsOf(database), qMakePair(qsizetype(3), qsizetype(1)));
    }

    void restorePutsTheBackupInPlace()
    {
        QTemporaryDir dir;
        const QString database = DataFolder::databasePath(dir.path());
        QVERIFY(makeDatabase(database, 3, 1));
        QString error, taken, replaced;
        QVERIFY(Backups::take(dir.path(), &error, &taken));
        {
            LedgerDatabase live;
            QVERIFY(live.open(database, SqlConnection::Access::ReadWrite, &error));
            QVERIFY(addEntries(live, Bank::Jnb, 5));
        }
        QVERIFY2(Backups::restore(dir.path(), taken, &error, &replaced), qPrintable(error));
        // Already in WAL mode (bytes 18 and 19 of the header): its first open writes no journal
        // that a kill could leave behind for readers to trip over.
        QCOMPARE(readTestFile(database).mid(18, 2), QByteArray("\x02\x02", 2));
        QCOMPARE(countsOf(database), qMakePair(qsizetype(3), qsizetype(1)));
        QCOMPARE(countsOf(replaced), qMakePair(qsizetype(8), qsizetype(1)));
        QCOMPARE(modeOf(database), 0600);
        QCOMPARE(modeOf(replaced), 0600);
        QCOMPARE(countsOf(taken).first, 3); // the backup stays as it was
        // Nothing beside it but what a reader of a WAL database makes (the restored file is
        // ready for the ledger: no journal is written beside it once it is in place).
        QStringList files = filesIn(dir.path());
        files.removeAll(u"Moriva.sqlite-wal"_s);
        files.removeAll(u"Moriva.sqlite-shm"_s);
        QCOMPARE(files, QStringList({u"Backups"_s, u"Moriva.sqlite"_s}));
    }

    // What SQLite keeps beside the old database belongs to the old file: played onto the new
    // one at its first open, it would mix the two. It stays with the database it belongs to.
    void whatLiesBesideTheOldDatabaseStaysWithIt_data()
    {
        QTest::addColumn<QString>("beside");
        QTest::newRow("a log not yet checkpointed") << u"log"_s;
        QTest::newRow("the journal of a transaction cut short") << u"journal"_s;
    }
    void whatLiesBesideTheOldDatabaseStaysWithIt()
    {
        QFETCH(QString, beside);
        QTemporaryDir dir;
        const QString database = DataFolder::databasePath(dir.path());
        const QString backup = dir.filePath(u"backup.sqlite"_s);
        QVERIFY(makeBackupFile(backup, 3));
        QVERIFY(makeDatabase(database, 5));
        if (beside == u"journal") {
            // A process killed in the middle of a large transaction: pages already written into
            // the file, the journal that undoes them beside it.
            const pid_t child = ::fork();
            if (child == 0) {
                SqlConnection cut;
                cut.open(database, SqlConnection::Access::ReadWrite, 0, nullptr);
                cut.exec("PRAGMA journal_mode = DELETE; PRAGMA cache_size = 2; BEGIN; "
                         "CREATE TABLE filler (x); DELETE FROM entries", nullptr);
                for (int i = 0; i < 500; ++i)
                    cut.exec("INSERT INTO filler VALUES (randomblob(1000))", nullptr);
                ::_exit(0);
            }
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(QFileInfo(database + u"-journal"_s).size() > 0);
        } else {
            // Two more entries in the log only, as a process killed before a checkpoint leaves.
            LedgerDatabase old;
            QString error;
            QVERIFY(old.open(database, SqlConnection::Access::ReadWrite, &error));
            QVERIFY(old.connection().exec("PRAGMA wal_autocheckpoint = 0", nullptr));
            QCOMPARE(sqlite3_db_config(old.connection().handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr), SQLITE_OK);
            QVERIFY(addEntries(old, Bank::Jnb, 2));
            QVERIFY(QFileInfo(database + u"-wal"_s).size() > 0);
        }

        QString error, replaced;
        QVERIFY2(Backups::restore(dir.path(), backup, &error, &replaced), qPrintable(error));
        QVERIFY2(Backups::isSoundDatabase(database, &error), qPrintable(error));
        QCOMPARE(countsOf(database).first, 3);
        QVERIFY2(Backups::isSoundDatabase(replaced, &error), qPrintable(error));
        // With what its log held, or as it was before the transaction cut short.
        QCOMPARE(countsOf(replaced).first, beside == u"log" ? 7 : 5);
    }

    // A full disk while the backup is copied: the old database stays, with nothing left over.
    void aFullDiskLeavesTheOldDatabase()
    {
        QTemporaryDir dir;
        const QString database = DataFolder::databasePath(dir.path());
        const QString backup = dir.filePath(u"backup.sqlite"_s);
        QVERIFY(makeBackupFile(backup, 2000));
        QVERIFY(makeDatabase(database, 5));
        QVERIFY(Backups::take(dir.path(), nullptr)); // the Backups folder exists
        const QHash<QString, QByteArray> before = snapshot(dir.path());
        QVERIFY(QFileInfo(backup).size() > 64 * 1024);
        QString restoreError, takeError;
        bool restored = true, took = true;
        LedgerDatabase big;
        QVERIFY(big.open(backup, SqlConnection::Access::ReadOnly, nullptr));
        {
            FileSizeLimit limit(16 * 1024);
            QVERIFY(limit.isSet());
            restored = Backups::restore(dir.path(), backup, &restoreError);
            took = Backups::take(dir.path(), big.connection(), &takeError);
        }
        QVERIFY(!restored && !restoreError.isEmpty());
        QVERIFY(!took && !takeError.isEmpty());
        QCOMPARE(snapshot(dir.path()), before);
        QCOMPARE(countsOf(database).first, 5);
    }
};

QTEST_GUILESS_MAIN(BackupsTest)
#include "BackupsTest.moc"
