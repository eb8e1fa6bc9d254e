#include <algorithm>
#include "TestSupport.h"
#include "ledger/LedgerArchive.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray jnbFile(const QStringList &lines, const QString &eol = u"\r\n"_s)
{
    const QString header = u"\"操作日(年)\",\"操作日(月)\",\"操作日(日)\",\"操作時刻(時)\",\"操作時刻(分)\","
                           "\"操作時刻(秒)\",\"取引順番号\",\"摘要\",\"お支払金額\",\"お預り金額\",\"残高\""_s;
    return toCp932(header + eol + lines.join(eol) + eol);
}

const QByteArray kEbankLine("\"20261105\",\"-1500\",\"900\",\"x\"\n");

} // namespace

class ControllerImportTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir; // the statements and data folder of one test
    std::unique_ptr<Controller> c;

    QString data() const { return m_dir->filePath(u"data"_s); }
    QString archive(int bank) const { return QDir(data()).filePath(DataFolder::archiveFileName(bank)); }
    // Imports bytes written to a file: JNB files live in an "NBG" folder, eBANK files say "eBANK".
    ImportReport import(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir->filePath(name);
        return writeTestFile(path, bytes) ? c->importBankbookFile(path) : ImportReport();
    }

private slots:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", m_home.filePath(u"data"_s).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(u"config"_s).toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
    }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        c = openTestController(data());
        QCOMPARE(c->archiveState(), Controller::ArchiveState::Opened);
    }
    void cleanup() { c.reset(); }

    void bankFromFileName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("bank");
        QTest::newRow("jnb folder") << u"/home/u/NBG/meisai.csv"_s << 1;
        QTest::newRow("ebank file") << u"/tmp/eBANK_2026.csv"_s << 2;
        QTest::newRow("NBG folder, eBANK file") << u"/x/NBG/eBANK.csv"_s << 1;
        QTest::newRow("lower case") << u"/x/nbg/ebank.csv"_s << 0;
    }
    void bankFromFileName()
    {
        QFETCH(QString, path);
        QFETCH(int, bank);
        QCOMPARE(Controller::parseBankbookFileName(path), bank);
    }

    void importAndReimport()
    {
        const QStringList lines{jnbLine(2026, 3, 5, 9, 5, 0, 1, u"ＡＴＭ　髙島屋①"_s, 1500, 0, 800),
                                jnbLine(2026, 3, 6, 10, 0, 0, 2, u"㈱テスト～"_s, 0, 2000, 2800),
                                jnbLine(2026, 3, 7, 0, 0, 0, 3, u"利息"_s, 0, 1, 2801)};
        ImportReport r = import(u"NBG/a.csv"_s, jnbFile(lines) + "\r\n"); // trailing blank line
        QCOMPARE(r.status, ImportReport::Imported);
        QCOMPARE(r.bank, 1);
        QCOMPARE((QList<int>{r.added, r.duplicates, r.rejected}), (QList<int>{3, 0, 0}));
        QCOMPARE(c->ledger().size(), 3);
        QCOMPARE(c->ledger().at(0)->summary(), u"ＡＴＭ　髙島屋①"_s);
        QCOMPARE(c->ledger().at(1)->summary(), u"㈱テスト～"_s);
        QCOMPARE(import(u"NBG/a.csv"_s, jnbFile(lines)).duplicates, 3);

        // Kept in the archive and read at the next start, in UTF-8 and with LF: still known.
        QString error;
        QVERIFY2(c->saveBankbookInfoArchive(&error), qPrintable(error));
        c.reset();
        c = openTestController(data());
        r = import(u"NBG/b.csv"_s, (lines.join(u'\n') + u'\n').toUtf8());
        QCOMPARE((QList<int>{r.added, r.duplicates}), (QList<int>{0, 3}));
        QCOMPARE(c->ledger().size(), 3);
    }

    void identicalLinesBothKept()
    {
        const QString line = jnbLine(2026, 3, 5, 12, 0, 0, 0, u"コンビニ"_s, 300, 0, 5000);
        const QString other = jnbLine(2026, 3, 5, 12, 0, 0, 0, u"コンビニ"_s, 500, 0, 5000);
        const QByteArray file = jnbFile({line, line, other});
        QCOMPARE(import(u"NBG/a.csv"_s, file).added, 3);
        QCOMPARE(import(u"NBG/a.csv"_s, file).added, 0);
        // A later statement with a third such operation adds only the third.
        ImportReport r = import(u"NBG/b.csv"_s, jnbFile({line, line, line}));
        QCOMPARE((QList<int>{r.added, r.duplicates}), (QList<int>{1, 2}));
        // A deleted entry is no longer known: its line comes back.
        QVERIFY(c->deleteLedgerEntry(3));
        QVERIFY(c->deleteLedgerEntry(0));
        r = import(u"NBG/a.csv"_s, file);
        QCOMPARE((QList<int>{r.added, r.duplicates}), (QList<int>{1, 2}));
        c->deleteAllBalance();
        QCOMPARE(import(u"NBG/a.csv"_s, file).added, 3);
    }

    void editedEntryStillKnown()
    {
        const QByteArray file = jnbFile({jnbLine(2026, 4, 1, 8, 0, 0, 0, u"振込"_s, 1000, 0, 9000)});
        QCOMPARE(import(u"NBG/a.csv"_s, file).added, 1);
        QVERIFY(c->setObjectValue(0, u"summary", u"家賃"_s));
        QVERIFY(c->markBalance(0));
        QCOMPARE(import(u"NBG/a.csv"_s, file).added, 0);
        QCOMPARE(c->ledger().size(), 1);
        QCOMPARE(c->ledger().at(0)->summary(), u"家賃"_s);
    }

    void lineEndingsDoNotMatter()
    {
        const QStringList lines{jnbLine(2026, 5, 1, 1, 2, 3, 4, u"A"_s, 1, 0, 10),
                                jnbLine(2026, 5, 2, 1, 2, 3, 4, u"B"_s, 0, 1, 11)};
        QCOMPARE(import(u"NBG/lf.csv"_s, jnbFile(lines, u"\n"_s)).added, 2);
        const QList<LedgerEntryPtr> lf = c->ledger();
        c->deleteAllBalance();
        QCOMPARE(import(u"NBG/crlf.csv"_s, jnbFile(lines, u"\r\n"_s)).added, 2);
        for (int i = 0; i < 2; ++i)
            QVERIFY(c->ledger().at(i)->sameRecord(*lf.at(i)));
        QCOMPARE(import(u"NBG/cr.csv"_s, jnbFile(lines, u"\r"_s)).duplicates, 2);
    }

    void ebankFileSwitchesBank()
    {
        QCOMPARE(import(u"NBG/j.csv"_s, jnbFile({jnbLine(2026, 1, 1, 0, 0, 0, 0, u"J"_s, 1, 0, 1)})).added, 1);
        const ImportReport r = import(u"eBANK_202611.csv"_s,
                                      toCp932(u"\"取引日\",\"入出金(円)\",\"残高(円)\",\"入出金先内容\"\r\n"
                                              "\"20261105\",\"-1500\",\"900\",\"ＡＴＭ\"\r\n"
                                              "\"2026110\",\"-1\",\"1\",\"bad date\"\r\n"
                                              "\"20261106\",\"2000\",\"2900\",\"給与\"\r\n"_s));
        QCOMPARE(r.status, ImportReport::Imported);
        QCOMPARE((QList<int>{r.bank, r.added, r.rejected}), (QList<int>{2, 2, 1}));
        QCOMPARE(c->currentBank(), 2);
        QCOMPARE(c->ledger().size(), 2);
        QCOMPARE(c->ledger().at(0)->summary(), u"ＡＴＭ"_s);
        // The JNB ledger was saved before the switch and holds only its own entry.
        const LedgerArchive::LoadResult jnb = LedgerArchive::load(archive(1));
        QCOMPARE(jnb.items.size(), 1);
        QCOMPARE(jnb.items.at(0)->summary(), u"J"_s);
        // And back.
        QVERIFY(import(u"NBG/k.csv"_s, jnbFile({})).result());
        QCOMPARE(c->currentBank(), 1);
        QCOMPARE(c->ledger().size(), 1);
        QCOMPARE(LedgerArchive::load(archive(2)).items.size(), 2);
    }

    void failedSaveKeepsTheBank()
    {
        QCOMPARE(import(u"NBG/j.csv"_s, jnbFile({jnbLine(2026, 1, 1, 0, 0, 0, 0, u"J"_s, 1, 0, 1)})).added, 1);
        QVERIFY(QDir().mkpath(archive(1))); // the JNB ledger cannot be saved
        const ImportReport r = import(u"eBANK.csv"_s, kEbankLine);
        QCOMPARE(r.status, ImportReport::SwitchFailed);
        QVERIFY(!r.error.isEmpty());
        QCOMPARE(c->currentBank(), 1);
        QCOMPARE(c->ledger().size(), 1);
    }

    void refusedFiles()
    {
        QCOMPARE(import(u"NBG/j.csv"_s,
                        jnbFile({jnbLine(2026, 1, 1, 0, 0, 0, 0, u"A"_s, 1, 0, 1),
                                 jnbLine(2026, 1, 2, 0, 0, 0, 0, u"B"_s, 1, 0, 1)}))
                     .added,
                 2);
        ImportReport r = import(u"NBG/empty.csv"_s, QByteArray());
        QCOMPARE(r.status, ImportReport::Empty);
        QVERIFY(!r.result());
        QVERIFY(!r.error.isEmpty());
        QCOMPARE(c->importBankbookFile(m_dir->filePath(u"NBG/none.csv"_s)).status, ImportReport::Unreadable);

        // Newest first for the month only, so the ledger is not in the order of the rule. A file
        // of neither bank adds nothing, but leaves the ledger in the order of the rule.
        c->switchListContents();
        c->changeListOrder();
        QList<LedgerEntryPtr> expected = c->ledger();
        std::reverse(expected.begin(), expected.end());
        r = import(u"other/statement.csv"_s, jnbFile({jnbLine(2026, 1, 3, 0, 0, 0, 0, u"C"_s, 1, 0, 1)}));
        QCOMPARE(r.status, ImportReport::NotStatement);
        QVERIFY(r.result());
        QCOMPARE(c->ledger(), expected);
    }

    void unreadableArchiveIsNeverOverwritten()
    {
        c.reset();
        const QByteArray junk("MVRKLDGR but not really an archive");
        QVERIFY(writeTestFile(archive(2), junk));
        for (int bank : {2, 1}) { // opened at start, or reached by a switch
            c = openTestController(data(), bank);
            QCOMPARE(c->archiveState(), bank == 2 ? Controller::ArchiveState::Unreadable
                                                  : Controller::ArchiveState::Opened);
            const ImportReport r = import(u"eBANK.csv"_s, kEbankLine);
            QCOMPARE(r.status, ImportReport::LedgerUnavailable);
            QVERIFY(!r.error.isEmpty());
            QVERIFY(c->ledger().isEmpty());
            QString error;
            QVERIFY(c->saveBankbookInfoArchive(&error));
            c.reset();
            QCOMPARE(readTestFile(archive(2)), junk);
        }
    }
};

QTEST_GUILESS_MAIN(ControllerImportTest)
#include "ControllerImportTest.moc"
