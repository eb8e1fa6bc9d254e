#pragma once

#include "ListFormats.h"
#include "ledger/BalanceChain.h"

#include <QByteArray>

// The gaps in a ledger's balances as `moriva-cli gaps` prints them, in date order. JSON is an
// array of {after_date, after_time, before_date, before_time, expected_balance, balance,
// difference}; CSV has a header line; the table lines the columns up and, with no gap, says
// from when to when the balances are continuous.
QByteArray formatGaps(const BalanceChain &chain, ListFormat format);
