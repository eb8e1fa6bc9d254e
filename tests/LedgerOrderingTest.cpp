#include "ledger/LedgerOrdering.h"

#include <QTest>

using Moment = QList<int>; // year, month, day, hour, minute, second, order

namespace {

LedgerEntryPtr entryAt(const Moment &m, int tag = 0)
{
    LedgerEntryPtr e = LedgerEntry::create();
    e->setYear(m.value(0));
    e->setMonth(m.value(1));
    e->setDay(m.value(2));
    e->setHour(m.value(3));
    e->setMinute(m.value(4));
    e->setSecond(m.value(5));
    e->setOrderNumber(m.value(6));
    e->setBalance(tag); // tells entries of one moment apart
    return e;
}

} // namespace

class LedgerOrderingTest : public QObject
{
    Q_OBJECT

private slots:
    void compare_data()
    {
        QTest::addColumn<Moment>("a");
        QTest::addColumn<Moment>("b");
        QTest::addColumn<int>("ascending");
        QTest::addColumn<int>("descending");
        // Moments compare as numbers, in the direction of the rule.
        QTest::newRow("earlier year") << Moment{2025, 12, 31, 23, 59, 59, 0}
                                      << Moment{2026, 1, 1, 0, 0, 0, 0} << -1 << 1;
        QTest::newRow("month 9 before 10") << Moment{2026, 9, 1} << Moment{2026, 10, 1} << -1 << 1;
        QTest::newRow("day") << Moment{2026, 3, 5} << Moment{2026, 3, 4} << 1 << -1;
        QTest::newRow("hour 9 before 10") << Moment{2026, 3, 5, 9} << Moment{2026, 3, 5, 10}
                                          << -1 << 1;
        QTest::newRow("second") << Moment{2026, 3, 5, 9, 5, 1} << Moment{2026, 3, 5, 9, 5, 0}
                                << 1 << -1;
        QTest::newRow("moment beats order") << Moment{2026, 3, 5, 9, 5, 0, 9}
                                            << Moment{2026, 3, 5, 9, 5, 1, 10} << -1 << 1;
        // One moment: order numbers as text, the same way whatever the rule.
        QTest::newRow("order 10 before 9") << Moment{2026, 3, 5, 0, 0, 0, 10}
                                           << Moment{2026, 3, 5, 0, 0, 0, 9} << -1 << -1;
        QTest::newRow("order 2 after 10") << Moment{2026, 3, 5, 0, 0, 0, 2}
                                          << Moment{2026, 3, 5, 0, 0, 0, 10} << 1 << 1;
        QTest::newRow("order -1 before 0") << Moment{2026, 3, 5, 0, 0, 0, -1}
                                           << Moment{2026, 3, 5, 0, 0, 0, 0} << -1 << -1;
        QTest::newRow("same") << Moment{2026, 3, 5, 1, 2, 3, 4} << Moment{2026, 3, 5, 1, 2, 3, 4}
                              << 0 << 0;
    }
    void compare()
    {
        QFETCH(Moment, a);
        QFETCH(Moment, b);
        QFETCH(int, ascending);
        QFETCH(int, descending);
        const LedgerEntryPtr ea = entryAt(a), eb = entryAt(b);
        QCOMPARE(compareEntries(*ea, *eb, OrderAscending), ascending);
        QCOMPARE(compareEntries(*eb, *ea, OrderAscending), -ascending);
        QCOMPARE(compareEntries(*ea, *eb, OrderDescending), descending);
        QCOMPARE(compareEntries(*eb, *ea, OrderDescending), -descending);
        // Any other rule: every pair is the same.
        QCOMPARE(compareEntries(*ea, *eb, 2), 0);
        QCOMPARE(compareEntries(*ea, *eb, -1), 0);
    }

    void sortIsStable_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("ascending") << 0 << QList<int>{1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("descending") << 1 << QList<int>{6, 7, 2, 3, 4, 5, 1};
        QTest::newRow("rule 2 keeps the order") << 2 << QList<int>{5, 6, 1, 3, 2, 7, 4};
    }
    void sortIsStable()
    {
        QFETCH(int, rule);
        QFETCH(QList<int>, expected);
        // Tags give the ascending order; equal records keep the order of the list.
        QList<LedgerEntryPtr> items{
            entryAt({2026, 1, 1, 0, 0, 0, 3}, 5), entryAt({2026, 1, 2, 0, 0, 0, 0}, 6),
            entryAt({2025, 12, 31, 23, 59, 59, 0}, 1), entryAt({2026, 1, 1, 0, 0, 0, 10}, 3),
            entryAt({2026, 1, 1, 0, 0, 0, 0}, 2), entryAt({2026, 1, 2, 0, 0, 0, 0}, 7),
            entryAt({2026, 1, 1, 0, 0, 0, 10}, 4)};
        sortEntries(items, rule);
        QList<int> tags;
        for (const LedgerEntryPtr &e : items)
            tags << e->balance();
        QCOMPARE(tags, expected);
    }
};

QTEST_GUILESS_MAIN(LedgerOrderingTest)
#include "LedgerOrderingTest.moc"
