#include "LedgerItemDelegate.h"

#include "ColourScheme.h"
#include "views/BankbookTableModel.h"

LedgerItemDelegate::LedgerItemDelegate(const ColourScheme *colours, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_colours(colours)
{
}

void LedgerItemDelegate::initStyleOption(QStyleOptionViewItem *option,
                                         const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(BankbookTableModel::MarkedRole).toBool())
        option->backgroundBrush = m_colours->itemMarker;
    if (index.column() == BankbookTableModel::SummaryColumn) {
        const QColor c =
            m_colours->summaryColour(index.data(BankbookTableModel::SummaryKindRole).toInt());
        if (c.isValid()) {
            option->palette.setColor(QPalette::Text, c);
            option->palette.setColor(QPalette::HighlightedText, c.lighter(160));
        }
    }
}
