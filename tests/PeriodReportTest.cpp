// Period totals through real imports into a ledger database.

#include "TestSupport.h"
#include "ledger/PeriodReport.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <tuple>

using namespace Qt::StringLiterals;
using namespace PeriodReport;

namespace {

// "2026-03 3 out 10110 in 5 net -10105 close 89895" a period; a year has no month.
QStringList describe(const QList<Period> &periods)
{
    QStringList out;
    for (const Period &p : periods) {
        out << u"%1 %2 out %3 in %4 net %5 close %6"_s
                   .arg(!p.wholeYear ? u"%1-%2"_s.arg(p.year).arg(p.month, 2, 10, QChar(u'0'))
                                     : QString::number(p.year))
                   .arg(p.sums.entries).arg(p.sums.paidOut).arg(p.sums.paidIn).arg(p.sums.net())
                   .arg(p.closingBalance);
    }
    return out;
}

// Around midnight of the new year; the last three lines share one second, orders 9, 10, 11.
const QStringList kTurnOfYear{
    jnbLine(2025, 12, 31, 23, 59, 59, 1, u"ATM引出し"_s, 1000, 0, 9000),
    jnbLine(2026, 1, 1, 0, 0, 0, 2, u"利息"_s, 0, 3, 9003),
    jnbLine(2026, 1, 31, 23, 59, 59, 9, u"x"_s, 0, 100, 9103),
    jnbLine(2026, 1, 31, 23, 59, 59, 10, u"y"_s, 200, 0, 8903),
    jnbLine(2026, 2, 1, 0, 0, 0, 11, u"z"_s, 2000000000, 2000000000, 8903),
    jnbLine(2026, 2, 1, 0, 0, 0, 12, u"z2"_s, 2000000000, 0, 7000)};

} // namespace

class PeriodReportTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LedgerDatabase m_database;

private slots:
    void periods_data()
    {
        QTest::addColumn<QStringList>("files"); // "eBANK" first: an eBANK file
        QTest::addColumn<bool>("newestFirst"); // each file's lines listed the other way round
        QTest::addColumn<bool>("byYear");
        QTest::addColumn<QList<qint64>>("range"); // the first and last months' keys, none for all
        QTest::addColumn<QStringList>("expected");
        const QStringList months{u"2025-12 1 out 1000 in 0 net -1000 close 9000"_s,
                                 // "10" sorts before "9": order 9 is the month's last
                                 u"2026-01 3 out 200 in 103 net -97 close 9103"_s,
                                 // beyond 32 bits
                                 u"2026-02 2 out 4000000000 in 2000000000 net -2000000000 "
                                 u"close 7000"_s};
        const QString turn = kTurnOfYear.join(u'\n');
        QTest::newRow("months") << QStringList{turn} << false << false << QList<qint64>{} << months;
        QTest::newRow("years")
            << QStringList{turn} << true << true << QList<qint64>{}
            << QStringList{u"2025 1 out 1000 in 0 net -1000 close 9000"_s,
                           u"2026 5 out 4000000200 in 2000000103 net -2000000097 close 7000"_s};
        QTest::newRow("one month") << QStringList{turn} << false << false
                                   << QList{monthKey(2026, 1), monthKey(2026, 1)} << months.mid(1, 1);
        QTest::newRow("range, year") << QStringList{turn} << false << true
                                     << QList{monthKey(2025, 1), monthKey(2026, 1)}
                                     << QStringList{u"2025 1 out 1000 in 0 net -1000 close 9000"_s,
                                                    u"2026 3 out 200 in 103 net -97 close 9103"_s};
        QTest::newRow("range without entries") << QStringList{turn} << false << false
                                               << QList{monthKey(2026, 3), monthKey(2027, 12)} << QStringList{};
        // eBANK has no time: a day's entries compare the same, the one listed last closes,
        // also when a later file brings an earlier day.
        const QString march = QStringList{ebankLine(2026, 3, 31, 5000, 5000, u"a"_s),
                                          ebankLine(2026, 3, 31, -1000, 4000, u"b"_s),
                                          ebankLine(2026, 3, 31, -500, 3500, u"c"_s)}.join(u'\n');
        const QString earlier = ebankLine(2026, 3, 30, 100, 100, u"d"_s);
        const QStringList ebankMonths{u"2026-03 4 out 1500 in 5100 net 3600 close 3500"_s,
                                      u"2026-04 1 out 0 in 1 net 1 close 3501"_s};
        const QStringList ebankFiles{u"eBANK"_s + march, u"eBANK"_s + earlier,
                                     u"eBANK"_s + ebankLine(2026, 4, 1, 1, 3501, u"e"_s)};
        QTest::newRow("eBANK") << ebankFiles << false << false << QList<qint64>{} << ebankMonths;
        // Listed the other way round, the day's first line is the one listed last.
        QTest::newRow("eBANK, newest first") << ebankFiles << true << false << QList<qint64>{}
            << QStringList{u"2026-03 4 out 1500 in 5100 net 3600 close 5000"_s, ebankMonths[1]};
    }
    void periods()
    {
        QFETCH(QStringList, files); QFETCH(bool, newestFirst); QFETCH(bool, byYear);
        QFETCH(QList<qint64>, range); QFETCH(QStringList, expected);
        QVERIFY(importTestFiles(m_database, m_dir.filePath(u"db"_s), files, newestFirst));
        const Bank bank = files.first().startsWith(u"eBANK") ? Bank::Ebank : Bank::Jnb;
        const Span span = byYear ? Span::Year : Span::Month;
        const MonthRange months = range.isEmpty() ? MonthRange{} : MonthRange{range[0], range[1]};
        QCOMPARE(describe(compute(m_database, bank, span, months)), expected);
        // The same from the months, regrouped as a window does.
        QCOMPARE(describe(regroup(compute(m_database, bank, Span::Month), span, months)), expected);
    }

    // Dates no statement gives, as a crafted or older database may hold them: an entry dated
    // 0/0/0 has its own month, and the largest years count without overflowing.
    void extremeDatesKeepTheirPeriods()
    {
        QVERIFY(importTestFiles(m_database, m_dir.filePath(u"db"_s), {}));
        const int max = std::numeric_limits<int>::max(), min = std::numeric_limits<int>::min();
        QList<LedgerEntry> entries;
        for (const auto &[year, month, day] : {std::tuple{min, 12, 31}, {0, 0, 0}, {1, 1, 1}, {max, 12, 31}}) {
            LedgerEntry e;
            e.setYear(year), e.setMonth(month), e.setDay(day);
            e.setPayment(1), e.setBalance(int(entries.size()) + 1);
            entries << e;
        }
        QVERIFY(m_database.insertEntries(Bank::Jnb, entries, nullptr));
        const QStringList months{QString::number(min) + u"-12"_s, u"0-00"_s, u"1-01"_s, QString::number(max) + u"-12"_s};
        const QStringList years{QString::number(min), u"0"_s, u"1"_s, QString::number(max)};
        QStringList got, expected;
        for (const Span span : {Span::Month, Span::Year})
            got << describe(compute(m_database, Bank::Jnb, span));
        for (int i = 0; i < 8; ++i)
            expected << u"%1 1 out 1 in 0 net -1 close %2"_s.arg((i < 4 ? months : years)[i % 4]).arg(i % 4 + 1);
        QCOMPARE(got, expected);
    }

    // Each summary kind adds up on its own; a marked entry counts like any other.
    void kindsAndMarks()
    {
        QVERIFY(importTestFiles(m_database, m_dir.filePath(u"db"_s), {kTurnOfYear.mid(0, 4).join(u'\n')}));
        const QList<qint64> ids = m_database.entryIds(Bank::Jnb, EntryFilter::all(), Qt::AscendingOrder);
        QVERIFY(m_database.setMarked(ids.first(), 1, nullptr));
        QCOMPARE(compute(m_database, Bank::Ebank, Span::Year).size(), 0); // the other account
        const QList<Period> years = compute(m_database, Bank::Jnb, Span::Year);
        QCOMPARE(years.size(), 2);
        const Period &y2026 = years.at(1);
        const auto sums = [&](Kind k) {
            const Sums &s = y2026.byKind[size_t(k)];
            return QList<qint64>{s.entries, s.paidOut, s.paidIn};
        };
        QCOMPARE(sums(Kind::Interest), (QList<qint64>{1, 0, 3}));
        QCOMPARE(sums(Kind::Other), (QList<qint64>{2, 200, 100}));
        QCOMPARE(years.at(0).byKind[size_t(Kind::Atm)].entries, 1); // the marked entry
        QCOMPARE(total(years).entries, 4);
    }
};

QTEST_GUILESS_MAIN(PeriodReportTest)
#include "PeriodReportTest.moc"
