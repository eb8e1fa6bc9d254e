#include "ledger/LedgerEntry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class LedgerEntryTest : public QObject
{
    Q_OBJECT

private slots:
    void defaults()
    {
        const LedgerEntryPtr e = LedgerEntry::create();
        for (int v : {e->year(), e->month(), e->day(), e->hour(),
                      e->minute(), e->second(), e->orderNumber(), e->payment(),
                      e->deposit(), e->balance(), e->summaryKind(), e->status(), e->marked()})
            QCOMPARE(v, 0);
        for (const QString &s : {e->date(), e->time(), e->summary(), e->details(),
                                 e->paymentPrice(), e->depositPrice(), e->balancePrice()})
            QVERIFY(s.isEmpty());
        for (int i = 0; i <= 4; ++i)
            QVERIFY(e->reservedText(i).isEmpty());
        for (int i = 0; i < 3; ++i)
            QVERIFY(e->picture(i).isNull());
        QCOMPARE(e->latest(), e.data());
    }

    void priceFromAmount_data()
    {
        QTest::addColumn<int>("amount");
        QTest::addColumn<QString>("price");
        QTest::newRow("zero") << 0 << QString();
        QTest::newRow("negative") << -1500 << QString();
        QTest::newRow("three digits") << 999 << u"999円"_s;
        QTest::newRow("thousands") << 1500 << u"1,500円"_s;
        QTest::newRow("millions") << 1234567 << u"1,234,567円"_s;
        QTest::newRow("int max") << 2147483647 << u"2,147,483,647円"_s;
    }
    void priceFromAmount()
    {
        QFETCH(int, amount);
        QFETCH(QString, price);
        const LedgerEntryPtr e = LedgerEntry::create();
        e->setPayment(amount);
        e->setDeposit(amount);
        e->setBalance(amount);
        QCOMPARE(e->paymentPrice(), price);
        QCOMPARE(e->depositPrice(), price);
        QCOMPARE(e->balancePrice(), price);
    }

    void priceTextOverridesAmount()
    {
        const LedgerEntryPtr e = LedgerEntry::create();
        e->setPayment(1500);
        e->setPaymentPrice(u"1500 yen"_s);
        e->setDepositPrice(u"0円"_s);
        QCOMPARE(e->paymentPrice(), u"1500 yen"_s);
        QCOMPARE(e->depositPrice(), u"0円"_s);
        // Setting the computed text back returns to following the amount.
        e->setPaymentPrice(u"1,500円"_s);
        e->setPayment(2000);
        QCOMPARE(e->paymentPrice(), u"2,000円"_s);
    }

    void makeReplacementCopiesRecord()
    {
        const LedgerEntryPtr e = LedgerEntry::create();
        int n = 2026;
        for (auto set : {&LedgerEntry::setOperationYear, &LedgerEntry::setOperationMonth,
                         &LedgerEntry::setOperationDay, &LedgerEntry::setOperationHour,
                         &LedgerEntry::setOperationMinute, &LedgerEntry::setOperationSecond,
                         &LedgerEntry::setOperationOrder, &LedgerEntry::setPayment,
                         &LedgerEntry::setDeposit, &LedgerEntry::setBalance,
                         &LedgerEntry::setSummaryKind, &LedgerEntry::setStatus,
                         &LedgerEntry::setMarked})
            (e.data()->*set)(n++);
        e->setDate(u"2026/03/05"_s);
        e->setTime(u"09:05:07"_s);
        e->setSummary(u"振込手数料"_s);
        e->setImportedSummary(u"手数料"_s);
        e->setDetails(u"note"_s);
        e->setDepositPrice(u"three"_s);

        const LedgerEntryPtr copy = e->makeReplacement();
        QVERIFY(copy.data() != e.data());
        QVERIFY(copy->sameRecord(*e));
        QCOMPARE(copy->depositPrice(), u"three"_s);
        QCOMPARE(copy->importedSummary(), u"手数料"_s);
        QCOMPARE(copy->marked(), 2026 + 12);
        QVERIFY(!e->successor()); // making a replacement does not link it
        copy->setMarked(0);
        QVERIFY(!copy->sameRecord(*e));
    }

    void successorChain()
    {
        const LedgerEntryPtr a = LedgerEntry::create();
        const LedgerEntryPtr b = a->makeReplacement(), c = b->makeReplacement();
        a->setSuccessor(b);
        QCOMPARE(a->successor(), b.data());
        QCOMPARE(a->latest(), b.data());
        b->setSuccessor(c);
        QCOMPARE(a->latest(), c.data());
        QCOMPARE(c->latest(), c.data());
    }
};

QTEST_GUILESS_MAIN(LedgerEntryTest)
#include "LedgerEntryTest.moc"
