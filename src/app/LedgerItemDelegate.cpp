#include "LedgerItemDelegate.h"

#include "ColourScheme.h"
#include "views/BankbookTableModel.h"
#include "views/Contrast.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QTableView>

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
            // On the selection the kind's colour stays only where it reads.
            for (const auto group : {QPalette::Active, QPalette::Inactive}) {
                const QPalette &p = option->palette;
                option->palette.setColor(
                    group, QPalette::HighlightedText,
                    QColor::fromRgb(Contrast::readable(
                        c.rgb(), p.color(group, QPalette::Highlight).rgb(),
                        p.color(group, QPalette::HighlightedText).rgb())));
            }
        }
    }
}

QWidget *LedgerItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    if (editor)
        editor->setFont(cell.font);
    return editor;
}

void LedgerItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (index.data(BankbookTableModel::SummaryEditedRole).toBool()) {
        // A summary the user edited: a small triangle in its top right corner.
        const QRect r = option.rect;
        const QPolygon corner({QPoint(r.right() - kEditedMark, r.top()), QPoint(r.right(), r.top()),
                               QPoint(r.right(), r.top() + kEditedMark)});
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(option.state & QStyle::State_Selected
                              ? option.palette.color(QPalette::HighlightedText)
                              : option.palette.color(QPalette::Link));
        painter->drawPolygon(corner);
        painter->restore();
    }
    // The selection covers the marker's background: a marked row keeps a band of the marker
    // colour along its top and bottom, and a stripe at its start.
    if (!(option.state & QStyle::State_Selected)
        || !index.data(BankbookTableModel::MarkedRole).toBool())
        return;
    QColor band = m_colours->itemMarker;
    band.setAlpha(255);
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(QRect(r.left(), r.top(), r.width(), kMarkBand), band);
    painter->fillRect(QRect(r.left(), r.bottom() - kMarkBand + 1, r.width(), kMarkBand), band);
    const auto *table = qobject_cast<const QTableView *>(option.widget);
    if (index.column() == (table ? table->horizontalHeader()->logicalIndex(0) : 0))
        painter->fillRect(QRect(r.left(), r.top(), kMarkStripe, r.height()), band);
    painter->restore();
}
