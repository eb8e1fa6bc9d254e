#include "TestSupport.h"
#include "ledger/LedgerArchive.h"

#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <sys/xattr.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

LedgerEntryPtr importedEntry(int day, const QString &summary, int payment, int balance)
{
    LedgerEntryPtr e = LedgerEntry::create();
    e->setYear(2026);
    e->setMonth(3);
    e->setDay(day);
    e->setHour(9);
    e->setMinute(5);
    e->setOrderNumber(day);
    e->setPayment(payment);
    e->setBalance(balance);
    e->setDate(QString::asprintf("2026/03/%02d", day));
    e->setTime(u"09:05:00"_s);
    e->setSummary(summary);
    e->setImportedSummary(summary);
    return e;
}

QList<LedgerEntryPtr> sampleLedger()
{
    QList<LedgerEntryPtr> items;
    items << importedEntry(5, u"ＡＴＭ　髙島屋①㈱～"_s, 1500, 800);
    items << importedEntry(6, u"ＡＴＭ　髙島屋①㈱～"_s, 1500, 800); // shares its texts

    LedgerEntryPtr edited = importedEntry(7, u"家賃"_s, 85000, -300);
    edited->setSummary(u"家賃（三月分）"_s);
    edited->setDetails(u"振込先: 大家さん\n二行目"_s);
    edited->setMarked(1);
    edited->setStatus(-2);
    edited->setSummaryKind(3);
    edited->setPaymentPrice(u"八万五千円"_s); // not the text the amount gives
    edited->setBalancePrice(u"-300円"_s);
    edited->setDepositPrice(u""_s);
    items << edited;

    LedgerEntryPtr reserved = importedEntry(8, u"Yahoo!"_s, 0, 2147483647);
    reserved->setTime(QString()); // eBANK lines have no time
    reserved->setDate(u"8 March"_s); // not the text the numbers give
    reserved->setOrderNumber(-2147483647 - 1);
    for (int i = 1; i <= 4; ++i)
        reserved->setReservedText(i, u"予備%1"_s.arg(i));
    reserved->setPicture(0, QByteArray("\x89PNG\0\x01", 6));
    reserved->setPicture(1, QByteArray("")); // empty, but present
    items << reserved;

    items << importedEntry(9, QString(), 0, 0);
    items.last()->setPicture(2, QByteArray(""));
    items.last()->setTime(u"25:61:61"_s);
    return items;
}

} // namespace

class LedgerArchiveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(u"BankbookArchive(JNB).mvrk"_s); }

private slots:
    void init() { QFile::remove(path()); }

    void roundTrip_data()
    {
        QTest::addColumn<QList<LedgerEntryPtr>>("items");
        QTest::newRow("no entries") << QList<LedgerEntryPtr>();
        QTest::newRow("entries") << sampleLedger();
    }
    void roundTrip()
    {
        QFETCH(QList<LedgerEntryPtr>, items);
        QString error;
        QVERIFY2(LedgerArchive::save(path(), items, &error), qPrintable(error));
        const LedgerArchive::LoadResult loaded = LedgerArchive::load(path());
        QCOMPARE(loaded.status, LedgerArchive::LoadStatus::Loaded);
        QCOMPARE(loaded.items.size(), items.size());
        for (qsizetype i = 0; i < items.size(); ++i)
            QVERIFY2(loaded.items.at(i)->sameRecord(*items.at(i)), qPrintable(QString::number(i)));
        if (!items.isEmpty()) { // the cases that are easy to lose, spelled out
            QVERIFY(!loaded.items.at(3)->picture(1).isNull());
            QVERIFY(loaded.items.at(3)->picture(2).isNull());
        }
    }

    void damagedFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = LedgerArchive::encode(sampleLedger());
        QByteArray flipped = good, flippedRecord = good;
        flipped[0] = 'm';
        flippedRecord[good.size() - 12] = char(0xff);
        QTest::newRow("truncated") << good.first(good.size() - 5);
        QTest::newRow("truncated after magic") << good.first(10);
        QTest::newRow("flipped magic") << flipped;
        QTest::newRow("flipped byte in records") << flippedRecord;
        QTest::newRow("trailing garbage") << good + "xyz";
        QTest::newRow("garbage") << QByteArray(600, '\xa5');
        QTest::newRow("foreign file") << QByteArray("<?xml version=\"1.0\"?>\n<plist/>\n");
        QTest::newRow("empty file") << QByteArray("");
    }
    void damagedFile()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(writeTestFile(path(), bytes));
        const LedgerArchive::LoadResult loaded = LedgerArchive::load(path());
        QCOMPARE(loaded.status, LedgerArchive::LoadStatus::Unreadable);
        QVERIFY(!loaded.error.isEmpty());
    }

    void folderAtPath()
    {
        QVERIFY(QDir().mkpath(path()));
        const LedgerArchive::LoadResult loaded = LedgerArchive::load(path());
        QVERIFY(QDir().rmdir(path()));
        QCOMPARE(loaded.status, LedgerArchive::LoadStatus::Unreadable);
        QVERIFY(!loaded.error.isEmpty());
    }

    void failedSaveKeepsPreviousFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"BankbookArchive(eBANK).mvrk"_s);
        QString error;
        QVERIFY(LedgerArchive::save(file, sampleLedger().mid(0, 2), &error));
        const QByteArray before = readTestFile(file);
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        {
            QFile probe(dir.filePath(u"probe"_s));
            if (probe.open(QIODevice::WriteOnly))
                QSKIP("The folder stays writable (running as root?)");
        }
        QVERIFY(!LedgerArchive::save(file, sampleLedger(), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readTestFile(file), before);
        QCOMPARE(LedgerArchive::load(file).items.size(), 2);
    }

    void extendedAttributes()
    {
#ifdef Q_OS_LINUX
        QString error;
        QVERIFY(LedgerArchive::save(path(), {}, &error));
        char value[16] = {};
        const QByteArray name = QFile::encodeName(path());
        const ssize_t n = ::getxattr(name.constData(), "user.moriva.type", value, sizeof value);
        if (n < 0 && (errno == ENOTSUP || errno == EPERM))
            QSKIP("The file system takes no user extended attributes");
        QCOMPARE(QByteArray(value, int(n)), QByteArray("mvrk"));
#else
        QSKIP("Extended attributes are checked on Linux only");
#endif
    }
};

QTEST_GUILESS_MAIN(LedgerArchiveTest)
#include "LedgerArchiveTest.moc"
