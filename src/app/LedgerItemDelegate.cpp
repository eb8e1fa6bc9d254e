#include "LedgerItemDelegate.h"

#include "ColourScheme.h"
#include "views/BankbookTableModel.h"

#include <QApplication>
#include <QStyle>

LedgerItemDelegate::LedgerItemDelegate(const ColourScheme *colours, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_colours(colours)
{
}

QFont LedgerItemDelegate::summaryFont(const QFont &tableFont)
{
    QFont font = tableFont;
    font.setPointSizeF(11);
    return font;
}

void LedgerItemDelegate::initStyleOption(QStyleOptionViewItem *option,
                                         const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(BankbookTableModel::MarkedRole).toBool())
        option->backgroundBrush = m_colours->itemMarker;
    // The first entry after a gap in the balances carries a warning on its balance.
    if (index.column() == BankbookTableModel::BalanceColumn
        && index.data(BankbookTableModel::GapRole).isValid()) {
        const QStyle *style = option->widget ? option->widget->style() : QApplication::style();
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = style->standardIcon(QStyle::SP_MessageBoxWarning);
        const int side = style->pixelMetric(QStyle::PM_SmallIconSize);
        option->decorationSize = QSize(side, side);
    }
    if (index.column() == BankbookTableModel::SummaryColumn) {
        option->font = summaryFont(option->font);
        option->fontMetrics = QFontMetrics(option->font);
        const QColor c =
            m_colours->summaryColour(index.data(BankbookTableModel::SummaryKindRole).toInt());
        if (c.isValid()) {
            option->palette.setColor(QPalette::Text, c);
            option->palette.setColor(QPalette::HighlightedText, c.lighter(160));
        }
    }
}
