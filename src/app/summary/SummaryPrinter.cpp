#include "SummaryPrinter.h"

#include "BalanceChart.h"
#include "PrintLayout.h"

#include <QAbstractItemModel>
#include <QPagedPaintDevice>
#include <QPainter>

namespace SummaryPrinter {

int print(const QAbstractItemModel &table, BalanceChart *chart, const QString &title,
          QPagedPaintDevice *device)
{
    QPainter painter(device);
    if (!painter.isActive())
        return 0;
    const PrintLayout layout(painter, device);
    const QRect &area = layout.area;
    const int rowHeight = layout.rowHeight;
    // The chart keeps the shape it has on screen, at most two fifths of the page high.
    const double aspect = chart->width() > 0 ? double(chart->height()) / chart->width() : 0.5;
    const int chartHeight = qMin(area.height() * 2 / 5, int(area.width() * aspect));
    const int rowsOnPage =
        (area.height() - layout.headingHeight - layout.footerHeight) / rowHeight - 1;
    const int rowsOnFirst = qMax(0, rowsOnPage - chartHeight / rowHeight - 1);
    const int rows = table.rowCount();
    const int pages = 1 + (rows > rowsOnFirst
                               ? (rows - rowsOnFirst + qMax(1, rowsOnPage) - 1) / qMax(1, rowsOnPage)
                               : 0);
    const int columns = table.columnCount();
    const int columnWidth = columns ? area.width() / columns : 0;
    const auto cell = [&](int column, int y) {
        return QRect(area.left() + column * columnWidth, y, columnWidth, rowHeight)
            .adjusted(3, 0, -3, 0);
    };

    int row = 0;
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            device->newPage();
        int y = layout.drawHeading(painter, title);
        if (p == 0) {
            chart->paintChart(&painter, QRectF(area.left(), y, area.width(), chartHeight));
            y += chartHeight + rowHeight;
        }
        if (row < rows) {
            painter.setFont(layout.bold);
            for (int c = 0; c < columns; ++c)
                painter.drawText(cell(c, y), c ? Qt::AlignRight | Qt::AlignVCenter
                                               : Qt::AlignLeft | Qt::AlignVCenter,
                                 table.headerData(c, Qt::Horizontal).toString());
            y += rowHeight;
            painter.drawLine(area.left(), y, area.right(), y);
            painter.setFont(layout.body);
        }
        const int last = qMin(rows, row + (p == 0 ? rowsOnFirst : rowsOnPage));
        for (; row < last; ++row) {
            // The total row stands apart, as in the window.
            if (row == rows - 1 && rows > 1) {
                painter.drawLine(area.left(), y, area.right(), y);
                painter.setFont(layout.bold);
            }
            for (int c = 0; c < columns; ++c) {
                const QModelIndex index = table.index(row, c);
                const QVariant align = index.data(Qt::TextAlignmentRole);
                painter.drawText(cell(c, y),
                                 align.isValid() ? align.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter),
                                 index.data().toString());
            }
            y += rowHeight;
        }
        layout.drawFooter(painter, p, pages);
    }
    return pages;
}

} // namespace SummaryPrinter
