#include "PrintLayout.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>

PrintLayout::PrintLayout(const QPainter &painter, QPaintDevice *device)
    : body(painter.font())
{
    body.setPointSizeF(9);
    heading = body;
    heading.setPointSizeF(13);
    heading.setBold(true);
    bold = body;
    bold.setBold(true);

    const QRect page = painter.viewport();
    const int margin = int(page.width() * 0.04);
    area = page.adjusted(margin, margin, -margin, -margin);
    rowHeight = QFontMetrics(body, device).height() * 14 / 10;
    headingHeight = QFontMetrics(heading, device).height() * 2;
    footerHeight = rowHeight * 2;
}

int PrintLayout::drawHeading(QPainter &painter, const QString &text) const
{
    painter.setFont(heading);
    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left(), area.top(), area.width(), headingHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    return area.top() + headingHeight;
}

void PrintLayout::drawFooter(QPainter &painter, int page, int pages) const
{
    painter.setFont(body);
    painter.setPen(Qt::darkGray);
    painter.drawText(QRect(area.left(), area.bottom() - footerHeight, area.width(), footerHeight),
                     Qt::AlignHCenter | Qt::AlignBottom,
                     QCoreApplication::translate("LedgerPrinter", "Page %1 of %2")
                         .arg(page + 1)
                         .arg(pages));
}
