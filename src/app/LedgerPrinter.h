#pragma once

#include <QString>

#include <functional>

class QAbstractItemModel;
class QPagedPaintDevice;
class QWidget;
struct ColourScheme;

// Prints a list as the table shows it: the same columns, each as wide as its widest text, the
// summary colours and the marker background, a heading on every page, "page n of m" at the foot,
// and a closing line (the count and the sums) after the last row.
namespace LedgerPrinter {
// Paints every row of the model onto the device's pages; answers the number of pages.
int print(const QAbstractItemModel &model, const ColourScheme &colours, const QString &heading,
          const QString &closingLine, QPagedPaintDevice *device);
// Opens the print dialog over the window (window-modal, object name "printDialog"); when the
// user prints, hands the chosen printer to `paint`. The name is the document's, without "/".
void openPrintDialog(QWidget *window, const QString &documentName,
                     const std::function<void(QPagedPaintDevice *)> &paint);
} // namespace LedgerPrinter
