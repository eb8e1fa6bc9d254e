#include "LedgerPrinter.h"

#include "ColourScheme.h"
#include "PrintLayout.h"
#include "views/BankbookTableModel.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <cmath>

namespace LedgerPrinter {
namespace {
constexpr int kColumns = BankbookTableModel::ColumnCount;

// Each column as wide as its widest text (title or cell) and a gap. Summary and Details take
// what is left of the page in halves, or give up width when the page is too narrow; their texts
// are then elided, never drawn into the next column.
QList<int> columnWidths(const QAbstractItemModel &model, const QFontMetricsF &body,
                        const QFontMetricsF &bold, int pageWidth, int gap)
{
    QList<int> widths(kColumns);
    for (int c = 0; c < kColumns; ++c) {
        qreal widest = bold.horizontalAdvance(model.headerData(c, Qt::Horizontal).toString());
        for (int r = 0; r < model.rowCount(); ++r)
            widest = qMax(widest, body.horizontalAdvance(model.index(r, c).data().toString()));
        // Rounded up, and a pixel more: elision measures the text afresh.
        widths[c] = int(std::ceil(widest)) + 1 + gap;
    }
    constexpr int summary = BankbookTableModel::SummaryColumn;
    constexpr int details = BankbookTableModel::DetailsColumn;
    int others = 0;
    for (int c = 0; c < kColumns; ++c) {
        if (c != summary && c != details)
            others += widths[c];
    }
    const int leftOver = pageWidth - others - widths[summary] - widths[details];
    if (leftOver >= 0) {
        widths[summary] += leftOver / 2;
        widths[details] += leftOver - leftOver / 2;
    } else {
        // A narrow page: Summary, which names the entry, keeps the larger share.
        const int shared = qMax(0, pageWidth - others);
        widths[summary] = qMax(gap * 2, shared * 3 / 5);
        widths[details] = qMax(gap * 2, shared - shared * 3 / 5);
    }
    return widths;
}
} // namespace

int print(const QAbstractItemModel &model, const ColourScheme &colours, const QString &heading,
          const QString &closingLine, QPagedPaintDevice *device)
{
    QPainter painter(device);
    if (!painter.isActive())
        return 0;
    const PrintLayout layout(painter, device);
    const QRect &area = layout.area;
    const int rowHeight = layout.rowHeight;
    const QFont &body = layout.body;
    const QFont &bold = layout.bold;
    const int rowsPerPage =
        qMax(2, (area.height() - layout.headingHeight - layout.footerHeight - rowHeight) / rowHeight);
    const int rows = model.rowCount();
    // The closing line takes the place of two rows after the last one.
    const int pages = qMax(1, (rows + 2 + rowsPerPage - 1) / rowsPerPage);

    const int padding = QFontMetrics(body, device).averageCharWidth();
    const QList<int> widths =
        columnWidths(model, QFontMetricsF(body, device), QFontMetricsF(bold, device), area.width(),
                     padding * 2);
    QList<QRect> columns;
    int x = area.left();
    for (int c = 0; c < kColumns; ++c) {
        columns.append(QRect(x, 0, widths[c], rowHeight));
        x += widths[c];
    }
    const auto cellRect = [&](int column, int y) {
        return columns[column].translated(0, y).adjusted(padding, 0, -padding, 0);
    };

    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            device->newPage();
        int y = layout.drawHeading(painter, heading);

        painter.setFont(bold);
        for (int c = 0; c < kColumns; ++c) {
            const QRect cell = cellRect(c, y);
            painter.drawText(cell, model.headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
                             painter.fontMetrics().elidedText(
                                 model.headerData(c, Qt::Horizontal).toString(), Qt::ElideRight,
                                 cell.width()));
        }
        y += rowHeight;
        painter.drawLine(area.left(), y, area.right(), y);

        painter.setFont(body);
        for (int r = p * rowsPerPage; r < qMin(rows, (p + 1) * rowsPerPage); ++r) {
            const QModelIndex first = model.index(r, 0);
            if (first.data(BankbookTableModel::MarkedRole).toBool())
                painter.fillRect(QRect(area.left(), y, area.width(), rowHeight), colours.itemMarker);
            for (int c = 0; c < kColumns; ++c) {
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

        if (p == pages - 1) {
            painter.setPen(Qt::black);
            painter.drawLine(area.left(), y, area.right(), y);
            painter.setFont(bold);
            painter.drawText(QRect(area.left() + padding, y + rowHeight / 2, area.width() - padding,
                                   rowHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, closingLine);
            painter.setFont(body);
        }

        layout.drawFooter(painter, p, pages);
    }
    return pages;
}

void openPrintDialog(QWidget *window, const QString &documentName,
                     const std::function<void(QPagedPaintDevice *)> &paint)
{
    auto *printer = new QPrinter(QPrinter::HighResolution);
    printer->setDocName(documentName); // a "/" would make a folder of a PDF's name
    auto *dialog = new QPrintDialog(printer, window);
    dialog->setObjectName(QStringLiteral("printDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    QObject::connect(dialog, &QDialog::accepted, dialog, [printer, paint] { paint(printer); });
    QObject::connect(dialog, &QObject::destroyed, [printer] { delete printer; });
    dialog->open();
}

} // namespace LedgerPrinter
