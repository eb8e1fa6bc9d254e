#pragma once

#include <QAbstractTableModel>

class Controller;

// The ledger table's rows: the shown list of the controller, one entry a row, answered straight
// from the list (no copies), so a million-entry ledger scrolls as fast as a small one.
// Colours are left to the window: the model tells each row's summary kind and mark.
class BankbookTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { DateColumn, TimeColumn, SummaryColumn, PaymentColumn, DepositColumn,
                  BalanceColumn, DetailsColumn, ColumnCount };
    // GapRole: on the balance of an entry right after a gap in the balances, the gap's
    // difference (qint64); nothing elsewhere. SummaryEditedRole: on a summary the user edited,
    // true (its tooltip gives the bank's text).
    enum Role { SummaryKindRole = Qt::UserRole + 1, MarkedRole, GapRole, SummaryEditedRole };

    explicit BankbookTableModel(Controller *controller, QObject *parent = nullptr);

    // "date", "time", "summary", "payment", "deposit", "balance", "details".
    static QString columnIdentifier(int column);
    // The column of an identifier; the Date column for none.
    static int columnOf(QStringView identifier);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    Controller *m_controller;
};
