#include "BankbookTableView.h"

#include "LedgerItemDelegate.h"
#include "views/BankbookTableModel.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

BankbookTableView::BankbookTableView(QWidget *parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A stray key never starts an editor: only a double click, F2 and Return do.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setAlternatingRowColors(true);
    setWordWrap(false);
    // Tab goes on to the window's next control, as everywhere else; the arrows move in the table.
    setTabKeyNavigation(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    verticalHeader()->hide();
    // Room for the 11-point summaries too.
    const QFontMetrics summary(LedgerItemDelegate::summaryFont(font()));
    verticalHeader()->setDefaultSectionSize(qMax(fontMetrics().height(), summary.height()) + 8);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(true);
    showSort(BankbookTableModel::DateColumn, m_order);
    // The header moves its indicator on any click: it shows what the controller decides.
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        horizontalHeader()->setSortIndicator(m_sortColumn, m_order);
        emit sortRequested(section);
    });
}

void BankbookTableView::setColumnShown(int column, bool shown)
{
    if (isColumnHidden(column) != shown)
        return;
    setColumnHidden(column, !shown);
    shareExtraWidth();
}

void BankbookTableView::showSort(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_order = order;
    horizontalHeader()->setSortIndicator(column, order);
}

int BankbookTableView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    const QModelIndex current = currentIndex();
    for (const QModelIndex &r : rows) {
        if (current.isValid() && r.row() == current.row())
            return r.row();
    }
    return rows.last().row();
}

void BankbookTableView::setPlaceholderText(const QString &text)
{
    if (m_placeholder == text)
        return;
    m_placeholder = text;
    viewport()->update();
}

void BankbookTableView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (m_placeholder.isEmpty() || !model() || model()->rowCount() > 0)
        return;
    QPainter painter(viewport());
    QColor colour = palette().color(QPalette::Text);
    colour.setAlphaF(0.55);
    painter.setPen(colour);
    const QRect area = viewport()->rect().adjusted(40, 40, -40, -40);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, m_placeholder);
}

void BankbookTableView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    shareExtraWidth();
}

void BankbookTableView::shareExtraWidth()
{
    constexpr int kNarrowest = 80;
    const int extra = viewport()->width() - horizontalHeader()->length();
    if (extra == 0 || !model())
        return;
    const int summary = columnWidth(BankbookTableModel::SummaryColumn);
    const int details = columnWidth(BankbookTableModel::DetailsColumn);
    setColumnWidth(BankbookTableModel::SummaryColumn, qMax(kNarrowest, summary + extra / 2));
    setColumnWidth(BankbookTableModel::DetailsColumn,
                   qMax(kNarrowest, details + extra - extra / 2));
}

void BankbookTableView::mousePressEvent(QMouseEvent *event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (event->button() == Qt::LeftButton && control && m_menu) {
        // Ctrl+click: select as a plain click would, then open the menu.
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            selectRow(index.row());
        openMenuAt(event->position().toPoint(), event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_menuActionRow = -1;
        m_menuActionColumn = -1;
    }
    QTableView::mousePressEvent(event);
}

void BankbookTableView::keyPressEvent(QKeyEvent *event)
{
    // Return starts editing the current cell, as F2 and a double click do; on a cell that
    // takes no edit, the row's summary.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != EditingState && currentIndex().isValid()) {
        QModelIndex cell = currentIndex();
        if (!(model()->flags(cell) & Qt::ItemIsEditable))
            cell = cell.siblingAtColumn(BankbookTableModel::SummaryColumn);
        setCurrentIndex(cell);
        edit(cell);
        return;
    }
    QTableView::keyPressEvent(event);
}

void BankbookTableView::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_menu) {
        m_menuActionRow = -1;
        m_menuActionColumn = -1;
        return;
    }
    const QPoint pos = event->reason() == QContextMenuEvent::Mouse
                           ? event->pos()
                           : visualRect(currentIndex()).center();
    const QModelIndex index = indexAt(pos);
    if (index.isValid() && !selectionModel()->isRowSelected(index.row(), QModelIndex()))
        selectRow(index.row());
    openMenuAt(pos, viewport()->mapToGlobal(pos));
}

void BankbookTableView::openMenuAt(const QPoint &viewportPos, const QPoint &globalPos)
{
    m_menuActionRow = rowAt(viewportPos.y());
    m_menuActionColumn = columnAt(viewportPos.x());
    m_menu->popup(globalPos);
}
