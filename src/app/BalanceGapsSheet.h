#pragma once

#include "ledger/BalanceChain.h"

#include <QDialog>

class BankbookTableView;
class Controller;
class QTreeWidget;

// The gaps in the balances, one a line; choosing one shows the entry after it in the list of
// all activity, the entry before it on the row above (or below, newest first).
class BalanceGapsSheet : public QDialog
{
    Q_OBJECT
public:
    BalanceGapsSheet(Controller *controller, BankbookTableView *table, QWidget *parent);
    QTreeWidget *gapList() const { return m_list; }
    // Shows the gap's two entries in the table and closes the sheet.
    void showGap(int index);

private:
    Controller *m_controller;
    BankbookTableView *m_table;
    QTreeWidget *m_list;
    QList<BalanceGap> m_gaps; // as they were when the sheet opened
};
