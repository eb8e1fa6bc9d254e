#include "TestSupport.h"
#include "ledger/Backups.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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

namespace {

// The account's entries as another program reads them from the database: what is on disk.
QStringList storedRecords(const QString &databasePath, Bank bank = Bank::Jnb)
{
    LedgerDatabase db;
    if (!db.open(databasePath, SqlConnection::Access::ReadOnly, nullptr))
        return {u"unreadable"_s};
    QStringList out;
    db.forEachEntry(bank, EntryFilter::all(), Qt::AscendingOrder, [&out](const LedgerEntry &e) {
        out << u"%1 %2 %3|%4|%5"_s.arg(e.date(), e.time(), e.summary(), e.details()).arg(e.marked());
        return true;
    });
    return out;
}

} // namespace

class ControllerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString data() const { return m_dir.filePath(u"data"_s); }
    QString database() const { return QDir(data()).filePath(LedgerDatabase::fileName()); }

private slots:
    void cleanup() { QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path())); }

    // Into a JNB ledger of two entries, shown newest first.
    void imports_data()
    {
        QTest::addColumn<QString>("setup"); QTest::addColumn<int>("status");
        QTest::addColumn<Bank>("bank"); // chosen after the import
        QTest::addColumn<int>("added"); QTest::addColumn<int>("rejected");
        QTest::addColumn<int>("storedJnb"); QTest::addColumn<int>("storedEbank");
        using R = ImportReport;
        QTest::newRow("jnb") << u"jnb"_s << int(R::Imported) << Bank::Jnb << 1 << 0 << 3 << 0;
        QTest::newRow("ebank: bank switched") << u"ebank"_s << int(R::Imported) << Bank::Ebank << 2 << 1 << 2 << 2;
        QTest::newRow("neither bank") << u"neither"_s << int(R::NotStatement) << Bank::Jnb << 0 << 0 << 2 << 0;
        QTest::newRow("missing file") << u"missing"_s << int(R::Unreadable) << Bank::Jnb << 0 << 0 << 2 << 0;
        QTest::newRow("ledgers locked") << u"locked"_s << int(R::LedgerUnavailable) << Bank::Jnb << 0 << 0 << -1 << -1;
        QTest::newRow("unreadable database") << u"junk"_s << int(R::LedgerUnavailable) << Bank::Jnb << 0 << 0 << -1 << -1;
    }
    void imports()
    {
        QFETCH(QString, setup); QFETCH(int, status); QFETCH(Bank, bank); QFETCH(int, added);
        QFETCH(int, rejected); QFETCH(int, storedJnb); QFETCH(int, storedEbank);
        const bool ebank = setup == u"ebank";
        const QString path = m_dir.filePath(setup == u"neither" ? u"x/a.csv"_s
                                            : ebank ? u"eBANK.csv"_s : u"NBG/a.csv"_s);
        const QString jnb = u"操作日(年),摘要\r\n"_s + jnbLine(2026, 1, 3, 0, 0, 0, 0, u"C"_s, 1, 0, 1);
        QVERIFY(setup == u"missing" || writeTestFile(path, ebank ? kEbankFile : toCp932(jnb)));
        DataFolderLock other(data());
        QVERIFY(setup != u"locked" || (QDir().mkpath(data()) && other.acquire(0, nullptr)));
        const QByteArray junk("SQLite format 3, or so it says");
        QVERIFY(setup != u"junk" || writeTestFile(database(), junk));
        auto c = openTestController(data());
        c->importText(u"/x/NBG.csv"_s, kFixture.section(u'\n', 3, 4));
        c->reverseOrder();
        const ImportReport r = c->importFile(path);
        QCOMPARE(int(r.status), status);
        QCOMPARE(c->bank(), bank);
        QCOMPARE(r.added, added);
        QCOMPARE(r.rejected, rejected);
        QCOMPARE(r.error.isEmpty(), r.status == ImportReport::Imported);
        QVERIFY(setup != u"locked" || r.error.contains(other.lockFilePath()));
        c.reset();
        QCOMPARE(storedRecords(database()).size(), storedJnb < 0 ? 1 : storedJnb);
        QCOMPARE(storedRecords(database(), Bank::Ebank).size(), storedEbank < 0 ? 1 : storedEbank);
        QVERIFY(setup != u"junk" || readTestFile(database()) == junk); // never written over
    }

    // An edit stores no control character: a NUL or an escape pasted in is left out; tab stays,
    // and a note keeps its line breaks.
    void editsStoreNoControlCharacter_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("summary") << u"summary"_s << u"ATM\u0000 x\u001B\t\ny\u0085"_s << u"ATM x\ty"_s;
        QTest::newRow("note") << u"details"_s << u"a\u0000\nb\r\n\tc\u007F"_s << u"a\nb\r\n\tc"_s;
    }
    void editsStoreNoControlCharacter()
    {
        QFETCH(QString, column); QFETCH(QString, typed); QFETCH(QString, stored);
        auto c = openTestController(data());
        c->importText(u"/x/NBG.csv"_s, kFixture.section(u'\n', 3, 3));
        QVERIFY(c->editEntry(0, column, typed));
        c.reset();
        const QString record = storedRecords(database()).value(0);
        QVERIFY2(record.contains(stored), qPrintable(record));
    }

    // A long import tells how far it has read after each piece, so that a window can show it.
    void importTellsItsProgress()
    {
        QStringList lines;
        for (int i = 0; i < 5000; ++i)
            lines << jnbLine(2026, 1 + i % 12, 1 + i % 28, 9, 0, 0, i, u"振込 %1"_s.arg(i), i, 0, 1);
        const QByteArray bytes = toCp932(lines.join(u"\r\n"_s));
        const QString path = m_dir.filePath(u"NBG_many.csv"_s);
        QVERIFY(bytes.size() > 3 * 65536 && writeTestFile(path, bytes));
        auto c = openTestController(data());
        QList<qint64> told;
        c->setImportProgress([&](const QString &, qint64 done, qint64) { told << done; });
        QCOMPARE(c->importFile(path).added, 5000);
        QVERIFY2(told.size() > 3, qPrintable(QString::number(told.size())));
        QCOMPARE(told.last(), bytes.size());
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
        QCOMPARE(c->view().rowCount(), 0);
    }

    // Each change is undone and redone: the list shown, the gaps and what is stored are as they
    // were; the duplicates follow.
    void stepsUndoAndRedo_data()
    {
        QTest::addColumn<QString>("list"); // empty for all activity, "march", or a search keyword
        QTest::addColumn<QString>("action"); QTest::addColumn<int>("row");
        QTest::addColumn<int>("entry");     // the fixture's entry behind the row; -1 for many
        QTest::addColumn<QString>("text");  // the step's name
        QTest::addColumn<int>("readded");   // by the statement imported again after the redo
        QTest::addColumn<int>("afterUndo"); // the row selected then (-1: none asked for)
        QTest::addColumn<int>("afterRedo"); // and after the redo (and the change itself)
        const QString march = u"march"_s;
        QTest::newRow("mark a look-alike, monthly") << march << u"mark"_s << 1 << int(ShopTwin) << u"Mark"_s << 0 << 1 << 1;
        QTest::newRow("summary, search") << u"ATM"_s << u"summary"_s << 1 << int(AtmFee) << u"Edit of Summary"_s << 0 << 1 << 1;
        QTest::newRow("revert, monthly") << march << u"revert"_s << 0 << int(Shop) << u"Revert to Bank's Text"_s << 0 << 0 << 0;
        QTest::newRow("delete the last row") << QString() << u"delete"_s << 4 << int(Note) << u"Delete"_s << 1 << 4 << 3;
        QTest::newRow("delete a look-alike, monthly") << march << u"delete"_s << 1 << int(ShopTwin) << u"Delete"_s << 1 << 1 << 1;
        QTest::newRow("delete all, monthly") << march << u"deleteAll"_s << -1 << -1 << u"Delete All"_s << 5 << 0 << -1;
        QTest::newRow("import beside look-alikes, monthly")
            << march << u"import"_s << -1 << -1 << u"Import of NBG_2.csv (2 entries)"_s << 0 << 2 << 2;
    }
    void stepsUndoAndRedo()
    {
        QFETCH(QString, list); QFETCH(QString, action); QFETCH(int, row); QFETCH(int, entry);
        QFETCH(QString, text); QFETCH(int, readded); QFETCH(int, afterUndo); QFETCH(int, afterRedo);
        auto c = openTestController(data());
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, 5);
        c.reset();
        c = openTestController(data()); // the steps of another run are not undone
        QVERIFY(!c->undoStack().canUndo());
        c->start();
        QCOMPARE(c->view().rowCount(), 5);
        QVERIFY(list.isEmpty() || (list == u"march" ? (c->showMonth(2026, 3), true) : c->search(list) > row));
        QSignalSpy selected(c.get(), &Controller::selectionRequested);
        const auto lastSelected = [&selected] {
            const int row = selected.isEmpty() ? -1 : selected.last().at(0).toInt();
            selected.clear();
            return row;
        };
        // Revert to Bank's Text does nothing to a summary as imported; it does to an edited one.
        QVERIFY(action != u"revert" || (!c->revertSummary(row) && c->editEntry(row, u"summary", u"x"_s)));
        // Three of the look-alikes Shop and ShopTwin, and one new: the third and the new come in.
        const QString second = QStringList{kFixture.section(u'\n', 1, 2), kFixture.section(u'\n', 1, 1),
                                           jnbLine(2026, 3, 8, 9, 0, 0, 0, u"New"_s, 1, 0, 8588)}.join(u'\n');
        const QStringList storedBefore = storedRecords(database());
        const QList<qint64> rowsBefore = c->view().ids();
        const qsizetype gapsBefore = c->balances().gaps().size();
        selected.clear();
        if (action == u"mark")
            QVERIFY(c->toggleMark(row));
        else if (action == u"summary")
            QVERIFY(c->editEntry(row, action, u"x"_s) && !c->editEntry(row, action, u"x"_s));
        else if (action == u"revert")
            QVERIFY(c->revertSummary(row));
        else if (action == u"delete")
            QVERIFY(c->removeEntry(row));
        else if (action == u"deleteAll")
            c->removeAllEntries();
        else
            QCOMPARE(c->importText(u"/x/NBG_2.csv"_s, second).added, 2);
        const QStringList storedAfter = storedRecords(database());
        const QList<qint64> rowsAfter = c->view().ids();
        const qsizetype gapsAfter = c->balances().gaps().size();
        QVERIFY(storedAfter != storedBefore);
        if (entry >= 0) { // the row's own entry changed, committed with no save, and no other
            QStringList others = storedBefore, othersAfter = storedAfter;
            others.removeAt(entry);
            if (action != u"delete")
                othersAfter.removeAt(entry);
            QCOMPARE(othersAfter, others);
            QCOMPARE(rowsAfter.size(), rowsBefore.size() - (action == u"delete"));
        }
        QCOMPARE(c->undoText(), u"Undo "_s + text);
        QCOMPARE(lastSelected(), action == u"delete" || action == u"import" ? afterRedo : -1);

        QVERIFY(c->undo());
        QCOMPARE(lastSelected(), afterUndo);
        QCOMPARE(storedRecords(database()), storedBefore);
        QCOMPARE(c->view().ids(), rowsBefore);
        QCOMPARE(c->balances().gaps().size(), gapsBefore);
        QCOMPARE(c->redoText(), u"Redo "_s + text);

        QVERIFY(c->redo());
        QCOMPARE(lastSelected(), afterRedo);
        QCOMPARE(storedRecords(database()), storedAfter);
        QCOMPARE(c->view().ids(), rowsAfter);
        QCOMPARE(c->balances().gaps().size(), gapsAfter);
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, readded);
        if (action == u"import") { // undone, the same file adds its entries again
            QVERIFY(c->undo() && storedRecords(database()) == storedBefore);
            QCOMPARE(c->importText(u"/x/NBG_2.csv"_s, second).added, 2);
        }
    }

    // Files imported together are one step, whichever banks they are for; its undo takes out
    // every entry they added and nothing else.
    void filesImportedTogetherAreOneStep()
    {
        const auto c = openTestController(data());
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture.section(u'\n', 0, 0)).added, 1);
        const QString jnb = m_dir.filePath(u"NBG_2.csv"_s), ebank = m_dir.filePath(u"eBANK_1.csv"_s);
        QVERIFY(writeTestFile(jnb, toCp932(kFixture)) && writeTestFile(ebank, kEbankFile));
        const QList<ImportReport> reports = c->importFiles({jnb, ebank});
        QCOMPARE(reports.size(), 2);
        QCOMPARE(reports.at(0).added + reports.at(1).added, 6);
        QCOMPARE(c->undoText(), u"Undo Import of 2 files (6 entries)"_s);
        QVERIFY(c->undo());
        QCOMPARE(storedRecords(database()).size(), 1);
        QCOMPARE(storedRecords(database(), Bank::Ebank).size(), 0);
        QVERIFY(c->redo());
        QCOMPARE(storedRecords(database(), Bank::Ebank).size(), 2);
        QCOMPARE(c->view().rowCount(), 2); // the last file's bank is shown
    }

    // The balance check begun at start is dropped by a change made before it is asked for, and
    // taken whole when nothing changed.
    void balancesBegunAtStartFollowChanges()
    {
        auto c = openTestController(data());
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, 5);
        c.reset();
        c = openTestController(data());
        c->start();
        QCOMPARE(c->shownTotals().count, 5);
        QCOMPARE(c->balances().gaps().size(), 1); // ShopTwin: its balance does not follow Shop's
        QCOMPARE(c->balances().gaps().first().before.summary(), u"コンビニ"_s);
        c->start();
        QVERIFY(c->removeEntry(Atm));
        QCOMPARE(c->shownTotals().count, 4);
        QCOMPARE(c->shownTotals().payments, 711);
    }

    // Each start's first change is preceded by a backup of the ledger as it was before it.
    void aBackupPrecedesTheFirstChange()
    {
        auto c = openTestController(data());
        QCOMPARE(c->importText(u"/x/NBG.csv"_s, kFixture).added, 5);
        c.reset();
        c = openTestController(data());
        c->start();
        QVERIFY(c->toggleMark(Shop) && c->toggleMark(Atm));
        const QList<Backups::Backup> backups = Backups::list(data());
        QCOMPARE(backups.size(), 2); // one a start, the first the empty ledger's
        const QString newest = backups.first().path;
        QCOMPARE(backups.first().entriesOf(Bank::Jnb), 5);
        LedgerDatabase kept;
        QVERIFY(kept.open(newest, SqlConnection::Access::ReadOnly, nullptr));
        QCOMPARE(kept.entry(c->view().idAt(Shop))->marked(), 0);
    }

    // The read-only commands never wait for a window that holds the ledgers: they see what it
    // committed last, at once.
    void readersDoNotWaitForTheWindow()
    {
        const auto window = openTestController(data());
        QCOMPARE(window->importText(u"/x/NBG.csv"_s, kFixture).added, 5);
        QVERIFY(window->toggleMark(Shop));
        Controller reader;
        reader.setDataFolderPath(data());
        reader.setLockTimeoutMs(0); // taking the lock would fail at once
        QVERIFY(reader.openDataFolder());
        reader.openLedger(Controller::Access::Read);
        QCOMPARE(reader.ledgerState(), Controller::LedgerState::Open);
        QCOMPARE(reader.database().count(Bank::Jnb), 5);
        QCOMPARE(reader.database().entry(window->view().idAt(Shop))->marked(), 1);
    }
};

QTEST_GUILESS_MAIN(ControllerTest)
#include "ControllerTest.moc"
