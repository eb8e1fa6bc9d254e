#pragma once

#include "ledger/PeriodReport.h"

#include <QChartView>

struct ColourScheme;
class QBarSet;

// The Summary's chart: paid in and paid out as bars per period and the closing balance as a
// line over them, with the exact figures in tooltips. It draws one point and two bars a period,
// at most kMaxPeriods periods (the latest), so a ledger of any size draws quickly.
class BalanceChart : public QChartView
{
    Q_OBJECT

public:
    static constexpr int kMaxPeriods = 1500;

    explicit BalanceChart(QWidget *parent = nullptr);

    // The periods with the names their labels give them.
    void setPeriods(const QList<PeriodReport::Period> &periods, const QStringList &names);
    // Paid in in the interest colour, paid out in the commission colour, the balance in the ATM
    // colour: the colours the preferences give money coming, going and moved.
    void setColours(const ColourScheme &colours);
    // The dark chart theme under a dark window, the light one otherwise.
    void setDark(bool dark);
    // The chart as a PNG or SVG file, told by the file's suffix; false with the reason.
    bool saveImage(const QString &path, QString *error);
    // The chart painted into the rectangle (printing, SVG).
    void paintChart(QPainter *painter, const QRectF &target);
    // The period under a point of the viewport; -1 outside the plot.
    int periodAt(const QPoint &position) const;

protected:
    bool viewportEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void rebuild();
    // The period labels for the chart's present width.
    void relabel();

    QList<PeriodReport::Period> m_periods;
    QStringList m_names;
    QAbstractSeries *m_line = nullptr;
    QAbstractAxis *m_labels = nullptr;
    bool m_dark = false;
    QColor m_paidIn, m_paidOut, m_balance;
};
