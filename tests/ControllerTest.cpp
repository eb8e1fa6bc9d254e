#include "TestSupport.h"
#include "ledger/Backups.h"
#include "ledger/LedgerArchive.h"
#include "ledger/LedgerOrdering.h"
#include "views/CommandRules.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

// Two eBANK operations and a line without a usable date.
const QByteArray kEbankFile = u"\"取引日\",\"入出金(円)\",\"残高(円)\",\"入出金先内容\"\r\n"
                              "\"20261105\",\"-1500\",\"900\",\"ＡＴＭ\"\r\n\"2026110\",\"-1\",\"1\"\r\n"
                              "\"20261106\",\"2000\",\"2900\",\"給与\"\r\n"_s.toUtf8();

// A JNB statement, in ledger order. Shop and ShopTwin are identical operations.
enum { Atm, Shop, ShopTwin, AtmFee, Note };
const QString kFixture = QStringList{jnbLine(2026, 2, 28, 9, 0, 0, 0, u"ATM 引出"_s, 1000, 0, 9000),
                                     jnbLine(2026, 3, 5, 12, 0, 0, 0, u"コンビニ"_s, 300, 0, 8700),
                                     jnbLine(2026, 3, 5, 12, 0, 0, 0, u"コンビニ"_s, 300, 0, 8700),
                                     jnbLine(2026, 3, 6, 9, 0, 0, 0, u"ATM手数料"_s, 110, 0, 8590),
                                     jnbLine(2026, 3, 7, 9, 0, 0, 0, u"Note"_s, 1, 0, 8589)}.join(u'\n');

// Whether the window's command may run with the row selected (-1: none).
bool isEnabled(const Controller &c, QStringView command, int selectedRow)
{
    return CommandRules::isEnabled(command, c.commandState(selectedRow));
}

class ControllerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString data() const { return m_dir.filePath(u"data"_s); }
    QString archive(Bank bank) const { return QDir(data()).filePath(DataFolder::archiveFileName(bank)); }

private slots:
    void cleanup() { QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path())); }

    // A path that names neither bank is refused unread: a FIFO there cannot hold Moriva.
    void aPathOfNoBankIsNotRead()
    {
        const QString fifo = m_dir.filePath(u"statement.csv"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const auto c = openTestController(data());
        QCOMPARE(c->importFile(fifo).status, ImportReport::NotStatement);
    }

    // A file where the data folder goes is told as such, not as a problem with the lock.
    void aFileWhereTheDataFolderGoes()
    {
        QVERIFY(writeTestFile(data(), "not a folder"));
        const auto c = openTestController(data());
        QCOMPARE(c->ledger().state(), Ledger::State::NoDataFolder);
        QVERIFY2(c->ledger().error().contains(u"a file stands there"_s), qPrintable(c->ledger().error()));
    }

    // Into a JNB ledger of two unsaved entries in the other order than the chosen one.
    void imports_data()
    {
        QTest::addColumn<QString>("setup");
        // status, chosen bank, added, duplicates, rejected, ledger size, saved JNB entries
        QTest::addColumn<QList<int>>("expected");
        using R = ImportReport;
        const int jnb = int(Bank::Jnb), ebank = int(Bank::Ebank);
        QTest::newRow("jnb") << u"jnb"_s << QList<int>{R::Imported, jnb, 1, 0, 0, 3, 0};
        QTest::newRow("ebank: bank switched") << u"ebank"_s << QList<int>{R::Imported, ebank, 2, 0, 1, 2, 2};
        QTest::newRow("neither bank") << u"neither"_s << QList<int>{R::NotStatement, jnb, 0, 0, 0, 2, 0};
        QTest::newRow("empty file") << u"empty"_s << QList<int>{R::Empty, jnb, 0, 0, 0, 2, 0};
        QTest::newRow("missing file") << u"missing"_s << QList<int>{R::Unreadable, jnb, 0, 0, 0, 2, 0};
        QTest::newRow("ledgers locked") << u"locked"_s << QList<int>{R::LedgerUnavailable, jnb, 0, 0, 0, 0, 0};
        QTest::newRow("unreadable ebank archive")
            << u"junk"_s << QList<int>{R::LedgerUnavailable, ebank, 0, 0, 0, 0, 2};
        QTest::newRow("switch refused: jnb not saved")
            << u"unsavable"_s << QList<int>{R::SwitchFailed, jnb, 0, 0, 0, 2, 0};
    }
    void imports()
    {
        QFETCH(QString, setup); QFETCH(QList<int>, expected);
        const bool ebank = setup == u"ebank" || setup == u"junk" || setup == u"unsavable";
        const QString path = m_dir.filePath(setup == u"neither" ? u"x/a.csv"_s
                                            : ebank ? u"eBANK.csv"_s : u"NBG/a.csv"_s);
        const QString jnb = u"操作日(年),摘要\r\n"_s + jnbLine(2026, 1, 3, 0, 0, 0, 0, u"C"_s, 1, 0, 1);
        QVERIFY(setup == u"missing"
                || writeTestFile(path, setup == u"empty" ? "" : ebank ? kEbankFile : toCp932(jnb)));
        DataFolderLock other(data());
        QVERIFY(setup != u"locked" || (QDir().mkpath(data()) && other.acquire(0, nullptr)));
        const QByteArray junk("MVRKLDGR but not really an archive");
        QVERIFY(setup != u"junk" || writeTestFile(archive(Bank::Ebank), junk));
        auto c = openTestController(data());
        c->importText(u"/x/NBG.csv"_s, kFixture.section(u'\n', 3, 4));
        QVERIFY(setup != u"unsavable" || QDir().mkpath(archive(Bank::Jnb)));
        Preferences newestFirst = c->preferences(); // the order chosen, the ledger not sorted by it
        newestFirst.listOrder = Qt::DescendingOrder;
        c->setPreferences(newestFirst);
        c->showMonth(2026, 3);
        const ImportReport r = c->importFile(path);
        QCOMPARE((QList{int(r.status), int(c->bank()), r.added, r.duplicates, r.rejected,
                        int(c->ledger().size()), int(LedgerArchive::load(archive(Bank::Jnb)).items.size())}),
                 expected);
        QCOMPARE(c->ledger().bank(), c->bank());
        QCOMPARE(r.error.isEmpty(), r.status == ImportReport::Imported);
        QVERIFY(setup != u"locked" || r.error.contains(other.lockFilePath()));
        // Every file that gave text leaves the ledger in the order of the rule, a refused one too.
        const QList<LedgerEntryPtr> &e = c->ledger().entries();
        QCOMPARE(e.size() < 2 || compareEntries(*e.first(), *e.last(), Qt::DescendingOrder) < 0,
                 r.gaveText() && r.status != ImportReport::NotStatement); // that one is refused unread
        c.reset();
        QVERIFY(setup != u"junk" || readTestFile(archive(Bank::Ebank)) == junk);
    }

    // Through a row, a change reaches the very ledger entry behind it; a re-import knows it still.
    void rowsReachTheLedger_data()
    {
        QTest::addColumn<QString>("list"); // a search keyword, or empty for March's list
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("index"); // of the ledger entry behind the row
        const QString march;
        QTest::newRow("mark a look-alike, monthly") << march << 1 << u"mark"_s << int(ShopTwin);
        QTest::newRow("edit a summary, monthly") << march << 0 << u"summary"_s << int(Shop);
        QTest::newRow("remove, monthly") << march << 2 << u"remove"_s << int(AtmFee);
        QTest::newRow("edit details, search") << u"ATM"_s << 1 << u"details"_s << int(AtmFee);
        QTest::newRow("remove, search") << u"ATM"_s << 0 << u"remove"_s << int(Atm);
    }
    void rowsReachTheLedger()
    {
        QFETCH(QString, list); QFETCH(int, row); QFETCH(QString, action); QFETCH(int, index);
        const auto c = openTestController(data());
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, 5);
        QVERIFY(list.isEmpty() ? (c->showMonth(2026, 3), true) : c->search(list) > row);
        QList<LedgerEntryPtr> expected = c->ledger().entries();
        const qsizetype rows = c->view().rowCount();
        if (action == u"remove") {
            QVERIFY(c->removeEntry(row));
            QCOMPARE(c->view().rowCount(), rows - 1);
            expected.removeAt(index);
        } else {
            QVERIFY(action == u"mark" ? c->toggleMark(row) : c->editEntry(row, action, u"x"_s));
            const LedgerEntry &e = *c->ledger().at(index);
            const QStringList fields{QString::number(e.marked()), e.summary(), e.details()};
            QCOMPARE(fields.indexOf(action == u"mark" ? u"1"_s : u"x"_s),
                     action == u"mark" ? 0 : action == u"summary" ? 1 : 2);
            QCOMPARE(c->view().entryAt(row), &e);
            expected[index] = c->ledger().at(index);
        }
        QCOMPARE(c->ledger().entries(), expected);
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, action == u"remove" ? 1 : 0);
    }

    // A search without a hit says so, naming the keyword, from whichever list it starts; the
    // search list does not outlive its bank.
    void searchesSayWhatTheyFound_data()
    {
        QTest::addColumn<ListMode>("mode");
        for (ListMode mode : {ListMode::Activity, ListMode::Monthly, ListMode::Search})
            QTest::addRow("%d", int(mode)) << mode;
    }
    void searchesSayWhatTheyFound()
    {
        QFETCH(ListMode, mode);
        const auto c = openTestController(data());
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, 5);
        QSignalSpy notices(c.get(), &Controller::noticeRequested);
        c->showMonth(2026, 3);
        QCOMPARE(c->search(u"ATM"_s), 2);
        QCOMPARE(c->windowTitle(), u"Search Results: “ATM”"_s);
        if (mode != ListMode::Search)
            mode == ListMode::Activity ? c->showActivity() : c->showMonth(2026, 3);
        QCOMPARE(c->search(u"yahoo"_s), 0);
        QCOMPARE(notices.size(), 1);
        QCOMPARE(notices.first().first().toString(), u"No entries contain “yahoo”"_s);
        QCOMPARE(c->view().mode(), mode == ListMode::Search ? ListMode::Activity : mode);
        // A bank switch ends the search: the other bank's hits are gone.
        QCOMPARE(c->search(u"ATM"_s), 2);
        if (mode == ListMode::Monthly)
            c->showMonth(2026, 3);
        QVERIFY(c->switchBank(Bank::Ebank));
        QCOMPARE(c->view().mode(), mode == ListMode::Monthly ? ListMode::Monthly : ListMode::Activity);
        QCOMPARE(c->view().searchList().size() + c->view().rowCount(), 0);
    }

    // Each change is undone and redone on the very entries: the ledger, the list shown, the gaps
    // and the archive after a save are as they were; the duplicates follow.
    void stepsUndoAndRedo_data()
    {
        QTest::addColumn<QString>("list"); // empty for all activity, "march", or a search keyword
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");  // the step's name
        QTest::addColumn<int>("readded");   // by the statement imported again after the redo
        const QString march = u"march"_s;
        QTest::newRow("mark, monthly") << march << u"mark"_s << 1 << u"Mark"_s << 0;
        QTest::newRow("unmark") << QString() << u"unmark"_s << 0 << u"Unmark"_s << 0;
        QTest::newRow("summary, search") << u"ATM"_s << u"summary"_s << 1 << u"Edit of Summary"_s << 0;
        QTest::newRow("details") << QString() << u"details"_s << 2 << u"Edit of Details"_s << 0;
        QTest::newRow("revert, monthly") << march << u"revert"_s << 0 << u"Revert to Bank's Text"_s << 0;
        QTest::newRow("delete") << QString() << u"delete"_s << 2 << u"Delete"_s << 1;
        QTest::newRow("delete a look-alike, monthly") << march << u"delete"_s << 1 << u"Delete"_s << 1;
        QTest::newRow("delete, search") << u"ATM"_s << u"delete"_s << 0 << u"Delete"_s << 1;
        QTest::newRow("delete all, monthly") << march << u"deleteAll"_s << -1 << u"Delete All"_s << 5;
        QTest::newRow("import beside look-alikes, monthly")
            << march << u"import"_s << -1 << u"Import of NBG_2.csv (2 entries)"_s << 0;
    }
    void stepsUndoAndRedo()
    {
        QFETCH(QString, list); QFETCH(QString, action); QFETCH(int, row); QFETCH(QString, text);
        QFETCH(int, readded);
        auto c = openTestController(data());
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, 5);
        // The steps change entries loaded from the archive, which are read where they lie.
        QString saved;
        QVERIFY2(c->saveLedger(&saved), qPrintable(saved));
        c.reset();
        c = openTestController(data());
        QCOMPARE(c->ledger().size(), 5);
        QVERIFY(list.isEmpty() || (list == u"march" ? (c->showMonth(2026, 3), true) : c->search(list) > row));
        QVERIFY(action != u"unmark" || c->toggleMark(row));
        QVERIFY(action != u"revert" || c->editEntry(row, u"summary", u"x"_s));
        // Three of the look-alikes Shop and ShopTwin, and one new: the third and the new come in.
        const QString second = QStringList{kFixture.section(u'\n', 1, 2), kFixture.section(u'\n', 1, 1),
                                           jnbLine(2026, 3, 8, 9, 0, 0, 0, u"New"_s, 1, 0, 8588)}.join(u'\n');
        const auto records = [](const QList<LedgerEntryPtr> &entries) {
            QStringList out;
            for (const LedgerEntryPtr &e : entries)
                out << u"%1 %2 %3|%4|%5"_s.arg(e->date(), e->time(), e->summary(), e->details()).arg(e->marked());
            return out;
        };
        const auto archived = [&] {
            QString error;
            return c->saveLedger(&error) ? records(LedgerArchive::load(archive(Bank::Jnb)).items) : QStringList{error};
        };
        const QList<LedgerEntryPtr> ledgerBefore = c->ledger().entries(), rowsBefore = c->view().rows();
        const qsizetype gapsBefore = c->balances().gaps().size();
        if (action == u"mark" || action == u"unmark")
            QVERIFY(c->toggleMark(row));
        else if (action == u"summary" || action == u"details")
            QVERIFY(c->editEntry(row, action, u"x"_s) && !c->editEntry(row, action, u"x"_s));
        else if (action == u"revert")
            QVERIFY(c->revertSummary(row));
        else if (action == u"delete")
            QVERIFY(c->removeEntry(row));
        else if (action == u"deleteAll")
            c->removeAllEntries();
        else
            QCOMPARE(c->importText(u"/x/NBG_2.csv"_s, second).added, 2);
        const QList<LedgerEntryPtr> ledgerAfter = c->ledger().entries(), rowsAfter = c->view().rows();
        const qsizetype gapsAfter = c->balances().gaps().size();
        QCOMPARE(c->history().undoText(), u"Undo "_s + text);
        const QStringList archivedAfter = archived();

        QVERIFY(c->undo());
        QCOMPARE(c->ledger().entries(), ledgerBefore);
        QCOMPARE(c->view().rows(), rowsBefore);
        QCOMPARE(c->balances().gaps().size(), gapsBefore);
        QCOMPARE(c->history().redoText(), u"Redo "_s + text);
        QVERIFY(c->ledger().isModified());
        QCOMPARE(archived(), records(ledgerBefore));

        QVERIFY(c->redo());
        QCOMPARE(c->ledger().entries(), ledgerAfter);
        QCOMPARE(c->view().rows(), rowsAfter);
        QCOMPARE(c->balances().gaps().size(), gapsAfter);
        QCOMPARE(archived(), archivedAfter);
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, readded);
        if (action == u"import") { // undone, the same file adds its entries again
            QVERIFY(c->undo() && c->ledger().entries() == ledgerBefore);
            QCOMPARE(c->importText(u"/x/NBG_2.csv"_s, second).added, 2);
        }
    }

    // Switching back to a bank whose archive is as Moriva left it gives back the entries it
    // had, not new ones: entries are never freed, and a switch must not cost a ledger's worth of
    // memory each time. An archive another program wrote over meanwhile is read anew.
    void switchingBackTakesNoNewEntries()
    {
        const auto c = openTestController(data());
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, 5);
        const QList<LedgerEntryPtr> imported = c->ledger().entries();
        for (int i = 0; i < 3; ++i) {
            QVERIFY(c->switchBank(Bank::Ebank) && c->switchBank(Bank::Jnb));
            QCOMPARE(c->ledger().entries(), imported);
        }
        QVERIFY(c->toggleMark(0) && c->switchBank(Bank::Ebank) && c->switchBank(Bank::Jnb));
        QCOMPARE(c->ledger().at(0)->marked(), 1);
        QVERIFY(c->switchBank(Bank::Ebank));
        QFile file(archive(Bank::Jnb)); // written over in place, as cp does
        QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Truncate));
        QVERIFY(file.write(LedgerArchive::encode(imported.mid(1))) > 0);
        file.close();
        QVERIFY(c->switchBank(Bank::Jnb));
        QCOMPARE(c->ledger().entries().size(), 4);
        QCOMPARE(c->ledger().at(0)->summary(), imported.at(1)->summary());
    }

    // An undone delete puts the entry back among the entries of its moment as the ledger holds
    // them, also into a month shown only since the delete; a redone import gives the search
    // the hits its undo took away.
    void undoneStepsKeepTheLists()
    {
        const auto c = openTestController(data());
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, 5);
        const QList<LedgerEntryPtr> entries = c->ledger().entries();
        c->showMonth(2026, 2);
        c->showActivity();
        QVERIFY(c->removeEntry(Shop));
        c->showMonth(2026, 3);
        QVERIFY(c->undo());
        QCOMPARE(c->ledger().entries(), entries);
        QCOMPARE(c->view().rows(), entries.mid(Shop));
        QCOMPARE(c->importText(u"/x/NBG_2.csv"_s, jnbLine(2026, 3, 8, 9, 0, 0, 0, u"ATM"_s, 1, 0, 8588)).added, 1);
        QCOMPARE(c->search(u"ATM"_s), 3);
        const QList<LedgerEntryPtr> hits = c->view().rows();
        QVERIFY(c->undo() && c->view().rowCount() == 2 && c->redo());
        QCOMPARE(c->view().rows(), hits);
    }

    // The history is the open ledger's: a bank switch or a restored backup ends it. Undo
    // and Redo are enabled while there is a step to take.
    void historyEndsWithItsLedger_data()
    {
        QTest::addColumn<bool>("switchBank");
        QTest::newRow("bank switch") << true;
        QTest::newRow("backup restored") << false;
    }
    void historyEndsWithItsLedger()
    {
        QFETCH(bool, switchBank);
        const auto c = openTestController(data());
        QVERIFY(!isEnabled(*c, u"undo", -1) && !isEnabled(*c, u"redo", -1));
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, 5);
        QString error;
        QVERIFY(c->saveLedger(&error) && Backups::keep(data(), Bank::Jnb, archive(Bank::Jnb), &error));
        QVERIFY(c->toggleMark(Shop) && c->undo());
        QVERIFY(isEnabled(*c, u"undo", -1) && isEnabled(*c, u"redo", Shop));
        QVERIFY(switchBank ? c->switchBank(Bank::Ebank)
                           : c->restoreBackup(Backups::list(data(), Bank::Jnb).value(0).path, &error));
        QVERIFY(!c->history().canUndo() && !c->history().canRedo() && !c->undo() && !c->redo());
        QVERIFY(!isEnabled(*c, u"undo", -1) && !isEnabled(*c, u"redo", -1));
        QCOMPARE(c->history().undoText() + u'/' + c->history().redoText(), u"Undo/Redo"_s);
    }

    // Revert to Bank's Text puts back the summary as imported, also after a save and a reopen;
    // it is enabled only while the selected row's summary differs from it.
    void summaryRevertsToTheBanksText()
    {
        auto c = openTestController(data());
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, 5);
        QVERIFY(!isEnabled(*c, u"revert_summary", Shop) && !c->revertSummary(Shop));
        QVERIFY(c->editEntry(Shop, u"summary", u"x"_s));
        QString error;
        QVERIFY2(c->saveLedger(&error), qPrintable(error));
        c.reset(); // lets go of the data-folder lock
        c = openTestController(data());
        QCOMPARE(c->ledger().size(), 5);
        QCOMPARE(c->ledger().at(Shop)->summary(), u"x"_s);
        QVERIFY(isEnabled(*c, u"revert_summary", Shop));
        QVERIFY(!isEnabled(*c, u"revert_summary", -1) && !isEnabled(*c, u"revert_summary", ShopTwin));
        QVERIFY(c->revertSummary(Shop));
        QCOMPARE(c->ledger().at(Shop)->summary(), u"コンビニ"_s);
        QVERIFY(!isEnabled(*c, u"revert_summary", Shop) && !c->revertSummary(Shop));
    }
};

QTEST_GUILESS_MAIN(ControllerTest)
#include "ControllerTest.moc"
