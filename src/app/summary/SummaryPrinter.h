#pragma once

#include <QString>

class BalanceChart;
class QAbstractItemModel;
class QPagedPaintDevice;

// Prints the Summary: the title, the chart across the top of the first page, then the table of
// periods with its total, continued on further pages, and "page n of m" at the foot.
namespace SummaryPrinter {
int print(const QAbstractItemModel &table, BalanceChart *chart, const QString &title,
          QPagedPaintDevice *device);
} // namespace SummaryPrinter
