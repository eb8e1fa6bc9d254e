#pragma once

#include <QStackedWidget>

class Controller;
class QAction;
class QWidget;
class SummaryView;
class WindowActions;
struct ColourScheme;

// The window's middle: the ledger table or the Summary, one at a time, and the commands that
// switch between them (View › Ledger, Ctrl+1; View › Summary, Ctrl+2, also a toolbar item).
class ViewSwitcher : public QStackedWidget
{
    Q_OBJECT

public:
    ViewSwitcher(Controller *controller, QWidget *ledger, const ColourScheme *colours,
                 QWidget *parent);

    // Takes on the commands "show_ledger" and "summary" of the window's actions.
    void addCommands(WindowActions *actions);

    SummaryView *summary() const { return m_summary; }
    bool isSummaryShown() const;
    QAction *ledgerAction() const { return m_showLedger; }
    QAction *summaryAction() const { return m_showSummary; }

public slots:
    void showLedger();
    void showSummary();

private:
    Controller *m_controller;
    QWidget *m_ledger;
    SummaryView *m_summary;
    QAction *m_showLedger = nullptr;
    QAction *m_showSummary = nullptr;
};
