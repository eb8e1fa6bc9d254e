#include "TestSupport.h"
#include "ledger/Backups.h"
#include "ledger/Ledger.h"
#include "ledger/ArchiveFormat.h"
#include "ledger/LedgerArchive.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

// Entries with every kind of field an archive must keep, the easily lost ones among them.
static QList<LedgerEntryPtr> sampleLedger()
{
    QList<LedgerEntryPtr> items{LedgerEntry::create(), LedgerEntry::create(), LedgerEntry::create()};
    for (const LedgerEntryPtr &e : items) {
        e->setPayment(1500);
        e->setDate(u"2026/03/05"_s);
        e->setReservedText(0, u"ＡＴＭ　髙島屋①㈱～"_s); // the imported summary
    }
    LedgerEntry &edited = *items[1];
    edited.setSummary(u"家賃（三月分）"_s);
    edited.setDetails(u"振込先: 大家さん\n二行目"_s);
    edited.setPaymentPrice(u"八万五千円"_s); // not the text the amount gives
    edited.setDepositPrice(u""_s);
    edited.setTime(u"25:61:61"_s);
    int n = 2147483647;
    for (auto set : {&LedgerEntry::setMarked, &LedgerEntry::setStatus, &LedgerEntry::setSummaryKind,
                     &LedgerEntry::setOrderNumber, &LedgerEntry::setBalance, &LedgerEntry::setDay})
        (edited.*set)(n--);
    for (int i = 1; i <= 4; ++i) items[2]->setReservedText(i, u"予備%1"_s.arg(i));
    items[2]->setPicture(0, QByteArray("\x89PNG\0\x01", 6));
    items[2]->setPicture(1, QByteArray("")); // empty, but present
    items[2]->setDay(-2147483647 - 1);
    return items;
}

class LedgerArchiveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(DataFolder::archiveFileName(Bank::Jnb));

private slots:
    void init() { QFile::remove(m_path) || QDir().rmdir(m_path); }

    // Another program may write over the archive in place (cp truncates the file and writes
    // into it) while its ledger is loaded: the loaded entries stay as they were read. First,
    // while loads still keep their mappings.
    void writtenOverInPlaceAfterLoading()
    {
        const QList<LedgerEntryPtr> items = sampleLedger();
        QVERIFY(LedgerArchive::save(m_path, items, nullptr));
        const qint64 size = QFileInfo(m_path).size();
        const LedgerArchive::LoadResult loaded = LedgerArchive::load(m_path);
        QCOMPARE(loaded.items.size(), items.size());
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate)); // the same file, not a new one
        QCOMPARE(file.write(QByteArray(size, '\x7f')), size);
        file.close();
        for (qsizetype i = 0; i < items.size(); ++i) {
            QVERIFY2(loaded.items.at(i)->sameRecord(*items.at(i)), qPrintable(QString::number(i)));
            QCOMPARE(loaded.items.at(i)->summary(), items.at(i)->summary());
        }
        QVERIFY(LedgerArchive::load(m_path).status == LedgerArchive::LoadStatus::Unreadable);
    }

    // Every field comes back: from the file read where it lies mapped, from the same bytes
    // decoded into entries of their own, and once more after many loads in one process (when
    // mappings are no longer kept, entries are made of the mapped bytes instead).
    void roundTrip()
    {
        const QList<LedgerEntryPtr> items = sampleLedger();
        QVERIFY(LedgerArchive::save(m_path, items, nullptr));
        QList<LedgerEntryPtr> decoded;
        QVERIFY(LedgerArchive::decode(readTestFile(m_path), &decoded, nullptr));
        for (int load = 0; load < 80; ++load) {
            const LedgerArchive::LoadResult loaded = LedgerArchive::load(m_path);
            QCOMPARE(loaded.status, LedgerArchive::LoadStatus::Loaded);
            QCOMPARE(loaded.items.size(), items.size());
            for (qsizetype i = 0; i < items.size(); ++i) {
                QVERIFY2(loaded.items.at(i)->sameRecord(*items.at(i)), qPrintable(QString::number(i)));
                QVERIFY(decoded.at(i)->sameRecord(*items.at(i)));
                // A mark made on a loaded entry is a new entry that carries every field.
                const LedgerEntryPtr marked = loaded.items.at(i)->makeReplacement();
                marked->setMarked(1);
                QCOMPARE(marked->summary(), items.at(i)->summary());
                QCOMPARE(marked->date() + marked->time(), items.at(i)->date() + items.at(i)->time());
            }
        }
        QCOMPARE(LedgerArchive::encode(decoded), readTestFile(m_path));
    }

    void unreadable_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: a folder at the path
        const QByteArray good = LedgerArchive::encode(sampleLedger());
        QTest::newRow("truncated") << good.first(good.size() - 5);
        QTest::newRow("flipped magic") << QByteArray(good).replace(0, 1, "m");
        QTest::newRow("foreign file") << QByteArray("<?xml version=\"1.0\"?>\n<plist/>\n");
        QTest::newRow("folder") << QByteArray();
        QByteArray counts("MVRKLDGR\0\0\0\1\0\0\1\0", 16); // 256 texts promised, none there
        QTest::newRow("count beyond the bytes left") << counts + QByteArray(512, '\0');

        // Damage in a current archive whose checksum was made after it: the layout must tell.
        const auto damaged = [&good](qsizetype at, QByteArrayView bytes, qsizetype cutAt = 0,
                                     qsizetype cut = 0) {
            QByteArray body = good.first(good.size() - 4).replace(at, bytes.size(), bytes.toByteArray());
            body.remove(cutAt, cut);
            QByteArray checksum(4, '\0');
            qToBigEndian(LedgerArchive::checksumOf(body.constData(), body.size()), checksum.data());
            return body + checksum;
        };
        const auto le = [](quint32 v) { return QByteArray(reinterpret_cast<const char *>(&v), 4); };
        const auto count = [&good](int i) { return qFromLittleEndian<quint32>(good.constData() + 12 + 4 * i); };
        const quint32 texts = count(0), chars = count(1), entries = count(2), extrasBytes = count(4);
        const qsizetype records = (36 + texts * 4 + chars * 2 + 3) / 4 * 4;
        QTest::newRow("text count past the file") << damaged(12, le(0xffffffff));
        QTest::newRow("text end past the characters") << damaged(36, le(chars + 1));
        QTest::newRow("unknown record bit") << damaged(records + 3, "\x80");
        QTest::newRow("summary number past the table") << damaged(records + 28, le(texts + 1));
        QTest::newRow("wide record without its numbers beside")
            << damaged(records, QByteArray(1, char(good[records] | LedgerEntry::kWide)));
        QTest::newRow("fields beside cut short")
            << damaged(28, le(extrasBytes - 1), records + entries * 32, 1);
        QTest::newRow("no entries, texts left")
            << damaged(20, le(0) + le(0) + le(0), records, entries * 32 + extrasBytes);
    }
    void unreadable()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(bytes.isNull() ? QDir().mkpath(m_path) : writeTestFile(m_path, bytes));
        QCOMPARE(LedgerArchive::load(m_path).status, LedgerArchive::LoadStatus::Unreadable);
        Ledger ledger; // it holds nothing and says why; its save leaves the file to be rescued
        ledger.open(m_dir.path(), Bank::Jnb);
        QCOMPARE(ledger.state(), Ledger::State::Unreadable);
        QVERIFY(ledger.isEmpty() && !ledger.error().isEmpty());
        QVERIFY(ledger.save(nullptr));
        QCOMPARE(QFileInfo(m_path).isDir(), bytes.isNull());
        QCOMPARE(readTestFile(m_path), bytes);
    }

    // An archive carries a checksum: a flip of any one bit anywhere is damage, never a quietly
    // changed ledger.
    void everyFlippedBitIsNoticed()
    {
        const QByteArray good = LedgerArchive::encode(sampleLedger());
        QCOMPARE(good.mid(8, 4), QByteArray("\0\0\0\3", 4));
        for (qsizetype at = 0; at < good.size(); ++at) {
            for (const char bit : {'\x01', '\x80'}) {
                QByteArray damaged = good;
                damaged[at] = char(damaged[at] ^ bit);
                QList<LedgerEntryPtr> items;
                QString error;
                QVERIFY2(!LedgerArchive::decode(damaged, &items, &error), qPrintable(QString::number(at)));
                QVERIFY(items.isEmpty() && !error.isEmpty());
            }
        }
    }

    // Archives of earlier versions are read, and written anew as the current one at the next
    // save, changed or not (the earlier file stays among the backups).
    void earlierVersionsAreReadAndWrittenAnew()
    {
        QVERIFY(QFile::copy(QStringLiteral(MORIVA_TEST_DATA "/ledger-v1.mvrk"), m_path));
        Ledger ledger;
        ledger.open(m_dir.path(), Bank::Jnb);
        QCOMPARE(ledger.size(), 6);
        QCOMPARE(ledger.at(5)->summary(), u"12 TV"_s);
        QCOMPARE(ledger.at(2)->payment(), 10);
        QVERIFY(ledger.isModified() && ledger.save(nullptr));
        QCOMPARE(readTestFile(m_path).mid(8, 4), QByteArray("\0\0\0\3", 4));
        QCOMPARE(Backups::list(m_dir.path(), Bank::Jnb).size(), 1);
        ledger.open(m_dir.path(), Bank::Jnb);
        QVERIFY(!ledger.isModified());
        QCOMPARE(ledger.size(), 6);

        // Version 2 (a checksum, records as variable-length integers) holds every field.
        const QList<LedgerEntryPtr> v2 =
            LedgerArchive::load(QStringLiteral(MORIVA_TEST_DATA "/ledger-v2.mvrk")).items;
        const QList<LedgerEntryPtr> sample = sampleLedger();
        QCOMPARE(v2.size(), sample.size());
        for (qsizetype i = 0; i < v2.size(); ++i)
            QVERIFY(v2.at(i)->sameRecord(*sample.at(i)));
        QCOMPARE(LedgerArchive::encode(v2), LedgerArchive::encode(sample));
    }

    void failedSaveKeepsPreviousFile()
    {
        Ledger ledger;
        ledger.open(m_dir.path(), Bank::Jnb);
        ledger.append(sampleLedger().at(0));
        QVERIFY(ledger.save(nullptr));
        const QByteArray before = readTestFile(m_path);
        ledger.append(sampleLedger().at(1));
        // A file size limit cuts the write short whoever runs the test, root included.
        rlimit saved;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit small{rlim_t(before.size()), saved.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        QString error;
        const bool written = ledger.save(&error);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!written && !error.isEmpty());
        QCOMPARE(readTestFile(m_path), before);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files).size(), 1); // no temporary file left
    }
};

QTEST_GUILESS_MAIN(LedgerArchiveTest)
#include "LedgerArchiveTest.moc"
