#pragma once

#include <QString>

class QAbstractItemModel;
class QPagedPaintDevice;
struct ColourScheme;

// Prints a list as the table shows it: the same columns, the summary colours and the marker
// background, the window title as heading on every page, and "page n of m" at the foot.
namespace LedgerPrinter {
// Paints every row of the model onto the device's pages; answers the number of pages.
int print(const QAbstractItemModel &model, const ColourScheme &colours, const QString &title,
          QPagedPaintDevice *device);
} // namespace LedgerPrinter
