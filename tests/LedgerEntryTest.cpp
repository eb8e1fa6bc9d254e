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

    // The texts that the numbers or the summary give are not stored, yet read back as they were
    // set, also once the numbers or the summary change; null stays apart from empty.
    void textsReadBackAsSet()
    {
        const LedgerEntryPtr e = LedgerEntry::create();
        e->setYear(2026); e->setMonth(3); e->setDay(5); e->setHour(9); e->setMinute(5);
        QVERIFY(e->date().isNull() && e->time().isNull() && e->importedSummary().isNull());
        e->setDate(u"2026/03/05"_s); e->setTime(u"09:05:00"_s);
        e->setSummary(u"ATM"_s); e->setImportedSummary(u"ATM"_s);
        QVERIFY(e->hasDateFromNumbers() && e->hasTimeFromNumbers() && !e->hasOutOfLineFields());
        e->setDay(6); e->setSecond(1); e->setSummary(u"cash"_s);
        QCOMPARE(e->date() + e->time() + e->importedSummary(), u"2026/03/0509:05:00ATM"_s);
        e->setTime(u""_s);
        QVERIFY(!e->time().isNull() && e->time().isEmpty() && e->details().isNull());
        QVERIFY(e->makeReplacement()->sameRecord(*e));
    }
};

QTEST_GUILESS_MAIN(LedgerEntryTest)
#include "LedgerEntryTest.moc"
