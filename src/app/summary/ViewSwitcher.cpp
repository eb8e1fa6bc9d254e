#include "ViewSwitcher.h"

#include "SummaryView.h"
#include "WindowActions.h"
#include "views/Controller.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QMenu>

ViewSwitcher::ViewSwitcher(Controller *controller, QWidget *ledger, const ColourScheme *colours,
                           QWidget *parent)
    : QStackedWidget(parent)
    , m_controller(controller)
    , m_ledger(ledger)
    , m_summary(new SummaryView(controller, colours, this))
{
    setObjectName(QStringLiteral("viewSwitcher"));
    addWidget(ledger);
    addWidget(m_summary);

    // The Summary follows the ledger: imports, deletions, edits and a switch of bank.
    for (auto signal : {&Controller::reloadRequested, &Controller::bankChanged})
        connect(controller, signal, m_summary, &SummaryView::markStale);
    connect(controller, &Controller::rowChanged, m_summary, &SummaryView::markStale);
    connect(m_summary, &SummaryView::monthRequested, this, [this](int year, int month) {
        m_controller->showMonth(year, month);
        showLedger();
    });
}

void ViewSwitcher::addCommands(WindowActions *actions)
{
    m_showLedger = actions->action(QStringLiteral("show_ledger"));
    m_showSummary = actions->action(QStringLiteral("summary"));
    m_showLedger->setToolTip(tr("Show the ledger table"));
    m_showSummary->setIconText(tr("Summary"));
    m_showSummary->setToolTip(tr("Show the totals by month or year and the balance chart"));
    m_showSummary->setStatusTip(m_showSummary->toolTip());
    auto *group = new QActionGroup(this);
    for (QAction *action : {m_showLedger, m_showSummary}) {
        action->setCheckable(true);
        group->addAction(action);
    }
    m_showLedger->setChecked(true);
    connect(m_showLedger, &QAction::triggered, this, &ViewSwitcher::showLedger);
    connect(m_showSummary, &QAction::triggered, this, &ViewSwitcher::showSummary);
}

bool ViewSwitcher::isSummaryShown() const
{
    return currentWidget() == m_summary;
}

void ViewSwitcher::showLedger()
{
    m_showLedger->setChecked(true);
    setCurrentWidget(m_ledger);
    m_ledger->setFocus();
}

void ViewSwitcher::showSummary()
{
    m_showSummary->setChecked(true);
    setCurrentWidget(m_summary);
}
