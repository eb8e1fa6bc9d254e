#include "TestSupport.h"
#include "views/Controller.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class ControllerListsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Controller> c;

    // Ledger indexes of the fixture, oldest first.
    enum { Atm, Amazon, Salary, S, Shop, ShopTwin, NoSummary, AtmFee, LowerAtm, Gas, Note, Count };

    const LedgerEntry &ledgerAt(int i) const { return *c->ledger().at(i); }
    int ledgerIndexOfRow(int row) const
    {
        return c->listMode() == Controller::MonthlyList ? c->searchBankbookInfoArrayForMonthly(row)
                                                        : c->searchBankbookInfoArrayForSearch(row);
    }
    void showMonth(int year, int month) { c->changeMonth(QString::number(year), QString::number(month)); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        c = openTestController(m_dir->filePath(u"data"_s));
        const QStringList lines{
            jnbLine(2025, 12, 10, 10, 0, 0, 0, u"ATM 引出"_s, 1000, 0, 9000),
            jnbLine(2025, 12, 20, 10, 0, 0, 0, u"Amazon"_s, 500, 0, 8500),
            jnbLine(2026, 1, 5, 10, 0, 0, 0, u"給与"_s, 0, 200000, 208500),
            jnbLine(2026, 3, 5, 9, 5, 0, 0, u"S"_s, 1500, 0, 800),
            jnbLine(2026, 3, 6, 12, 0, 0, 0, u"コンビニ"_s, 300, 0, 500),
            jnbLine(2026, 3, 6, 12, 0, 0, 0, u"コンビニ"_s, 300, 0, 500),
            jnbLine(2026, 3, 7, 0, 0, 0, 0, QString(), 0, 0, 500),
            jnbLine(2026, 3, 8, 0, 0, 0, 0, u"ATM手数料"_s, 110, 0, 390),
            jnbLine(2026, 3, 9, 0, 0, 0, 0, u"atm"_s, 1, 0, 389),
            jnbLine(2026, 3, 10, 0, 0, 0, 0, u"ガス代"_s, 2000, 0, 0),
            jnbLine(2026, 3, 11, 0, 0, 0, 0, u"Note"_s, 1, 0, 1)};
        // Shuffled in the file: the import sorts.
        QStringList shuffled = lines;
        std::swap(shuffled[0], shuffled[9]);
        QCOMPARE(c->importBankbookText(u"/x/NBG.csv"_s, shuffled.join(u'\n')).added, int(Count));
        QVERIFY(c->setObjectValue(NoSummary, u"details", u"ATM memo"_s));
        QVERIFY(c->setObjectValue(Note, u"details", u"ATM"_s));
    }
    void cleanup() { c.reset(); }

    void switchingLists()
    {
        QCOMPARE(c->listMode(), int(Controller::ActivityList));
        QCOMPARE(c->windowTitle(), u"All Activity"_s);
        c->setMonth(2026, 3);
        c->switchListContents();
        QCOMPARE(c->listMode(), int(Controller::MonthlyList));
        QCOMPARE(c->windowTitle(), u"Monthly Statement 2026/3"_s);
        QCOMPARE(c->numberOfRows(), Count - S);
        c->switchListContents();
        QCOMPARE(c->listMode(), int(Controller::ActivityList)); // no search result yet
        QCOMPARE(c->numberOfRows(), int(Count));

        QCOMPARE(c->searchBalance(u"ATM"_s), 3);
        QCOMPARE(c->listMode(), int(Controller::SearchList));
        QCOMPARE(c->windowTitle(), u"Search Results"_s);
        const QList<int> cycle{Controller::ActivityList, Controller::MonthlyList,
                               Controller::SearchList, Controller::ActivityList};
        for (int mode : cycle) {
            c->switchListContents();
            QCOMPARE(c->listMode(), mode);
        }
    }

    void movingMonths()
    {
        c->setMonth(2026, 1);
        c->movePrevMonth();
        QCOMPARE(c->listMode(), int(Controller::MonthlyList));
        QCOMPARE(c->monthlyYear(), 2025);
        QCOMPARE(c->monthlyMonth(), 12);
        QCOMPARE(c->numberOfRows(), 2);
        c->moveNextMonth();
        QCOMPARE(c->monthlyYear(), 2026);
        QCOMPARE(c->monthlyMonth(), 1);
        QCOMPARE(c->numberOfRows(), 1);
    }

    void changeMonth_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("shownYear");
        QTest::addColumn<int>("shownMonth");
        QTest::addColumn<int>("rows");
        QTest::newRow("month 13") << u"2025"_s << u"13"_s << 2026 << 1 << 1;
        QTest::newRow("month 0") << u"2026"_s << u"0"_s << 2026 << 0 << 0;
        QTest::newRow("letters") << u"2026"_s << u"March"_s << 2026 << 0 << 0;
    }
    void changeMonth()
    {
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(int, shownYear);
        QFETCH(int, shownMonth);
        QFETCH(int, rows);
        c->changeMonth(year, month);
        QCOMPARE(c->listMode(), int(Controller::MonthlyList));
        QCOMPARE(c->monthlyYear(), shownYear);
        QCOMPARE(c->monthlyMonth(), shownMonth);
        QCOMPARE(c->numberOfRows(), rows);
    }

    void orderOfMonthlyListOnly()
    {
        showMonth(2026, 3);
        const QList<LedgerEntryPtr> ledger = c->ledger();
        c->changeListOrder();
        QCOMPARE(c->listOrderRule(), 1);
        QCOMPARE(c->ledger(), ledger);
        QCOMPARE(c->entryAt(0), &ledgerAt(Note));
        QCOMPARE(c->entryAt(c->numberOfRows() - 1), &ledgerAt(S));
        QCOMPARE(c->entryAt(5), &ledgerAt(Shop)); // one moment and order: kept as they were
        QCOMPARE(c->entryAt(6), &ledgerAt(ShopTwin));
    }

    void search()
    {
        QCOMPARE(c->searchBalance(u"ATM"_s), 3); // "atm" differs; Note's details are not read
        QCOMPARE(c->numberOfRows(), 3);
        QCOMPARE(c->entryAt(0), &ledgerAt(Atm));
        QCOMPARE(c->entryAt(1), &ledgerAt(NoSummary));
        QCOMPARE(c->entryAt(2), &ledgerAt(AtmFee));
        // A keyword typed in decomposed form finds the composed summary.
        QCOMPARE(c->searchBalance(u"\u30AB\u3099ス"_s), 1);
        QCOMPARE(c->entryAt(0), &ledgerAt(Gas));
        // No hit while results are shown: the whole ledger comes back, no stale rows.
        QCOMPARE(c->searchBalance(u"zzz"_s), 0);
        QCOMPARE(c->listMode(), int(Controller::ActivityList));
        QVERIFY(c->searchList().isEmpty());
        QCOMPARE(c->numberOfRows(), int(Count));
    }

    void lookAlikeEntriesToldApart()
    {
        QVERIFY(ledgerAt(Shop).sameRecord(ledgerAt(ShopTwin)));
        showMonth(2026, 3);
        QCOMPARE(ledgerIndexOfRow(1), int(Shop));
        QCOMPARE(ledgerIndexOfRow(2), int(ShopTwin));
        QVERIFY(c->markBalance(2));
        QVERIFY(c->setObjectValue(1, u"details", u"first"_s));
        QCOMPARE(ledgerAt(ShopTwin).marked(), 1);
        QCOMPARE(ledgerAt(Shop).marked(), 0);
        QCOMPARE(ledgerAt(Shop).details(), u"first"_s);
        QCOMPARE(c->entryAt(2), &ledgerAt(ShopTwin));
    }

    void staleSearchRowFindsReplacement()
    {
        QCOMPARE(c->searchBalance(u"コンビニ"_s), 2);
        c->switchListContents(); // activity
        showMonth(2026, 3);
        QVERIFY(c->markBalance(2));
        QVERIFY(c->setObjectValue(1, u"summary", u"コンビニ（昼）"_s));
        c->switchListContents();
        QCOMPARE(c->listMode(), int(Controller::SearchList));
        QVERIFY(c->entryAt(1) != &ledgerAt(ShopTwin)); // the row still holds the old entry
        QCOMPARE(ledgerIndexOfRow(0), int(Shop));
        QCOMPARE(ledgerIndexOfRow(1), int(ShopTwin));
        QVERIFY(c->markBalance(1));
        QCOMPARE(ledgerAt(ShopTwin).marked(), 0);
        QVERIFY(c->setObjectValue(0, u"details", u"lunch"_s));
        QCOMPARE(ledgerAt(Shop).details(), u"lunch"_s);
        QCOMPARE(ledgerAt(Shop).summary(), u"コンビニ（昼）"_s);
    }

    void goneEntriesChangeNothing()
    {
        QCOMPARE(c->searchBalance(u"ATM"_s), 3);
        c->switchListContents(); // activity
        QVERIFY(c->deleteLedgerEntry(Atm));
        c->switchListContents();
        c->switchListContents();
        QCOMPARE(c->listMode(), int(Controller::SearchList));
        const LedgerEntryPtr first = c->ledger().at(0);
        QCOMPARE(ledgerIndexOfRow(0), -1);
        QVERIFY(!c->markBalance(0));
        QVERIFY(!c->setObjectValue(0, u"summary", u"x"_s));
        QVERIFY(c->deleteLedgerEntry(0)); // the row goes
        QCOMPARE(c->numberOfRows(), 2);
        QCOMPARE(c->ledger().size(), Count - 1);
        QCOMPARE(c->ledger().at(0), first);

        // After a switch to the other bank, the rows name entries of no ledger.
        const ImportReport r =
            c->importBankbookText(u"/x/eBANK.csv"_s, u"\"20261105\",\"-1500\",\"900\",\"ATM\""_s);
        QCOMPARE(r.added, 1);
        if (c->searchList().isEmpty())
            return; // the switch dropped the other bank's hits: no stale rows to act on
        while (c->listMode() != Controller::SearchList)
            c->switchListContents();
        const LedgerEntryPtr ebank = c->ledger().at(0);
        const LedgerEntryPtr copy = ebank->makeReplacement();
        QVERIFY(!c->markBalance(0));
        QVERIFY(!c->setObjectValue(0, u"summary", u"x"_s));
        QVERIFY(c->deleteLedgerEntry(0));
        QCOMPARE(c->ledger().size(), 1);
        QCOMPARE(c->ledger().at(0), ebank);
        QVERIFY(ebank->sameRecord(*copy));
        QVERIFY(!ebank->successor());
    }

    void deleting()
    {
        QVERIFY(c->deleteLedgerEntry(Salary));
        QCOMPARE(c->ledger().size(), Count - 1);
        QCOMPARE(ledgerAt(Salary).summary(), u"S"_s);

        showMonth(2026, 3);
        const LedgerEntry *s = c->entryAt(0);
        QVERIFY(c->deleteLedgerEntry(0));
        QCOMPARE(c->numberOfRows(), Count - S - 1);
        QCOMPARE(c->ledger().size(), Count - 2);
        for (const LedgerEntryPtr &e : c->ledger())
            QVERIFY(e.data() != s);

        QCOMPARE(c->searchBalance(u"ATM"_s), 3);
        QVERIFY(c->deleteLedgerEntry(1));
        QCOMPARE(c->numberOfRows(), 2);
        QCOMPARE(c->ledger().size(), Count - 3);
        for (const LedgerEntryPtr &e : c->ledger())
            QVERIFY(e->details() != u"ATM memo"_s);
        QVERIFY(!c->deleteLedgerEntry(2));

        c->switchListContents();
        showMonth(2026, 3);
        c->deleteAllBalance();
        QCOMPARE(c->numberOfRows(), 0);
        QVERIFY(c->ledger().isEmpty());
    }

    void exporting()
    {
        QVERIFY(c->setObjectValue(Amazon, u"summary", u"Amazon, Inc \"JP\""_s));
        QCOMPARE(c->proposedExportFileName(), u"Bankbook"_s);
        const QString path = m_dir->filePath(u"all.csv"_s);
        QString error;
        QVERIFY2(c->saveBalanceInfo(path, &error), qPrintable(error));
        const QString all = QString::fromUtf8(readTestFile(path));
        QVERIFY(all.startsWith(u"2025/12/10,10:00:00,ATM 引出,1000,0,9000,\r"
                               "2025/12/20,10:00:00,\"Amazon, Inc \"\"JP\"\"\",500,0,8500,\r"_s));
        QVERIFY(all.contains(u"\r2026/03/07,00:00:00,,0,0,500,ATM memo\r"_s));
        QCOMPARE(all.count(u'\r'), int(Count));
        QVERIFY(!all.contains(u'\n'));

        showMonth(2026, 3);
        QCOMPARE(c->proposedExportFileName(), u"Bankbook 2026-03"_s);
        QVERIFY(c->saveBalanceInfo(path, &error));
        QVERIFY(QString::fromUtf8(readTestFile(path)).startsWith(u"2026/03/05,09:05:00,S,1500,0,800,\r"_s));

        c->importBankbookText(u"/x/eBANK.csv"_s, u"\"20261105\",\"-1500\",\"900\",\"ATM\""_s);
        c->switchListContents(); // activity
        QVERIFY(c->saveBalanceInfo(path, &error));
        QCOMPARE(QString::fromUtf8(readTestFile(path)), u"2026/11/05,,ATM,1500,0,900,\r"_s);
    }

    void enabling()
    {
        for (bool entries : {true, false}) {
            if (!entries)
                c->deleteAllBalance();
            for (bool selection : {false, true}) {
                for (const char16_t *id : {u"delete_balance", u"mark_balance"})
                    QCOMPARE(c->validateToolbarItem(id, selection), entries && selection);
                for (const char16_t *id : {u"save_balance", u"delete_all", u"list_order", u"search"})
                    QCOMPARE(c->validateToolbarItem(id, selection), entries);
                QVERIFY(c->validateToolbarItem(u"import", selection));
                QCOMPARE(c->validateMenuItem(200, selection), entries && selection);
                QCOMPARE(c->validateMenuItem(102, selection), entries);
            }
        }
    }
};

QTEST_GUILESS_MAIN(ControllerListsTest)
#include "ControllerListsTest.moc"
