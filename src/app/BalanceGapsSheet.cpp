#include "BalanceGapsSheet.h"

#include "BankbookTableView.h"
#include "views/Controller.h"
#include "views/StatusTexts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QString moment(const LedgerEntry &e)
{
    return e.time().isEmpty() ? e.date() : e.date() + u' ' + e.time();
}
} // namespace

BalanceGapsSheet::BalanceGapsSheet(Controller *controller, BankbookTableView *table,
                                   QWidget *parent)
    : QDialog(parent)
    , m_controller(controller)
    , m_table(table)
    , m_list(new QTreeWidget(this))
    , m_gaps(controller->balances().gaps())
{
    setObjectName(QStringLiteral("balanceGapsSheet"));
    setWindowTitle(tr("Gaps in the Balances"));
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tr("Between these entries the balance does not follow from the one "
                                "before: statement lines are missing there, or a statement was "
                                "changed before it was imported. Importing the missing "
                                "statements closes a gap."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_list->setObjectName(QStringLiteral("balanceGapList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("Last entry before"), tr("First entry after"),
                             tr("Expected balance"), tr("Balance"), tr("Difference")});
    for (const BalanceGap &gap : std::as_const(m_gaps)) {
        auto *item = new QTreeWidgetItem(
            m_list, {moment(gap.after), moment(gap.before), StatusTexts::yen(gap.expectedBalance),
                     StatusTexts::yen(gap.balance), StatusTexts::yen(gap.difference)});
        for (int column = 2; column < 5; ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!m_gaps.isEmpty())
        m_list->setCurrentItem(m_list->topLevelItem(0));
    layout->addWidget(m_list);
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { showGap(m_list->indexOfTopLevelItem(item)); });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *show = buttons->addButton(tr("Show in List"), QDialogButtonBox::AcceptRole);
    show->setObjectName(QStringLiteral("showGap"));
    show->setDefault(true);
    connect(show, &QPushButton::clicked, this,
            [this] { showGap(m_list->indexOfTopLevelItem(m_list->currentItem())); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 300);
}

void BalanceGapsSheet::showGap(int index)
{
    if (index < 0 || index >= m_gaps.size())
        return;
    m_controller->showActivity();
    const qsizetype row = m_controller->view().rowOf(m_gaps.at(index).before.id());
    if (row >= 0) {
        m_table->selectRow(int(row));
        m_table->scrollTo(m_table->model()->index(int(row), 0), QAbstractItemView::PositionAtCenter);
    }
    accept();
}
