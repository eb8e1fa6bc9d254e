#include "SummaryModels.h"

#include "StatusTexts.h"
#include "StringTable.h"

#include <QCoreApplication>
#include <QDate>

#include <algorithm>

using namespace PeriodReport;

namespace {

// A number, right-aligned.
QVariant numberCell(const QString &text, int role)
{
    if (role == Qt::DisplayRole)
        return text;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant amountCell(qint64 amount, int role)
{
    return numberCell(StatusTexts::yen(amount), role);
}

// Entries, paid out, paid in, net: columns 1 to 4 of both tables.
QVariant sumsCell(const Sums &sums, int column, int role)
{
    if (column == 1)
        return numberCell(QString::number(sums.entries), role);
    const qint64 amounts[] = {sums.paidOut, sums.paidIn, sums.net()};
    return amountCell(amounts[column - 2], role);
}

// The headings of columns 1 to 4 of both tables.
QVariant sumsHeading(int column)
{
    switch (column) {
    case PeriodTableModel::EntriesColumn:
        return QCoreApplication::translate("PeriodTableModel", "Entries");
    case PeriodTableModel::PaidOutColumn:
        return QCoreApplication::translate("PeriodTableModel", "Payment");
    case PeriodTableModel::PaidInColumn:
        return QCoreApplication::translate("PeriodTableModel", "Deposit");
    case PeriodTableModel::NetColumn:
        return QCoreApplication::translate("PeriodTableModel", "Net");
    }
    return {};
}

} // namespace

PeriodTableModel::PeriodTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void PeriodTableModel::setMonths(const QList<Period> &months)
{
    m_months = months;
    regroup();
}

void PeriodTableModel::setSpan(Span span)
{
    m_span = span;
    regroup();
}

void PeriodTableModel::setRange(const MonthRange &range)
{
    m_range = range;
    regroup();
}

void PeriodTableModel::regroup()
{
    beginResetModel();
    m_periods = PeriodReport::regroup(m_months, m_span, m_range);
    m_total = total(m_periods);
    endResetModel();
}

const Period *PeriodTableModel::periodAt(int row) const
{
    return row >= 0 && row < m_periods.size() ? &m_periods.at(row) : nullptr;
}

QString PeriodTableModel::periodName(const Period &period)
{
    if (period.wholeYear)
        return QString::number(period.year);
    return StringTable::monthName(period.year, period.month);
}

QString PeriodTableModel::describe(const Period &period)
{
    return tr("%1\nPayment: %2\nDeposit: %3\nNet: %4\nClosing balance: %5\n%n entries", nullptr,
              int(period.sums.entries))
        .arg(periodName(period), StatusTexts::yen(period.sums.paidOut),
             StatusTexts::yen(period.sums.paidIn), StatusTexts::yen(period.sums.net()),
             StatusTexts::yen(period.closingBalance));
}

int PeriodTableModel::monthsWithEntries(const Period &period) const
{
    return int(std::ranges::count_if(m_months, [&](const Period &month) {
        return month.year == period.year && (period.wholeYear || month.month == period.month)
               && m_range.contains(month.key());
    }));
}

bool PeriodTableModel::isPartial(const Period &period) const
{
    return period.wholeYear && monthsWithEntries(period) < 12;
}

QString PeriodTableModel::periodLabel(const Period &period) const
{
    //: A year that holds entries in fewer than its twelve months: "2025 (partial)".
    return isPartial(period) ? tr("%1 (partial)").arg(periodName(period)) : periodName(period);
}

QStringList PeriodTableModel::periodLabels() const
{
    QStringList labels;
    for (const Period &period : m_periods)
        labels.append(periodLabel(period));
    return labels;
}

QString PeriodTableModel::statusText() const
{
    if (m_periods.isEmpty())
        return QString();
    ListTotals totals;
    totals.count = m_total.entries;
    totals.payments = m_total.paidOut;
    totals.deposits = m_total.paidIn;
    const QString first = periodName(m_periods.constFirst());
    const QString last = periodName(m_periods.constLast());
    //: The Summary's range in the status bar, before its figures: "2025-04 to 2026-03: …".
    const QString range = first == last ? first : tr("%1 to %2").arg(first, last);
    return tr("%1: %2").arg(range, StatusTexts::totals(totals));
}

int PeriodTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || m_periods.isEmpty())
        return 0;
    return int(m_periods.size()) + 1;
}

int PeriodTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PeriodTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const Period *period = periodAt(index.row());
    const Sums &sums = period ? period->sums : m_total;
    switch (index.column()) {
    case PeriodColumn:
        if (role == Qt::DisplayRole)
            return period ? periodLabel(*period) : tr("Total");
        if (role == Qt::ToolTipRole && period && isPartial(*period))
            return tr("Entries in %n of the year's 12 months", nullptr,
                      monthsWithEntries(*period));
        return {};
    case ClosingColumn:
        // The total's closing balance is the last period's.
        return m_periods.isEmpty()
            ? QVariant()
            : amountCell(period ? period->closingBalance : m_periods.constLast().closingBalance,
                         role);
    default:
        return sumsCell(sums, index.column(), role);
    }
}

QVariant PeriodTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == PeriodColumn)
        return m_span == Span::Month ? tr("Month") : tr("Year");
    if (section == ClosingColumn)
        return tr("Closing balance");
    return sumsHeading(section);
}

KindTableModel::KindTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void KindTableModel::setPeriod(const Period *period)
{
    beginResetModel();
    m_hasPeriod = period != nullptr;
    if (period)
        m_sums = period->byKind;
    endResetModel();
}

QString KindTableModel::kindLabel(Kind kind)
{
    switch (kind) {
    case Kind::Atm:
        return tr("ATM");
    case Kind::Commission:
        return tr("Commission");
    case Kind::Interest:
        return tr("Interest");
    case Kind::Yahoo:
        return tr("Yahoo");
    case Kind::Other:
        break;
    }
    return tr("Other");
}

int KindTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_hasPeriod ? 0 : kKindCount;
}

int KindTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant KindTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Kind kind = kKindOrder[size_t(index.row())];
    if (role == KindRole)
        return int(kind);
    if (index.column() == KindColumn)
        return role == Qt::DisplayRole ? QVariant(kindLabel(kind)) : QVariant();
    return sumsCell(m_sums[size_t(kind)], index.column(), role);
}

QVariant KindTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == KindColumn ? QVariant(tr("Kind")) : sumsHeading(section);
}
