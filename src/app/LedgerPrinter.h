#pragma once

#include <QString>

class QAbstractItemModel;
class QPagedPaintDevice;
struct ColourScheme;

// Prints a list as the table shows it: the same columns, each as wide as its widest text, the
// summary colours and the marker background, a heading on every page, "page n of m" at the foot,
// and a closing line (the count and the sums) after the last row.
namespace LedgerPrinter {
// Paints every row of the model onto the device's pages; answers the number of pages.
int print(const QAbstractItemModel &model, const ColourScheme &colours, const QString &heading,
          const QString &closingLine, QPagedPaintDevice *device);
} // namespace LedgerPrinter
