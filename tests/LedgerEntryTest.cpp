#include "ledger/LedgerEntry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class LedgerEntryTest : public QObject
{
    Q_OBJECT

private slots:
    void replacementCarriesTheRecord()
    {
        const LedgerEntryPtr e = LedgerEntry::create();
        int n = 2026;
        for (auto set : {&LedgerEntry::setYear, &LedgerEntry::setMonth, &LedgerEntry::setDay,
                         &LedgerEntry::setHour, &LedgerEntry::setMinute, &LedgerEntry::setSecond,
                         &LedgerEntry::setOrderNumber, &LedgerEntry::setPayment,
                         &LedgerEntry::setDeposit, &LedgerEntry::setBalance,
                         &LedgerEntry::setSummaryKind, &LedgerEntry::setStatus, &LedgerEntry::setMarked})
            (e.data()->*set)(n++);
        for (auto set : {&LedgerEntry::setDate, &LedgerEntry::setTime, &LedgerEntry::setSummary,
                         &LedgerEntry::setImportedSummary, &LedgerEntry::setDetails,
                         &LedgerEntry::setDepositPrice, &LedgerEntry::setBalancePrice})
            (e.data()->*set)(QString::number(n++));
        e->setReservedText(2, u"free"_s); e->setPicture(1, QByteArray("png"));
        // A price is the grouped amount and the yen sign, unless a text of its own was set.
        QCOMPARE(e->paymentPrice() + e->depositPrice(), u"2,033円2044"_s);

        const LedgerEntryPtr copy = e->makeReplacement();
        QVERIFY(!e->successor()); // making a replacement does not link it
        QVERIFY(copy->reservedText(2).isEmpty() && copy->picture(1).isNull()); // free fields: empty
        e->setReservedText(2, QString()); e->setPicture(1, QByteArray());
        QVERIFY(copy->sameRecord(*e));
        copy->setMarked(0);
        QVERIFY(!copy->sameRecord(*e));
        // Setting the text the amount gives follows the amount again; no price for no amount.
        copy->setBalancePrice(u"2,035円"_s); copy->setBalance(-7);
        QCOMPARE(copy->balancePrice(), QString());
    }
};

QTEST_GUILESS_MAIN(LedgerEntryTest)
#include "LedgerEntryTest.moc"
