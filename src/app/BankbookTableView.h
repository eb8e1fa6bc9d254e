#pragma once

#include <QTableView>

class QMenu;

// The ledger table. A right click (or Ctrl+click) opens the context menu over the table; a right
// click on a row that is not selected selects it first, so that a command from the menu acts on
// the row the user pointed at. The row and column under the pointer are remembered. A header
// shows how the list is sorted (the Date header: the list's own order); a click on a header asks
// for a sort (the controller decides which). Summary and Details stretch with the table.
class BankbookTableView : public QTableView
{
    Q_OBJECT

public:
    explicit BankbookTableView(QWidget *parent = nullptr);

    void setContextMenu(QMenu *menu) { m_menu = menu; }
    int menuActionRow() const { return m_menuActionRow; }
    int menuActionColumn() const { return m_menuActionColumn; }
    // The selected row, -1 when none.
    int selectedRow() const;
    // Shown in the middle of the table while it has no rows.
    void setPlaceholderText(const QString &text);
    QString placeholderText() const { return m_placeholder; }
    // Shows or hides the column; Summary and Details take the width it leaves or needs.
    void setColumnShown(int column, bool shown);
    // Shows the sort indicator on the column's header.
    void showSort(int column, Qt::SortOrder order);

signals:
    void sortRequested(int column);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Gives the width the columns leave free (or take beyond the table's) to Summary and Details
    // in halves; the other columns keep the width they have.
    void shareExtraWidth();
    void openMenuAt(const QPoint &viewportPos, const QPoint &globalPos);

    QMenu *m_menu = nullptr;
    QString m_placeholder;
    int m_sortColumn = 0;
    Qt::SortOrder m_order = Qt::AscendingOrder;
    int m_menuActionRow = 0;
    int m_menuActionColumn = 0;
};
