#include "ledger/LedgerEntry.h"

#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

using EntryChange = std::function<void(LedgerEntry &)>;
Q_DECLARE_METATYPE(EntryChange)

namespace {

// An entry with every field set, none of them to its default.
LedgerEntry fullEntry()
{
    LedgerEntry e;
    e.setYear(2026); e.setMonth(3); e.setDay(5); e.setHour(9); e.setMinute(5); e.setSecond(7);
    e.setDate(u"2026/03/05"_s); e.setTime(u"09:05:07"_s);
    e.setOrderNumber(12); e.setPayment(1500); e.setDeposit(20); e.setBalance(98765);
    e.setSummaryKind(1); e.setStatus(3); e.setMarked(1);
    e.setSummary(u"cash"_s); e.setImportedSummary(u"ATM 引出"_s); e.setDetails(u"a note"_s);
    e.setDepositPrice(u"20 yen"_s);
    e.setReservedText(2, u"free"_s); e.setPicture(1, QByteArray("png"));
    return e;
}

} // namespace

class LedgerEntryTest : public QObject
{
    Q_OBJECT

private slots:
    // The migration and the tests compare entries with sameRecord: a field it forgets makes a
    // lost field look kept.
    void sameRecordComparesEveryField_data()
    {
        QTest::addColumn<EntryChange>("change"); QTest::addColumn<bool>("same");
        const auto row = [](const char *name, EntryChange change, bool same = false) {
            QTest::newRow(name) << change << same;
        };
        row("the id is left out", [](LedgerEntry &e) { e.setId(42); }, true);
        row("year", [](LedgerEntry &e) { e.setYear(2025); });
        row("second", [](LedgerEntry &e) { e.setSecond(8); });
        row("date text", [](LedgerEntry &e) { e.setDate(u"2026/3/5"_s); });
        row("time text", [](LedgerEntry &e) { e.setTime(u"9:05"_s); });
        row("order number", [](LedgerEntry &e) { e.setOrderNumber(13); });
        row("payment", [](LedgerEntry &e) { e.setPayment(1501); });
        row("deposit", [](LedgerEntry &e) { e.setDeposit(21); });
        row("balance", [](LedgerEntry &e) { e.setBalance(98764); });
        row("summary kind", [](LedgerEntry &e) { e.setSummaryKind(2); });
        row("status", [](LedgerEntry &e) { e.setStatus(0); });
        row("mark", [](LedgerEntry &e) { e.setMarked(0); });
        row("summary", [](LedgerEntry &e) { e.setSummary(u"ATM 引出"_s); });
        row("imported summary", [](LedgerEntry &e) { e.setImportedSummary(u"cash"_s); });
        row("note", [](LedgerEntry &e) { e.setDetails(u"another"_s); });
        row("price text", [](LedgerEntry &e) { e.setDepositPrice(u"20円"_s); });
        row("balance text", [](LedgerEntry &e) { e.setBalancePrice(u"98,765 yen"_s); });
        row("reserved text", [](LedgerEntry &e) { e.setReservedText(4, u"x"_s); });
        row("picture", [](LedgerEntry &e) { e.setPicture(1, QByteArray("gif")); });
        row("an empty picture is not none", [](LedgerEntry &e) { e.setPicture(0, QByteArray("")); });
    }
    void sameRecordComparesEveryField()
    {
        QFETCH(EntryChange, change); QFETCH(bool, same);
        const LedgerEntry original = fullEntry();
        LedgerEntry changed = original;
        change(changed);
        QCOMPARE(changed.sameRecord(original), same);
        QCOMPARE(original.sameRecord(changed), same);
    }

    // Texts set as the numbers give them follow the numbers and are not kept; a number that
    // changes later leaves the text as it was. A price set as its amount gives it follows the
    // amount again, and no amount has no price. Null stays apart from empty.
    void textsReadBackAsSet()
    {
        LedgerEntry e;
        e.setYear(2026); e.setMonth(3); e.setDay(5); e.setHour(9); e.setMinute(5);
        QVERIFY(e.date().isNull() && e.time().isNull() && e.importedSummary().isNull());
        e.setDate(u"2026/03/05"_s); e.setTime(u"09:05:00"_s);
        e.setDay(6); e.setSecond(1);
        QCOMPARE(e.date() + e.time(), u"2026/03/0509:05:00"_s);
        e.setTime(u""_s);
        QVERIFY(!e.time().isNull() && e.time().isEmpty() && e.details().isNull());
        e.setBalance(2035); e.setBalancePrice(u"2,035円"_s); e.setBalance(-7);
        QCOMPARE(e.balancePrice(), QString());
    }
};

QTEST_GUILESS_MAIN(LedgerEntryTest)
#include "LedgerEntryTest.moc"
