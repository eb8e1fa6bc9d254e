#pragma once

#include "BalanceInfoItem.h"

#include <QList>
#include <QString>

// The shown list as CSV: one line per entry, no header, each line ended by a single "\r":
// date, time, summary, payment, deposit, balance (plain integers), details. A text holding a
// comma, a double quotation mark, CR or LF is written in double quotation marks with inner
// quotation marks doubled, so that every export reads back; every other field is written as is.
namespace LedgerExport {

QString exportText(const QList<BalanceInfoItemPtr> &items);
// Writes the text as UTF-8 without a byte-order mark, replacing the file only once the new
// content is complete. False with the reason when it cannot be written.
bool saveBalanceInfo(const QString &path, const QList<BalanceInfoItemPtr> &items, QString *error);

} // namespace LedgerExport
