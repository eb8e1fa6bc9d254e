#include "ledger/LedgerOrdering.h"

#include <QTest>

using Moment = QList<int>; // year, month, day, hour, minute, second, order number

class LedgerOrderingTest : public QObject
{
    Q_OBJECT

private slots:
    // Moments compare as numbers, order numbers of one moment as text ("10" before "9") in
    // either order. Tags 3 and 4, 6 and 7 are equal records; tag 0 does not fit the packed keys.
    void sort_data()
    {
        QTest::addColumn<QList<int>>("input"); // tags
        QTest::addColumn<int>("order"); QTest::addColumn<QList<int>>("expected");
        const QList<int> mixed{5, 7, 1, 4, 2, 6, 3}, up{1, 2, 4, 3, 5, 7, 6},
            down{7, 6, 2, 4, 3, 5, 1}, general{5, 7, 0, 1, 4, 2, 6, 3};
        QTest::newRow("ascending") << mixed << 0 << up;
        QTest::newRow("descending") << mixed << 1 << down;
        QTest::newRow("descending, from ascending") << up << 1 << down;
        QTest::newRow("in order already, equal records kept as they are") << up << 0 << up;
        QTest::newRow("general, in order already") << QList<int>{0, 1, 2, 3, 4, 5, 6, 7} << 0
                                                    << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("stray order keeps the list") << mixed << 2 << mixed;
        QTest::newRow("general, ascending") << general << 0 << QList<int>{0, 1, 2, 4, 3, 5, 7, 6};
        QTest::newRow("general, descending") << general << 1 << QList<int>{7, 6, 2, 4, 3, 5, 1, 0};
    }
    void sort()
    {
        QFETCH(QList<int>, input); QFETCH(int, order); QFETCH(QList<int>, expected);
        static const QList<Moment> moments{
            {-1, 12, 31},  {2025, 12, 31, 23, 59, 59, 9}, {2026, 1, 1, 0, 0, 0, -1},
            {2026, 1, 1, 0, 0, 0, 10}, {2026, 1, 1, 0, 0, 0, 10}, {2026, 1, 1, 0, 0, 0, 3},
            {2026, 1, 1, 0, 0, 1, 2}, {2026, 1, 1, 0, 0, 1, 2}};
        QList<LedgerEntryPtr> entries;
        for (int tag : input) {
            entries << LedgerEntry::create();
            int i = 0;
            for (auto set : {&LedgerEntry::setYear, &LedgerEntry::setMonth, &LedgerEntry::setDay,
                             &LedgerEntry::setHour, &LedgerEntry::setMinute,
                             &LedgerEntry::setSecond, &LedgerEntry::setOrderNumber})
                (entries.last().data()->*set)(moments.at(tag).value(i++));
            entries.last()->setBalance(tag);
        }
        const bool moved = sortEntries(entries, Qt::SortOrder(order));
        QList<int> tags;
        for (const LedgerEntryPtr &e : entries)
            tags << e->balance();
        QCOMPARE(tags, expected);
        QCOMPARE(moved, input != expected);
    }
};

QTEST_GUILESS_MAIN(LedgerOrderingTest)
#include "LedgerOrderingTest.moc"
