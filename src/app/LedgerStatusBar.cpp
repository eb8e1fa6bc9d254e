#include "LedgerStatusBar.h"

#include "views/Controller.h"
#include "views/StatusTexts.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

LedgerStatusBar::LedgerStatusBar(QStatusBar *bar, Controller *controller)
    : QObject(bar)
    , m_bar(bar)
    , m_controller(controller)
    , m_bankName(new QLabel(bar))
    , m_totals(new QLabel(bar))
    , m_rejectedLines(new QToolButton(bar))
    , m_balances(new QToolButton(bar))
{
    m_bankName->setObjectName(QStringLiteral("bankName"));
    m_bankName->setContentsMargins(8, 0, 8, 0);
    QFont bold = m_bankName->font();
    bold.setBold(true);
    m_bankName->setFont(bold);
    m_totals->setObjectName(QStringLiteral("totals"));
    m_rejectedLines->setObjectName(QStringLiteral("rejectedLines"));
    m_rejectedLines->setAutoRaise(true);
    m_rejectedLines->hide();
    m_balances->setObjectName(QStringLiteral("balances"));
    m_balances->setAutoRaise(true);
    m_balances->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(m_balances, &QToolButton::clicked, this, [this] {
        if (!m_controller->balances().isContinuous())
            emit gapsRequested();
    });
    bar->addPermanentWidget(m_rejectedLines);
    bar->addPermanentWidget(m_balances);
    bar->addPermanentWidget(m_totals);
    bar->addPermanentWidget(m_bankName);
    connect(controller, &Controller::autoSaveFailed, this, [this](const QString &why) {
        m_bar->showMessage(tr("Your changes could not be saved: %1").arg(why));
    });
    connect(controller, &Controller::noticeRequested, this,
            [this](const QString &text) { m_bar->showMessage(text, 10000); });
}

void LedgerStatusBar::refresh()
{
    m_bankName->setText(StatusTexts::bankName(m_controller->ledger().bank()));
    m_totals->setText(StatusTexts::totals(totalsOf(m_controller->view().rows())));
    const BalanceChain &chain = m_controller->balances();
    m_balances->setText(StatusTexts::balances(chain));
    m_balances->setVisible(!chain.isEmpty());
    const bool gaps = !chain.isContinuous();
    m_balances->setIcon(gaps ? QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning)
                             : QIcon());
    m_balances->setToolTip(gaps ? tr("Show where statement lines are missing") : QString());
}

void LedgerStatusBar::showImport(const QString &fileName, const ImportReport &report)
{
    m_bar->showMessage(StatusTexts::importSummary(fileName, report));
    m_rejectedLines->disconnect(this);
    m_rejectedLines->setVisible(report.rejected > 0);
    if (report.rejected == 0)
        return;
    const QString lines = StatusTexts::rejectedLines(report);
    m_rejectedLines->setText(tr("%n lines rejected…", nullptr, report.rejected));
    m_rejectedLines->setToolTip(StatusTexts::rejectedLines(report, 20));
    connect(m_rejectedLines, &QToolButton::clicked, this, [this, fileName, lines] {
        auto *box = new QMessageBox(QMessageBox::Information, fileName,
                                    tr("These lines of %1 are no operations and were not "
                                       "imported.")
                                        .arg(fileName),
                                    QMessageBox::Ok, m_bar->window());
        box->setObjectName(QStringLiteral("rejectedLinesSheet"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::WindowModal);
        box->setDetailedText(lines);
        box->open();
    });
}
