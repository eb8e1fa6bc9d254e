#include "TestSupport.h"
#include "ledger/EntryTextCache.h"
#include "views/LedgerView.h"
#include "views/PrintTexts.h"

#include <QDate>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

class LedgerViewTest : public QObject
{
    Q_OBJECT

    // The fixture's JNB entries, oldest first. Shop and ShopTwin are identical records.
    enum { Atm, Salary, Shop, ShopTwin, NoSummary, AtmFee, Gas, Note, Count };

    QTemporaryDir m_dir;
    LedgerDatabase m_database;
    QList<qint64> m_ids; // by fixture index
    std::unique_ptr<LedgerView> m_view;

    // The fixture indexes of the shown rows; -1 for a row of no fixture entry.
    QList<qsizetype> shownIndexes() const
    {
        QList<qsizetype> out;
        for (qsizetype row = 0; row < m_view->rowCount(); ++row)
            out << m_ids.indexOf(m_view->idAt(row));
        return out;
    }
    QList<int> days() const
    {
        QList<int> out;
        for (const LedgerEntry &e : m_view->entries())
            out << e.day();
        return out;
    }
    QList<int> shown() const { return {int(m_view->mode()), m_view->year(), m_view->month(), int(m_view->rowCount())}; }
    // The rows the list of the mode holds now.
    QList<qsizetype> listOf(ListMode mode)
    {
        m_view->setMode(mode);
        m_view->reload();
        return shownIndexes();
    }

private slots:
    void init()
    {
        QString error;
        QVERIFY2(openTestDatabase(m_database, m_dir.filePath(u"db"_s), &error), qPrintable(error));
        const QStringList summaries{u"ATM 引出"_s, u"給与"_s, u"コンビニ"_s, u"コンビニ"_s, QString(),
                                    u"ATM手数料"_s, u"\u30AB\u3099ス代"_s, u"atm"_s};
        QList<LedgerEntry> entries;
        for (int i = 0; i < Count; ++i) {
            LedgerEntry e;
            e.setYear(i == Atm ? 2025 : 2026); e.setMonth(i == Atm ? 12 : i == Salary ? 1 : 3);
            e.setDay((i == ShopTwin ? Shop : i) + 1);
            e.setDate(EntryTextCache::instance().dateText(e.year(), e.month(), e.day()));
            e.setSummary(summaries[i]); e.setImportedSummary(summaries[i]);
            entries << e;
        }
        entries[NoSummary].setDetails(u"ATM memo"_s);
        entries[Note].setDetails(u"ATM"_s);
        entries[Atm].setPayment(12343675); entries[Salary].setDeposit(2000000);
        entries[Shop].setPayment(1500); entries[ShopTwin].setPayment(1500);
        entries[AtmFee].setPayment(500);
        QVERIFY2(m_database.insertEntries(Bank::Jnb, entries, &error), qPrintable(error));
        m_ids.clear();
        for (const LedgerEntry &e : entries)
            m_ids << e.id();
        // Another account's entry that every search below would find: never shown here.
        QList<LedgerEntry> other{entries[Atm]};
        QVERIFY(m_database.insertEntries(Bank::Ebank, other, &error));
        m_view = std::make_unique<LedgerView>(m_database);
        m_view->setBank(Bank::Jnb);
        m_view->reload();
    }
    void cleanup()
    {
        m_view.reset();
        m_database.close();
    }

    void listsAndMonths()
    {
        const int activity = int(ListMode::Activity), monthly = int(ListMode::Monthly);
        QCOMPARE(m_view->rowCount(), Count);
        m_view->setMonth(2026, 3);
        m_view->switchList();
        QCOMPARE(shown(), (QList{monthly, 2026, 3, Count - Shop}));
        m_view->switchList(); // no search hits: no search list
        QCOMPARE(shown(), (QList{activity, 2026, 3, int(Count)}));
        QCOMPARE(m_view->search(u"ATM"_s), 4);
        for (ListMode mode : {ListMode::Activity, ListMode::Monthly, ListMode::Search})
            QCOMPARE((m_view->switchList(), m_view->mode()), mode);
        QCOMPARE(m_view->search(u"zzz"_s), 0); // no hit: the whole ledger back, no stale rows
        QCOMPARE(shown(), (QList{activity, 2026, 3, int(Count)}));
        m_view->setMonth(2026, 1);
        m_view->showPreviousMonth();
        QCOMPARE(shown(), (QList{monthly, 2025, 12, 1}));
        m_view->showMonth(u"2025"_s, u"13"_s); // past December: January of the next year
        QCOMPARE(shown(), (QList{monthly, 2026, 1, 1}));
        // Previous stops at the first month with entries, Next at this month (later than the
        // last with entries); the sheet offers those months, newest first.
        const auto steps = [this](int year, int month) {
            m_view->setMonth(year, month);
            return QList{m_view->hasPreviousMonth(), m_view->hasNextMonth()};
        };
        const QDate today = QDate::currentDate();
        QCOMPARE(steps(2025, 11), (QList{false, true}));
        QCOMPARE(steps(2025, 12), (QList{false, true}));
        QCOMPARE(steps(today.year(), today.month()), (QList{true, false}));
        QCOMPARE(m_view->monthsWithEntries(), (QList{202603, 202601, 202512}));
    }

    void monthInput_data()
    {
        QTest::addColumn<QString>("year"); QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("refused"); // a word of the message, empty when accepted
        QTest::newRow("2026/12") << u"2026"_s << u"12"_s << QString();
        QTest::newRow("month 0") << u"2026"_s << u"0"_s << u"month"_s;
        QTest::newRow("month 13") << u"2026"_s << u"13"_s << u"month"_s;
        QTest::newRow("month in letters") << u"2026"_s << u"March"_s << u"month"_s;
        QTest::newRow("year 0") << u"0"_s << u"3"_s << u"year"_s;
        QTest::newRow("year of five digits") << u"20260"_s << u"3"_s << u"year"_s;
    }
    void monthInput()
    {
        QFETCH(QString, year); QFETCH(QString, month); QFETCH(QString, refused);
        const QString error = LedgerView::monthInputError(year, month);
        QVERIFY2(refused.isEmpty() ? error.isEmpty() : error.contains(refused), qPrintable(error));
    }

    // One order for every list, kept by the next month's list and by a new search; entries of
    // one moment stay in the order they were stored, whichever way the list runs.
    void orderIsKeptAcrossListsAndMonths()
    {
        m_view->showMonth(u"2026"_s, u"3"_s);
        // A printout's heading names the list shown.
        QCOMPARE(PrintTexts::heading(Bank::Ebank, *m_view), u"eBANK — Monthly Statement 2026/03"_s);
        m_view->reverseOrder();
        QCOMPARE(days(), (QList{8, 7, 6, 5, 3, 3}));
        QCOMPARE(shownIndexes().last(2), (QList<qsizetype>{Shop, ShopTwin}));
        m_view->showPreviousMonth();
        m_view->showNextMonth();
        QCOMPARE(days(), (QList{8, 7, 6, 5, 3, 3}));
        // Sorted by a field, entries alike in it keep the list's order; none: the list's own.
        m_view->sortBy(EntryField::PaidOut, Qt::DescendingOrder);
        QCOMPARE(days(), (QList{3, 3, 6, 8, 7, 5}));
        QCOMPARE(shownIndexes().first(2), (QList<qsizetype>{Shop, ShopTwin}));
        m_view->sortBy(std::nullopt);
        QCOMPARE(days(), (QList{8, 7, 6, 5, 3, 3}));
        QCOMPARE(m_view->search(u"ATM"_s), 4);
        QCOMPARE(days(), (QList{8, 6, 5, 1}));
        // Its closing line has the totals of the rows shown.
        QCOMPARE(PrintTexts::heading(Bank::Jnb, *m_view), u"JNB — Search: ATM"_s);
        QCOMPARE(PrintTexts::closingLine(m_view->totals()), u"4 entries — Payment 12,344,175円, Deposit 0円"_s);
        m_view->reverseOrder(); // the hits shown turn round too
        QCOMPARE(days(), (QList{1, 5, 6, 8}));
    }

    // An entry deleted while any list is shown leaves the monthly list and the search hits;
    // its look-alike stays; undoing the deletion brings the hit back in its place, also when
    // the order was turned round in between.
    void aDeletedEntryLeavesEveryList_data()
    {
        QTest::addColumn<ListMode>("mode"); QTest::addColumn<int>("index");
        QTest::addColumn<bool>("reverseInBetween");
        QTest::newRow("from the monthly list") << ListMode::Monthly << int(AtmFee) << false;
        QTest::newRow("a look-alike stays") << ListMode::Activity << int(Shop) << false;
        QTest::newRow("the order turned round while it is gone") << ListMode::Search << int(AtmFee)
                                                                 << true;
    }
    void aDeletedEntryLeavesEveryList()
    {
        QFETCH(ListMode, mode); QFETCH(int, index); QFETCH(bool, reverseInBetween);
        m_view->setMonth(2026, 3);
        QCOMPARE(m_view->search(u"ATM"_s), 4);
        const QList<qsizetype> hits = shownIndexes();
        m_view->setMode(mode);
        m_view->reload();
        const std::optional<LedgerEntry> gone = m_database.entry(m_ids[index]);
        QVERIFY(gone);
        QVERIFY(m_database.removeEntries({gone->id()}, nullptr));
        m_view->entriesRemoved({gone->id()});
        QList<qsizetype> month{Shop, ShopTwin, NoSummary, AtmFee, Gas, Note};
        month.removeOne(index);
        QCOMPARE(listOf(ListMode::Monthly), month);
        QList<qsizetype> remaining = hits;
        remaining.removeOne(index);
        QList<qsizetype> expected = hits;
        if (reverseInBetween) {
            m_view->reverseOrder();
            std::reverse(remaining.begin(), remaining.end());
            std::reverse(expected.begin(), expected.end());
        }
        QCOMPARE(listOf(ListMode::Search), remaining);

        QVERIFY(m_database.putBack({*gone}, nullptr));
        m_view->entriesReturned({gone->id()});
        QCOMPARE(listOf(ListMode::Search), expected);
    }

    // Rows lead to the entries by id: a row is read again once its entry changed, and rows
    // of entries no longer stored lead nowhere.
    void rowsLeadToEntries()
    {
        m_view->showMonth(u"2026"_s, u"3"_s);
        QCOMPARE(shownIndexes(), (QList<qsizetype>{Shop, ShopTwin, NoSummary, AtmFee, Gas, Note}));
        QCOMPARE(m_view->entryAt(Count - Shop).id(), 0);
        QCOMPARE(m_view->rowOf(m_ids[Gas]), 4);
        QCOMPARE(m_view->rowOf(m_ids[Atm]), -1);
        QCOMPARE(m_view->entryAt(1).summary(), u"コンビニ"_s);
        QVERIFY(m_database.setSummary(m_ids[ShopTwin], u"edited"_s, nullptr));
        m_view->forget(m_ids[ShopTwin]);
        QCOMPARE(m_view->entryAt(1).summary(), u"edited"_s);
        // A reload after a deletion: the rows move up.
        QVERIFY(m_database.removeEntries({m_ids[Shop]}, nullptr));
        m_view->reload();
        QCOMPARE(m_view->rowOf(m_ids[Gas]), 3);
        // Entries gone while the search hits are shown, the view not told: their rows lead nowhere.
        QCOMPARE(m_view->search(u"ATM"_s), 4);
        QVERIFY(m_database.removeEntries({m_ids[Atm], m_ids[AtmFee]}, nullptr));
        QCOMPARE(m_view->entryAt(0).id(), 0);
        QCOMPARE(m_view->entries().size(), 2);
        // The account switched: the search goes with it.
        m_view->setBank(Bank::Ebank);
        QCOMPARE(m_view->mode(), ListMode::Activity);
        m_view->setMode(ListMode::Search);
        QCOMPARE(m_view->mode(), ListMode::Activity);
    }
};

QTEST_GUILESS_MAIN(LedgerViewTest)
#include "LedgerViewTest.moc"
