#pragma once

#include <QWidget>

class BalanceChart;
class Controller;
class KindTableModel;
class PeriodTableModel;
class QComboBox;
class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QTableView;
struct ColourScheme;

// The Summary beside the ledger table: the current bank's periods with their figures and a
// total, a chart of them, and the selected period by summary kind. It reads the ledger when it
// is shown after a change, not on every change.
class SummaryView : public QWidget
{
    Q_OBJECT

public:
    SummaryView(Controller *controller, const ColourScheme *colours, QWidget *parent = nullptr);

    // Reads the ledger again now.
    void refresh();
    // Reads the ledger again when next shown (now, when shown already).
    void markStale();
    void applyColours();
    // "Summary of JNB": the printed document's name.
    QString title() const;
    // Prints the table and the chart; answers the pages.
    int printTo(QPagedPaintDevice *device);
    // Asks for a file and saves the chart in it, as PNG or SVG.
    void saveChart();
    bool saveChartTo(const QString &path, QString *error);

    PeriodTableModel *periods() const { return m_periods; }
    KindTableModel *kinds() const { return m_kinds; }
    QTableView *table() const { return m_table; }
    BalanceChart *chart() const { return m_chart; }
    // The figures of the shown periods, for the status bar.
    QString statusText() const;

signals:
    // A month was double-clicked or chosen with Return: the ledger table is to show it.
    void monthRequested(int year, int month);
    // The shown periods changed: their figures in the status bar too.
    void figuresChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Fills the range boxes with the months (or years) that hold entries and shows the range.
    void fillRangeChoices();
    // Takes the range from the boxes (a backwards one turned round, in the boxes too).
    void applyChoices();
    void showRange();
    void selectPeriod(int row);
    void openPeriod(int row);
    void saveChoices() const;

    Controller *m_controller;
    const ColourScheme *m_colours;
    PeriodTableModel *m_periods;
    KindTableModel *m_kinds;
    QComboBox *m_span;
    QComboBox *m_from;
    QComboBox *m_to;
    QTableView *m_table;
    QTableView *m_kindTable;
    QLabel *m_kindTitle;
    QLabel *m_emptyHint;
    QWidget *m_content;
    QPushButton *m_save;
    BalanceChart *m_chart;
    // The range as month keys; kNoEnd: the ledger's own end.
    int m_fromKey;
    int m_toKey;
    bool m_stale = true;
};
