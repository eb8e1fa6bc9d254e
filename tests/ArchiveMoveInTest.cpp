// Moving the archive files of earlier versions into the ledger database: both banks in one
// transaction, in the stored order, each archive once; the files go into Backups unchanged,
// and a damaged archive stays where it is while the other bank's still moves in.

#include "FileTestSupport.h"
#include "ledger/ArchiveFormat.h"
#include "ledger/ArchiveMoveIn.h"
#include "ledger/LedgerArchive.h"
#include "ledger/Backups.h"
#include "ledger/DataFolder.h"
#include "ledger/LedgerDatabase.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>

using namespace Qt::StringLiterals;
using State = ArchiveMoveIn::Outcome::State;

Q_DECLARE_METATYPE(ArchiveMoveIn::Outcome::State)

namespace {

QByteArray fixture(const char *name)
{
    return readTestFile(QStringLiteral(MORIVA_TEST_DATA "/") + QLatin1StringView(name));
}

QString archiveOf(const QString &folder, Bank bank)
{
    return QDir(folder).filePath(DataFolder::archiveFileName(bank));
}

// An archive's body (all but its last four bytes) with its checksum made anew.
QByteArray resealedArchive(const QByteArray &body)
{
    QByteArray checksum(4, '\0');
    qToBigEndian(LedgerArchive::checksumOf(body.constData(), body.size()), checksum.data());
    return body + checksum;
}

// The version 3 fixture with bytes of its first record replaced and its checksum made anew.
QByteArray v3With(qsizetype recordOffset, QByteArrayView bytes)
{
    const QByteArray v3 = fixture("ledger-v3.mvrk");
    const auto count = [&v3](int i) { return qFromLittleEndian<quint32>(v3.constData() + 12 + 4 * i); };
    const qsizetype records = (36 + count(0) * 4 + count(1) * 2 + 3) / 4 * 4;
    return resealedArchive(v3.first(v3.size() - 4).replace(records + recordOffset, bytes.size(), bytes.toByteArray()));
}

// The version 3 fixture with a text's UTF-16 characters replaced and its checksum made anew.
QByteArray v3WithText(const QString &text, const QString &replacement)
{
    const auto utf16 = [](const QString &t) {
        return QByteArray(reinterpret_cast<const char *>(t.utf16()), t.size() * 2);
    };
    const QByteArray v3 = fixture("ledger-v3.mvrk");
    return resealedArchive(v3.first(v3.size() - 4).replace(utf16(text), utf16(replacement)));
}

// A text column of the bank's entries in the order they were stored (their ids).
QStringList storedTexts(LedgerDatabase &database, Bank bank, const char *column)
{
    const QByteArray sql = "SELECT " + QByteArray(column) + " FROM entries WHERE account = ? ORDER BY id";
    SqlStatement query;
    query.prepare(database.connection(), sql.constData());
    query.bind(1, qint64(bank));
    QStringList summaries;
    while (query.step() == SqlStatement::Step::Row)
        summaries << query.text(0);
    return summaries;
}

QStringList movedInHashes(LedgerDatabase &database)
{
    SqlStatement query;
    query.prepare(database.connection(), "SELECT archive_sha256 FROM moved_in ORDER BY account");
    QStringList hashes;
    while (query.step() == SqlStatement::Step::Row)
        hashes << query.text(0);
    return hashes;
}

} // namespace

class ArchiveMoveInTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LedgerDatabase m_database;

    void openDatabase()
    {
        QString error;
        QVERIFY2(m_database.open(DataFolder::databasePath(m_dir.path()), SqlConnection::Access::ReadWrite, &error),
                 qPrintable(error));
    }

private slots:
    void init()
    {
        m_database.setBeforeFirstChange({}); // a test's hook must not outlive its test
        m_database.close();
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(DataFolder::findOrCreate(m_dir.path()));
        openDatabase();
    }

    void bothBanksMoveInAndTheirFilesIntoBackups()
    {
        // Earlier versions kept an eBANK line's terminator at the end of its summary: it is
        // dropped, the rest moves in; a note keeps the lines the user wrote.
        const QByteArray jnb = fixture("ledger-v3.mvrk"), ebank = v3WithText(u"利息"_s, u"利\n"_s);
        QVERIFY(writeTestFile(archiveOf(m_dir.path(), Bank::Jnb), jnb));
        QVERIFY(writeTestFile(archiveOf(m_dir.path(), Bank::Ebank), ebank));
        QVERIFY(ArchiveMoveIn::hasArchives(m_dir.path()));
        const QList<ArchiveMoveIn::Outcome> outcomes = ArchiveMoveIn::run(m_dir.path(), m_database);
        QCOMPARE(outcomes.size(), 2);
        for (const ArchiveMoveIn::Outcome &o : outcomes)
            QVERIFY2(o.state == State::MovedIn && o.message.isEmpty(), qPrintable(o.message));
        const QStringList summaries{u"ＡＴＭ　髙島屋①㈱～"_s, u"家賃（三月分）"_s, u"給与振込"_s, u"利息"_s};
        QCOMPARE(storedTexts(m_database, Bank::Jnb, "summary"), summaries);
        QCOMPARE(storedTexts(m_database, Bank::Ebank, "summary"), summaries.first(3) << u"利"_s);
        QCOMPARE(storedTexts(m_database, Bank::Ebank, "note"), storedTexts(m_database, Bank::Jnb, "note"));
        QCOMPARE(movedInHashes(m_database).size(), 2);

        QVERIFY(!ArchiveMoveIn::hasArchives(m_dir.path()));
        QCOMPARE(readTestFile(outcomes.at(0).keptAs), jnb);
        QCOMPARE(readTestFile(outcomes.at(1).keptAs), ebank);
        QVERIFY(ArchiveMoveIn::run(m_dir.path(), m_database).isEmpty()); // nothing left to move in
    }

    // Every field of every entry comes out of the database as the archive held it, in the
    // stored order: marks, edited summaries, notes, order numbers, price and time texts,
    // reserved texts and pictures.
    void everyFieldMovesIn()
    {
        QVERIFY(writeTestFile(archiveOf(m_dir.path(), Bank::Jnb), fixture("ledger-v3.mvrk")));
        const QList<LedgerEntry> archived = LedgerArchive::read(archiveOf(m_dir.path(), Bank::Jnb)).entries;
        QCOMPARE(archived.size(), 4);
        QCOMPARE(ArchiveMoveIn::run(m_dir.path(), m_database).value(0).state, State::MovedIn);
        QList<qint64> ids = m_database.entryIds(Bank::Jnb, EntryFilter::all(), Qt::AscendingOrder);
        std::sort(ids.begin(), ids.end()); // the stored order
        const QList<LedgerEntry> stored = m_database.entries(ids);
        QCOMPARE(stored.size(), archived.size());
        for (qsizetype i = 0; i < stored.size(); ++i) {
            const LedgerEntry &e = stored.at(i), &a = archived.at(i);
            QVERIFY2(e.sameRecord(a), qPrintable(QString::number(i)));
        }
    }

    void aDamagedArchiveStaysAndTheOtherMovesIn_data()
    {
        QTest::addColumn<QByteArray>("jnb");
        const QByteArray v3 = fixture("ledger-v3.mvrk");
        QTest::newRow("a flipped bit") << QByteArray(v3).replace(200, 1, "\xff");
        QTest::newRow("year 10000") << v3With(4, "\x10\x27");
        QTest::newRow("month 13") << v3With(6, "\x0d");
        QTest::newRow("hour 24") << v3With(8, "\x18");
        QTest::newRow("days beyond every range (v2)") << fixture("ledger-v2.mvrk");
        QTest::newRow("an entry of zeros (v1)") << fixture("ledger-v1.mvrk");
        // Texts that break the entry rules: no stored text holds a control character.
        QTest::newRow("a NUL in a summary") << v3WithText(u"利息"_s, u"利\u0000"_s);
    }
    void aDamagedArchiveStaysAndTheOtherMovesIn()
    {
        QFETCH(QByteArray, jnb);
        const QString jnbPath = archiveOf(m_dir.path(), Bank::Jnb);
        QVERIFY(writeTestFile(jnbPath, jnb));
        QVERIFY(writeTestFile(archiveOf(m_dir.path(), Bank::Ebank), fixture("ledger-v3.mvrk")));
        const QList<ArchiveMoveIn::Outcome> outcomes = ArchiveMoveIn::run(m_dir.path(), m_database);
        QCOMPARE(outcomes.size(), 2);
        QCOMPARE(outcomes.at(0).state, State::Refused);
        QVERIFY2(outcomes.at(0).message.contains(jnbPath), qPrintable(outcomes.at(0).message));
        QCOMPARE(readTestFile(jnbPath), jnb); // where it was, as it was
        QCOMPARE(m_database.count(Bank::Jnb), 0);
        QCOMPARE(outcomes.at(1).state, State::MovedIn);
        QCOMPARE(m_database.count(Bank::Ebank), 4);
        QCOMPARE(movedInHashes(m_database).size(), 1);
    }

    // As the window and the tool open it: the backup taken before the first change is taken
    // from within the move-in's transaction and holds the database as it was before.
    void theBackupBeforeMovingInHoldsTheDatabaseBefore()
    {
        QString taken;
        m_database.setBeforeFirstChange([&](QString *why) {
            return Backups::take(m_dir.path(), m_database.connection(), why, &taken);
        });
        QVERIFY(writeTestFile(archiveOf(m_dir.path(), Bank::Jnb), fixture("ledger-v3.mvrk")));
        QCOMPARE(ArchiveMoveIn::run(m_dir.path(), m_database).value(0).state, State::MovedIn);
        LedgerDatabase backup;
        QVERIFY(backup.open(taken, SqlConnection::Access::ReadOnly, nullptr));
        QCOMPARE(backup.count(Bank::Jnb), 0);
    }

    // The database takes both archives or neither: an entry it refuses leaves no entry of the
    // other bank behind, and both files where they are.
    void bothOrNeither()
    {
        QVERIFY(writeTestFile(archiveOf(m_dir.path(), Bank::Jnb), fixture("ledger-v3.mvrk")));
        QVERIFY(writeTestFile(archiveOf(m_dir.path(), Bank::Ebank), v3With(12, "\x0b")));
        QVERIFY(m_database.connection().exec(
            "CREATE TEMP TRIGGER refuse BEFORE INSERT ON entries WHEN NEW.account = 2 "
            "BEGIN SELECT RAISE(ABORT, 'refused for the test'); END",
            nullptr));
        const QList<ArchiveMoveIn::Outcome> outcomes = ArchiveMoveIn::run(m_dir.path(), m_database);
        QCOMPARE(outcomes.size(), 2);
        for (const ArchiveMoveIn::Outcome &o : outcomes)
            QCOMPARE(o.state, State::Failed);
        QCOMPARE(m_database.count(Bank::Jnb), 0);
        QVERIFY(movedInHashes(m_database).isEmpty());
        QVERIFY(QFileInfo::exists(archiveOf(m_dir.path(), Bank::Jnb)));
        QVERIFY(QFileInfo::exists(archiveOf(m_dir.path(), Bank::Ebank)));
    }

    // A kill after the commit, before the file moved: the next start finds the archive again
    // and only moves its file, beside the one already in Backups.
    void anArchiveFoundAgainIsNotMovedInTwice()
    {
        const QByteArray jnb = fixture("ledger-v3.mvrk");
        QVERIFY(writeTestFile(archiveOf(m_dir.path(), Bank::Jnb), jnb));
        const QString first = ArchiveMoveIn::run(m_dir.path(), m_database).value(0).keptAs;
        QVERIFY(writeTestFile(archiveOf(m_dir.path(), Bank::Jnb), jnb)); // as if never moved
        m_database.close();
        openDatabase(); // the next start

        const QList<ArchiveMoveIn::Outcome> again = ArchiveMoveIn::run(m_dir.path(), m_database);
        QCOMPARE(again.value(0).state, State::AlreadyMovedIn);
        QCOMPARE(m_database.count(Bank::Jnb), 4);
        QVERIFY(!again.at(0).keptAs.isEmpty() && again.at(0).keptAs != first);
        QCOMPARE(readTestFile(first), jnb);
        QCOMPARE(readTestFile(again.at(0).keptAs), jnb);
        QVERIFY(!ArchiveMoveIn::hasArchives(m_dir.path()));
    }
};

QTEST_GUILESS_MAIN(ArchiveMoveInTest)
#include "ArchiveMoveInTest.moc"
