#pragma once

#include "ListFormats.h"
#include "ledger/PeriodReport.h"

#include <QByteArray>

// What `moriva-cli report` prints for the periods, oldest first. JSON is an array of
// {period, entries, paid_out, paid_in, net, closing_balance}, or with kinds of
// {period, kind, entries, paid_out, paid_in, net} for each kind a period holds; CSV has those
// names as its header line; the table lines the columns up and is empty with no period.
QByteArray formatReport(const QList<PeriodReport::Period> &periods, bool byKind,
                        ListFormat format);
