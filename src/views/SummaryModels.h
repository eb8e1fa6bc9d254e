#pragma once

#include "ledger/PeriodReport.h"

#include <QAbstractTableModel>
#include <QStringList>

// The Summary's table of periods: one row a period with the five figures, oldest first, and a
// total row at the bottom. It is given the ledger's months once (see PeriodReport::compute) and
// shows them by month or by year, over a range, without reading the ledger again.
class PeriodTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { PeriodColumn, EntriesColumn, PaidOutColumn, PaidInColumn, NetColumn,
                  ClosingColumn, ColumnCount };

    explicit PeriodTableModel(QObject *parent = nullptr);

    void setMonths(const QList<PeriodReport::Period> &months);
    const QList<PeriodReport::Period> &months() const { return m_months; }
    void setSpan(PeriodReport::Span span);
    PeriodReport::Span span() const { return m_span; }
    void setRange(const PeriodReport::MonthRange &range);

    // The shown periods, without the total row.
    const QList<PeriodReport::Period> &periods() const { return m_periods; }
    // The period of a row; null for the total row and rows out of range.
    const PeriodReport::Period *periodAt(int row) const;
    bool isTotalRow(int row) const { return row == m_periods.size() && row > 0; }
    // "2026/03" as the user's language writes a month ("2026年3月"), "2026" for a year.
    static QString periodName(const PeriodReport::Period &period);
    // The months of the shown range that hold entries of the period's year.
    int monthsWithEntries(const PeriodReport::Period &period) const;
    // A year that holds entries in fewer than its twelve months: its sums are not a whole year's.
    bool isPartial(const PeriodReport::Period &period) const;
    // The period's name as the table and the chart show it: a partial year says so.
    QString periodLabel(const PeriodReport::Period &period) const;
    QStringList periodLabels() const;
    // The figures of the shown periods for the status bar; empty when there are none.
    QString statusText() const;
    // The exact figures of a period on lines of their own, for a tooltip.
    static QString describe(const PeriodReport::Period &period);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void regroup();

    QList<PeriodReport::Period> m_months;
    QList<PeriodReport::Period> m_periods;
    PeriodReport::Sums m_total;
    PeriodReport::Span m_span = PeriodReport::Span::Month;
    PeriodReport::MonthRange m_range;
};

// The figures of one period by summary kind, a row a kind in the reports' order.
class KindTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { KindColumn, EntriesColumn, PaidOutColumn, PaidInColumn, NetColumn, ColumnCount };
    // The summary-kind code of a row, for the colour the preferences give it.
    static constexpr int KindRole = Qt::UserRole + 1;

    explicit KindTableModel(QObject *parent = nullptr);
    // No period (null) shows an empty table.
    void setPeriod(const PeriodReport::Period *period);
    static QString kindLabel(PeriodReport::Kind kind);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool m_hasPeriod = false;
    std::array<PeriodReport::Sums, PeriodReport::kKindCount> m_sums;
};
