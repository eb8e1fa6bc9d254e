#pragma once

#include <QObject>
#include <QString>

class Controller;
class QLabel;
class QStatusBar;
class QToolButton;
struct ImportReport;

// The main window's status bar: what the last import did (with its rejected lines on offer),
// whether the balances are continuous, the shown list's count and sums, and the open bank's name.
class LedgerStatusBar : public QObject
{
    Q_OBJECT

public:
    LedgerStatusBar(QStatusBar *bar, Controller *controller);

    QLabel *bankNameField() const { return m_bankName; }
    // Whether the balances are continuous, or how many gaps they have; a click on gaps asks
    // for their list.
    QToolButton *balancesButton() const { return m_balances; }
    // Shows the open bank and the shown list's totals.
    void refresh();
    void showImport(const QString &fileName, const ImportReport &report);

signals:
    void gapsRequested();

private:
    QStatusBar *m_bar;
    Controller *m_controller;
    QLabel *m_bankName;
    QLabel *m_totals;
    QToolButton *m_rejectedLines;
    QToolButton *m_balances;
};
