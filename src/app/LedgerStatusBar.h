#pragma once

#include <QObject>
#include <QString>

class Controller;
class QLabel;
class QStatusBar;
class QToolButton;
struct ImportReport;

// The main window's status bar: what the last import did (with its rejected lines on offer),
// the shown list's count and sums, and the open bank's name.
class LedgerStatusBar : public QObject
{
    Q_OBJECT

public:
    LedgerStatusBar(QStatusBar *bar, Controller *controller);

    QLabel *bankNameField() const { return m_bankName; }
    // Shows the open bank and the shown list's totals.
    void refresh();
    void showImport(const QString &fileName, const ImportReport &report);

private:
    QStatusBar *m_bar;
    Controller *m_controller;
    QLabel *m_bankName;
    QLabel *m_totals;
    QToolButton *m_rejectedLines;
};
