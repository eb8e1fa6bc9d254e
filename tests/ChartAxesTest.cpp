// SPDX-License-Identifier: GPL-3.0-or-later
// The Summary chart's axes: the unit of its amounts, and which periods carry a label at a width.

#include "views/ChartAxes.h"

#include <QTest>

using namespace Qt::StringLiterals;
using PeriodReport::Period;

class ChartAxesTest : public QObject
{
    Q_OBJECT

private slots:
    void amountUnit_data()
    {
        QTest::addColumn<QLocale>("locale"); QTest::addColumn<qint64>("largest");
        QTest::addColumn<qint64>("divisor");
        const QLocale en(QLocale::English), ja(QLocale::Japanese);
        QTest::newRow("English, millions: yen") << en << qint64(25'000'000) << qint64(1);
        QTest::newRow("Japanese below a million: 円") << ja << qint64(999'999) << qint64(1);
        QTest::newRow("Japanese from a million: 万円") << ja << qint64(1'000'000) << qint64(10'000);
    }
    void amountUnit()
    {
        QFETCH(QLocale, locale); QFETCH(qint64, largest); QFETCH(qint64, divisor);
        QCOMPARE(ChartAxes::amountUnit(largest, locale).divisor, divisor);
    }

    // Names 8 pixels a character: "2026/03" is 56 pixels, "2026" 32; labels keep 12 apart.
    void periodLabels_data()
    {
        QTest::addColumn<bool>("byMonth");
        QTest::addColumn<int>("count"); // periods from January 2020 (or the year 2020) on
        QTest::addColumn<qreal>("available"); QTest::addColumn<int>("labelled");
        QTest::addColumn<QString>("firstLabels");
        QTest::newRow("3 months, room for all") << true << 3 << 600.0 << 3
                                                << u"2020/01 2020/02 2020/03"_s;
        QTest::newRow("24 months in 400: every sixth") << true << 24 << 400.0 << 4
                                                       << u"2020/01 2020/07 2021/01"_s;
        QTest::newRow("8 years in 300: every other") << false << 8 << 300.0 << 4
                                                     << u"2020 2022 2024"_s;
        QTest::newRow("120 months in 600: the years") << true << 120 << 600.0 << 10
                                                      << u"2020 2021 2022"_s;
        QTest::newRow("600 months in 600: every 5th year") << true << 600 << 600.0 << 10
                                                           << u"2020 2025 2030"_s;
    }
    void periodLabels()
    {
        QFETCH(bool, byMonth); QFETCH(int, count); QFETCH(qreal, available); QFETCH(int, labelled);
        QFETCH(QString, firstLabels);
        QList<Period> periods;
        QStringList names;
        for (int i = 0; i < count; ++i) {
            Period p;
            p.year = 2020 + (byMonth ? i / 12 : i);
            p.month = byMonth ? i % 12 + 1 : 0;
            p.wholeYear = !byMonth;
            periods.append(p);
            names.append(byMonth ? u"%1/%2"_s.arg(p.year).arg(p.month, 2, 10, QLatin1Char('0'))
                                 : QString::number(p.year));
        }
        const auto width = [](const QString &text) { return qreal(text.size() * 8); };
        const QList<ChartAxes::PeriodLabel> labels =
            ChartAxes::periodLabels(periods, names, available, width);
        QStringList first;
        for (const ChartAxes::PeriodLabel &label : labels.first(qMin(3, labels.size())))
            first << label.text;
        QCOMPARE(first.join(u' '), firstLabels);
        QCOMPARE(labels.size(), labelled);
        // Whatever was chosen, neighbours never meet.
        const qreal slot = available / count;
        for (qsizetype i = 1; i < labels.size(); ++i) {
            QVERIFY(slot * (labels[i].index - labels[i - 1].index)
                    >= (width(labels[i].text) + width(labels[i - 1].text)) / 2);
        }
    }
};

QTEST_GUILESS_MAIN(ChartAxesTest)
#include "ChartAxesTest.moc"
