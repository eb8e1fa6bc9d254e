#include "BankbookTableModel.h"

#include "Controller.h"
#include "StatusTexts.h"

BankbookTableModel::BankbookTableModel(Controller *controller, QObject *parent)
    : QAbstractTableModel(parent)
    , m_controller(controller)
{
    connect(controller, &Controller::reloadRequested, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(controller, &Controller::bankChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(controller, &Controller::rowChanged, this, [this](int row) {
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    });
}

QString BankbookTableModel::columnIdentifier(int column)
{
    static const char16_t *ids[] = {u"date",    u"time",    u"summary", u"payment",
                                    u"deposit", u"balance", u"details"};
    return column >= 0 && column < ColumnCount ? QString::fromUtf16(ids[column]) : QString();
}

int BankbookTableModel::columnOf(QStringView identifier)
{
    for (int column = 0; column < ColumnCount; ++column) {
        if (columnIdentifier(column) == identifier)
            return column;
    }
    return DateColumn;
}

int BankbookTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_controller->view().rowCount());
}

int BankbookTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BankbookTableModel::data(const QModelIndex &index, int role) const
{
    const LedgerEntry entry = m_controller->view().entryAt(index.row());
    if (entry.id() == 0)
        return {};
    const LedgerEntry *e = &entry;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case DateColumn: return e->date();
        case TimeColumn: return e->time();
        case SummaryColumn: return e->summary();
        case PaymentColumn: return e->paymentPrice();
        case DepositColumn: return e->depositPrice();
        case BalanceColumn: return e->balancePrice();
        case DetailsColumn: return e->details();
        default: return {};
        }
    case Qt::TextAlignmentRole:
        if (index.column() >= PaymentColumn && index.column() <= BalanceColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case SummaryKindRole:
        return e->summaryKind();
    case MarkedRole:
        return e->marked() == 1;
    case SummaryEditedRole:
        return index.column() == SummaryColumn && e->isSummaryEdited();
    case GapRole:
    case Qt::ToolTipRole: {
        if (role == Qt::ToolTipRole && index.column() == SummaryColumn && e->isSummaryEdited())
            return tr("Edited. The bank's text: %1").arg(e->importedSummary());
        if (index.column() != BalanceColumn)
            return {};
        const std::optional<qint64> gap = m_controller->balances().gapBefore(e->id());
        if (!gap)
            return {};
        if (role == GapRole)
            return QVariant::fromValue(*gap);
        return tr("Statement lines are missing before this entry: its balance differs by %1 "
                  "from the %2 that follows from the entry before.")
            .arg((*gap > 0 ? QStringLiteral("+") : QString()) + StatusTexts::yen(*gap),
                 StatusTexts::yen(qint64(e->balance()) - *gap));
    }
    default:
        return {};
    }
}

QVariant BankbookTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    // The amounts' titles stand over them, on the right.
    if (role == Qt::TextAlignmentRole)
        return section >= PaymentColumn && section <= BalanceColumn
                   ? int(Qt::AlignRight | Qt::AlignVCenter)
                   : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case DateColumn: return tr("Date");
    case TimeColumn: return tr("Time");
    case SummaryColumn: return tr("Summary");
    case PaymentColumn: return tr("Payment");
    case DepositColumn: return tr("Deposit");
    case BalanceColumn: return tr("Balance");
    case DetailsColumn: return tr("Details");
    default: return {};
    }
}

Qt::ItemFlags BankbookTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (Controller::isEditableColumn(columnIdentifier(index.column())))
        f |= Qt::ItemIsEditable;
    return f;
}

bool BankbookTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole)
        return false;
    return m_controller->editEntry(index.row(), columnIdentifier(index.column()),
                                   value.toString());
}
