#pragma once

#include <QFont>
#include <QRect>

class QPaintDevice;
class QPainter;
class QString;

// What every printed page of Moriva shares: the fonts, the area inside the margins, the heights
// of a row, of the heading and of the footer, the heading at the top and "page n of m" at the
// foot. The ledger's and the Summary's printouts lay out their rows within it.
struct PrintLayout
{
    // For the painter's device; the painter is active.
    PrintLayout(const QPainter &painter, QPaintDevice *device);

    // Draws the heading at the top of the area; answers the y below it.
    int drawHeading(QPainter &painter, const QString &text) const;
    // Draws "Page n of m" (page counted from 0) at the foot of the area.
    void drawFooter(QPainter &painter, int page, int pages) const;

    QFont body;
    QFont heading;
    QFont bold;
    QRect area;
    int rowHeight = 0;
    int headingHeight = 0;
    int footerHeight = 0;
};
