#include "LedgerPrinter.h"

#include "ColourScheme.h"
#include "views/BankbookTableModel.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

namespace LedgerPrinter {
namespace {
// Shares of the page width, in the order of the table's columns.
constexpr double kColumnShares[] = {0.11, 0.09, 0.30, 0.11, 0.11, 0.12, 0.16};
} // namespace

int print(const QAbstractItemModel &model, const ColourScheme &colours, const QString &title,
          QPagedPaintDevice *device)
{
    QPainter painter(device);
    if (!painter.isActive())
        return 0;
    QFont body = painter.font();
    body.setPointSizeF(9);
    QFont heading = body;
    heading.setPointSizeF(13);
    heading.setBold(true);
    QFont bold = body;
    bold.setBold(true);

    const QRect page = painter.viewport();
    const int margin = int(page.width() * 0.04);
    const QRect area = page.adjusted(margin, margin, -margin, -margin);
    painter.setFont(body);
    const int rowHeight = QFontMetrics(body, device).height() * 14 / 10;
    const int headingHeight = QFontMetrics(heading, device).height() * 2;
    const int footerHeight = rowHeight * 2;
    const int rowsPerPage =
        qMax(1, (area.height() - headingHeight - footerHeight - rowHeight) / rowHeight);
    const int rows = model.rowCount();
    const int pages = qMax(1, (rows + rowsPerPage - 1) / rowsPerPage);

    QList<QRect> columns;
    int x = area.left();
    for (int c = 0; c < BankbookTableModel::ColumnCount; ++c) {
        const int width = int(area.width() * kColumnShares[c]);
        columns.append(QRect(x, 0, width, rowHeight));
        x += width;
    }
    const auto cellRect = [&](int column, int y) {
        return columns[column].translated(0, y).adjusted(3, 0, -3, 0);
    };

    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            device->newPage();
        int y = area.top();
        painter.setFont(heading);
        painter.setPen(Qt::black);
        painter.drawText(QRect(area.left(), y, area.width(), headingHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, title);
        y += headingHeight;

        painter.setFont(bold);
        for (int c = 0; c < BankbookTableModel::ColumnCount; ++c) {
            const int align = model.headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).isValid()
                                  ? model.headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt()
                                  : int(Qt::AlignLeft | Qt::AlignVCenter);
            painter.drawText(cellRect(c, y), align,
                             model.headerData(c, Qt::Horizontal).toString());
        }
        y += rowHeight;
        painter.drawLine(area.left(), y, area.right(), y);

        painter.setFont(body);
        for (int r = p * rowsPerPage; r < qMin(rows, (p + 1) * rowsPerPage); ++r) {
            const QModelIndex first = model.index(r, 0);
            if (first.data(BankbookTableModel::MarkedRole).toBool())
                painter.fillRect(QRect(area.left(), y, area.width(), rowHeight), colours.itemMarker);
            for (int c = 0; c < BankbookTableModel::ColumnCount; ++c) {
                const QModelIndex index = model.index(r, c);
                QColor pen = Qt::black;
                if (c == BankbookTableModel::SummaryColumn) {
                    const QColor kind =
                        colours.summaryColour(index.data(BankbookTableModel::SummaryKindRole).toInt());
                    if (kind.isValid())
                        pen = kind;
                }
                painter.setPen(pen);
                const QString text = index.data().toString();
                const QRect cell = cellRect(c, y);
                painter.drawText(cell, index.data(Qt::TextAlignmentRole).toInt(),
                                 painter.fontMetrics().elidedText(text, Qt::ElideRight, cell.width()));
            }
            y += rowHeight;
        }

        painter.setPen(Qt::darkGray);
        painter.drawText(QRect(area.left(), area.bottom() - footerHeight, area.width(), footerHeight),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QCoreApplication::translate("LedgerPrinter", "Page %1 of %2")
                             .arg(p + 1)
                             .arg(pages));
    }
    return pages;
}

} // namespace LedgerPrinter
