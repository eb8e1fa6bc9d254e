// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ledger/PeriodReport.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>

// What the Summary chart's axes say: the unit its amounts are counted in, and which periods get
// a label so that no two labels meet.
namespace ChartAxes {

// The amounts are plotted divided by `divisor`, and the axis is titled with the unit.
struct AmountUnit {
    qint64 divisor = 1;
    QString title;
};
// Yen, or in Japanese 万円 once the largest amount reaches a million yen: "1,200万" reads at a
// glance where "12,000,000" needs its digits counted.
AmountUnit amountUnit(qint64 largestMagnitude, const QLocale &locale = QLocale());

struct PeriodLabel {
    int index; // of the period
    QString text;
};
// The periods to label across `available` pixels, with the width of a text: every period when
// their names fit side by side, otherwise every 2nd, 3rd, 4th or 6th month (January, April, …)
// or, sparser still, the years alone. Upright labels that never meet.
QList<PeriodLabel> periodLabels(const QList<PeriodReport::Period> &periods,
                                const QStringList &names, qreal available,
                                const std::function<qreal(const QString &)> &width);

} // namespace ChartAxes
