#include "LedgerStatusBar.h"

#include "StatusMessageLabel.h"
#include "views/Controller.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

LedgerStatusBar::LedgerStatusBar(QStatusBar *bar, Controller *controller)
    : QObject(bar)
    , m_bar(bar)
    , m_controller(controller)
    , m_message(new StatusMessageLabel(bar))
    , m_messageTimer(new QTimer(this))
    , m_bankName(new QLabel(bar))
    , m_totals(new QLabel(bar))
    , m_rejectedLines(new QToolButton(bar))
    , m_balances(new QToolButton(bar))
{
    m_message->setObjectName(QStringLiteral("statusMessage"));
    m_message->setContentsMargins(4, 0, 12, 0);
    m_messageTimer->setObjectName(QStringLiteral("messageTimer"));
    m_messageTimer->setSingleShot(true);
    connect(m_messageTimer, &QTimer::timeout, this, &LedgerStatusBar::clearMessage);
    m_bankName->setObjectName(QStringLiteral("bankName"));
    m_bankName->setContentsMargins(8, 0, 8, 0);
    QFont bold = m_bankName->font();
    bold.setBold(true);
    m_bankName->setFont(bold);
    m_totals->setObjectName(QStringLiteral("totals"));
    m_totals->setContentsMargins(8, 0, 8, 0);
    m_rejectedLines->setObjectName(QStringLiteral("rejectedLines"));
    m_rejectedLines->setAutoRaise(true);
    m_rejectedLines->hide();
    connect(m_rejectedLines, &QToolButton::clicked, this, &LedgerStatusBar::showRejectedLines);
    // Fields that may stand empty still say what they are.
    m_message->setAccessibleName(tr("Message"));
    m_bankName->setAccessibleName(tr("Bank"));
    m_totals->setAccessibleName(tr("Totals"));
    m_balances->setAccessibleName(tr("Balances"));
    m_balances->setObjectName(QStringLiteral("balances"));
    m_balances->setAutoRaise(true);
    m_balances->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(m_balances, &QToolButton::clicked, this, [this] {
        if (!m_controller->balances().isContinuous())
            emit gapsRequested();
    });
    bar->addWidget(m_message, 1);
    bar->addPermanentWidget(m_rejectedLines);
    bar->addPermanentWidget(m_balances);
    bar->addPermanentWidget(m_totals);
    bar->addPermanentWidget(m_bankName);
    connect(controller, &Controller::changeFailed, this, [this](const QString &why) {
        showMessage(tr("Your changes could not be saved: %1").arg(why), 0);
    });
    connect(controller, &Controller::noticeRequested, this,
            [this](const QString &text) { showMessage(text); });
    // What an import did belongs to the bank it was shown for; its rejected lines stay on offer
    // after the message has gone, until then.
    connect(controller, &Controller::bankChanged, this, [this] {
        clearMessage();
        m_rejectedLines->hide();
        emit rejectedLinesChanged();
    });
}

void LedgerStatusBar::refresh(const QString &figures)
{
    m_bankName->setText(StatusTexts::bankName(m_controller->bank()));
    m_totals->setText(figures.isEmpty() ? StatusTexts::totals(m_controller->shownTotals())
                                        : figures);
    const BalanceChain &chain = m_controller->balances();
    m_balances->setText(StatusTexts::balancesBrief(chain));
    m_balances->setVisible(!chain.isEmpty());
    const bool gaps = !chain.isContinuous();
    m_balances->setIcon(gaps ? QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning)
                             : QIcon());
    m_balances->setToolTip(gaps ? tr("Show where statement lines are missing")
                                : StatusTexts::balances(chain));
}

void LedgerStatusBar::showMessage(const QString &text, int timeoutMs, const QString &details)
{
    m_message->setText(text);
    // The whole text when the field is too narrow for it; several files' lines otherwise.
    m_message->setToolTip(details.isEmpty() ? text : details);
    if (timeoutMs > 0)
        m_messageTimer->start(timeoutMs);
    else
        m_messageTimer->stop();
}

void LedgerStatusBar::clearMessage()
{
    m_messageTimer->stop();
    m_message->clear();
    m_message->setToolTip(QString());
}

void LedgerStatusBar::showImport(const QList<StatusTexts::FileImport> &imports)
{
    showMessage(StatusTexts::importSummary(imports), kMessageMs,
                StatusTexts::importDetails(imports));
    offerRejectedLines(imports);
}

void LedgerStatusBar::offerRejectedLines(const QList<StatusTexts::FileImport> &imports)
{
    QStringList files;
    int rejected = 0;
    for (const StatusTexts::FileImport &i : imports) {
        if (i.report.rejected > 0)
            files << i.fileName;
        rejected += i.report.rejected;
    }
    m_rejectedLines->setVisible(rejected > 0);
    m_rejectedFiles = QLocale().createSeparatedList(files);
    m_rejectedText = rejected > 0 ? StatusTexts::rejectedLines(imports) : QString();
    if (rejected > 0) {
        m_rejectedLines->setText(tr("%n lines rejected…", nullptr, rejected));
        m_rejectedLines->setToolTip(StatusTexts::rejectedLines(imports, 20));
    }
    emit rejectedLinesChanged();
}

bool LedgerStatusBar::hasRejectedLines() const
{
    return m_rejectedLines->isVisibleTo(m_bar);
}

void LedgerStatusBar::showRejectedLines()
{
    if (!hasRejectedLines())
        return;
    auto *box = new QMessageBox(QMessageBox::Information, m_rejectedFiles,
                                tr("These lines of %1 are no operations and were not imported.")
                                    .arg(m_rejectedFiles),
                                QMessageBox::Ok, m_bar->window());
    box->setObjectName(QStringLiteral("rejectedLinesSheet"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setDetailedText(m_rejectedText);
    box->open();
}
