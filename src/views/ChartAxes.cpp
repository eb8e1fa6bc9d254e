// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartAxes.h"

#include <QCoreApplication>

using PeriodReport::Period;

namespace ChartAxes {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ChartAxes", text);
}

// Room between two labels, in pixels.
constexpr qreal kGap = 12;

// Whether labels at these periods, each centred on its slot, keep apart.
bool fits(const QList<PeriodLabel> &labels, qreal slot,
          const std::function<qreal(const QString &)> &width)
{
    for (qsizetype i = 1; i < labels.size(); ++i) {
        const qreal apart = slot * (labels[i].index - labels[i - 1].index);
        if (apart < (width(labels[i].text) + width(labels[i - 1].text)) / 2 + kGap)
            return false;
    }
    return labels.size() != 1 || width(labels[0].text) <= slot * 2 + kGap;
}

} // namespace

AmountUnit amountUnit(qint64 largestMagnitude, const QLocale &locale)
{
    if (locale.language() == QLocale::Japanese && largestMagnitude >= 1'000'000)
        return {10'000, tr("10,000 yen")};
    return {1, tr("Yen")};
}

QList<PeriodLabel> periodLabels(const QList<Period> &periods, const QStringList &names,
                                qreal available, const std::function<qreal(const QString &)> &width)
{
    if (periods.isEmpty())
        return {};
    const qreal slot = available / qreal(periods.size());
    const bool months = !periods.constFirst().wholeYear;
    // Months at steps that divide the year, so that the same months are labelled each year;
    // then years (a month period's label becomes its year) at steps of 1, 2, 5, 10, ...
    const QList<int> monthSteps = months ? QList<int>{1, 2, 3, 4, 6} : QList<int>{};
    for (int step : monthSteps) {
        QList<PeriodLabel> labels;
        for (int i = 0; i < periods.size(); ++i) {
            if (step == 1 || (periods[i].month - 1) % step == 0)
                labels.append({i, names.value(i)});
        }
        if (fits(labels, slot, width))
            return labels;
    }
    QList<PeriodLabel> labels;
    for (int step = 1;; step = step == 1 ? 2 : step == 2 ? 5 : step * 2) {
        labels.clear();
        int lastYear = 0;
        for (int i = 0; i < periods.size(); ++i) {
            const Period &p = periods[i];
            if (p.year == lastYear || p.year % step != 0)
                continue;
            lastYear = p.year;
            labels.append({i, months ? QString::number(p.year) : names.value(i)});
        }
        if (labels.size() <= 1 || fits(labels, slot, width))
            return labels;
    }
}

} // namespace ChartAxes
