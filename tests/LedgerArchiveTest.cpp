// The archive files of earlier Moriva versions, read as the input of moving into the database:
// every field of every version comes back, and damage is refused with a reason.

#include "FileTestSupport.h"
#include "ledger/ArchiveFormat.h"
#include "ledger/LedgerArchive.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(LedgerEntry)

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(MORIVA_TEST_DATA "/") + QLatin1StringView(name);
}

// What ledger-v2.mvrk holds: fields an archive could easily lose, numbers beyond every range.
QList<LedgerEntry> version2Ledger()
{
    QList<LedgerEntry> entries(3);
    for (LedgerEntry &e : entries) {
        e.setPayment(1500);
        e.setDate(u"2026/03/05"_s);
        e.setReservedText(0, u"ＡＴＭ　髙島屋①㈱～"_s); // the imported summary
    }
    LedgerEntry &edited = entries[1];
    edited.setSummary(u"家賃（三月分）"_s);
    edited.setDetails(u"振込先: 大家さん\n二行目"_s);
    edited.setPaymentPrice(u"八万五千円"_s);
    edited.setDepositPrice(u""_s);
    edited.setTime(u"25:61:61"_s);
    int n = 2147483647;
    for (auto set : {&LedgerEntry::setMarked, &LedgerEntry::setStatus, &LedgerEntry::setSummaryKind,
                     &LedgerEntry::setOrderNumber, &LedgerEntry::setBalance, &LedgerEntry::setDay})
        (edited.*set)(n--);
    for (int i = 1; i <= 4; ++i)
        entries[2].setReservedText(i, u"予備%1"_s.arg(i));
    entries[2].setPicture(0, QByteArray("\x89PNG\0\x01", 6));
    entries[2].setPicture(1, QByteArray(""));
    entries[2].setDay(-2147483647 - 1);
    return entries;
}

QByteArray le32(quint32 v)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(v, bytes.data());
    return bytes;
}

} // namespace

class LedgerArchiveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(u"BankbookArchive(JNB).mvrk"_s);

private slots:
    void init() { QFile::remove(m_path) || QDir().rmdir(m_path); }

    void everyVersionIsRead_data()
    {
        QTest::addColumn<QString>("file"); QTest::addColumn<quint32>("version");
        QTest::addColumn<int>("count"); QTest::addColumn<int>("index");
        QTest::addColumn<QString>("summary"); QTest::addColumn<int>("payment");
        QTest::newRow("v1") << fixture("ledger-v1.mvrk") << 1u << 6 << 5 << u"12 TV"_s << 100;
        QTest::newRow("v1 payment") << fixture("ledger-v1.mvrk") << 1u << 6 << 2 << QString() << 10;
        QTest::newRow("v2") << fixture("ledger-v2.mvrk") << 2u << 3 << 1 << u"家賃（三月分）"_s << 1500;
        QTest::newRow("v3") << fixture("ledger-v3.mvrk") << 3u << 4 << 3 << u"利息"_s << 0;
    }
    void everyVersionIsRead()
    {
        QFETCH(QString, file); QFETCH(int, index); QFETCH(QString, summary);
        const LedgerArchive::ReadResult read = LedgerArchive::read(file);
        QVERIFY2(read.status == LedgerArchive::Status::Loaded, qPrintable(read.error));
        QTEST(read.formatVersion, "version");
        QTEST(int(read.entries.size()), "count");
        if (!summary.isNull())
            QCOMPARE(read.entries.at(index).summary(), summary);
        QTEST(read.entries.at(index).payment(), "payment");
    }

    // Every field, in the stored order: marks, edited summaries beside the imported ones, notes,
    // order numbers, price, date and time texts of their own, reserved texts and pictures.
    void everyFieldComesBack_data()
    {
        QTest::addColumn<QString>("file"); QTest::addColumn<int>("index");
        QTest::addColumn<LedgerEntry>("expected");
        const QList<LedgerEntry> v3 = version3Ledger();
        for (int i = 0; i < v3.size(); ++i)
            QTest::addRow("v3 #%d %s", i, qPrintable(v3.at(i).summary())) << fixture("ledger-v3.mvrk") << i << v3.at(i);
        const QList<LedgerEntry> v2 = version2Ledger();
        for (int i = 0; i < v2.size(); ++i)
            QTest::addRow("v2 #%d", i) << fixture("ledger-v2.mvrk") << i << v2.at(i);
    }
    void everyFieldComesBack()
    {
        QFETCH(QString, file); QFETCH(int, index); QFETCH(LedgerEntry, expected);
        const LedgerEntry e = LedgerArchive::read(file).entries.value(index);
        // sameRecord weighs every field (LedgerEntryTest); the texts' nulls it leaves to us.
        for (auto text : {&LedgerEntry::date, &LedgerEntry::time, &LedgerEntry::summary,
                          &LedgerEntry::importedSummary, &LedgerEntry::details})
            QCOMPARE((e.*text)().isNull(), (expected.*text)().isNull());
        QVERIFY(e.sameRecord(expected));
    }

    void refused_data()
    {
        // Null: a folder at the path. Everything but a missing file is unreadable.
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray v3 = readTestFile(fixture("ledger-v3.mvrk"));
        QTest::newRow("missing") << QByteArray("<nothing>");
        QTest::newRow("folder") << QByteArray();
        QTest::newRow("truncated") << v3.first(v3.size() - 5);
        QTest::newRow("foreign file") << QByteArray("<?xml version=\"1.0\"?>\n<plist/>\n");
        QByteArray counts("MVRKLDGR\0\0\0\1\0\0\1\0", 16); // 256 texts promised, none there
        QTest::newRow("v1 count beyond the bytes left") << counts + QByteArray(512, '\0');
        const QByteArray v2 = readTestFile(fixture("ledger-v2.mvrk"));
        QTest::newRow("v2 without its end") << v2.first(v2.size() - 8) + v2.last(4);

        // Damage in a version 3 archive whose checksum was made after it: its layout must tell.
        const auto damaged = [&v3](qsizetype at, QByteArrayView bytes, qsizetype cutAt = 0, qsizetype cut = 0) {
            QByteArray body = v3.first(v3.size() - 4).replace(at, bytes.size(), bytes.toByteArray());
            body.remove(cutAt, cut);
            QByteArray checksum(4, '\0');
            qToBigEndian(LedgerArchive::checksumOf(body.constData(), body.size()), checksum.data());
            return body + checksum;
        };
        const auto count = [&v3](int i) { return qFromLittleEndian<quint32>(v3.constData() + 12 + 4 * i); };
        const quint32 texts = count(0), chars = count(1), entries = count(2), extrasBytes = count(4);
        const qsizetype records = (36 + texts * 4 + chars * 2 + 3) / 4 * 4;
        const qsizetype extras = records + entries * 32;
        QTest::newRow("text count past the file") << damaged(12, le32(0xffffffff));
        QTest::newRow("text end past the characters") << damaged(36, le32(chars + 1));
        QTest::newRow("unknown record bit") << damaged(records + 3, "\x80");
        QTest::newRow("summary number past the table") << damaged(records + 28, le32(texts + 1));
        QTest::newRow("fields beside cut short") << damaged(28, le32(extrasBytes - 1), extras, 1);
        QTest::newRow("no entries, texts left") << damaged(20, le32(0) + le32(0) + le32(0), records, entries * 32 + extrasBytes);
    }
    void refused()
    {
        QFETCH(QByteArray, bytes);
        const auto status = bytes == "<nothing>" ? LedgerArchive::Status::Missing : LedgerArchive::Status::Unreadable;
        if (bytes.isNull())
            QVERIFY(QDir().mkpath(m_path));
        else if (bytes != "<nothing>")
            QVERIFY(writeTestFile(m_path, bytes));
        const LedgerArchive::ReadResult read = LedgerArchive::read(m_path);
        QCOMPARE(read.status, status);
        QVERIFY(read.entries.isEmpty());
    }

    // The archives carry a checksum: a flip of any one bit anywhere is refused, never read as
    // a quietly changed ledger.
    void everyFlippedBitIsRefused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("v2") << fixture("ledger-v2.mvrk");
        QTest::newRow("v3") << fixture("ledger-v3.mvrk");
    }
    void everyFlippedBitIsRefused()
    {
        QFETCH(QString, file);
        const QByteArray good = readTestFile(file);
        QList<LedgerEntry> entries;
        QVERIFY(LedgerArchive::decode(good, &entries, nullptr));
        for (qsizetype at = 0; at < good.size(); ++at) {
            for (const char bit : {'\x01', '\x80'}) {
                QByteArray damaged = good;
                damaged[at] = char(damaged[at] ^ bit);
                entries.clear();
                QString error;
                QVERIFY2(!LedgerArchive::decode(damaged, &entries, &error), qPrintable(QString::number(at)));
                QVERIFY(entries.isEmpty() && !error.isEmpty());
            }
        }
    }
};

QTEST_GUILESS_MAIN(LedgerArchiveTest)
#include "LedgerArchiveTest.moc"
