#pragma once

#include "BalanceInfoItem.h"

#include <QList>

// Order rules: 0 ascending (oldest first), 1 descending (newest first).
enum OrderRule : int { OrderAscending = 0, OrderDescending = 1 };

// Compares two entries by the moment of the operation, (year, month, day, hour, minute, second)
// as numbers, in the direction of the rule; entries of one moment are ordered by their order
// numbers compared as text ("10" before "9"), whatever the rule. Any rule other than 0 and 1
// makes every pair compare as the same. Returns -1 (a first), 0 or 1 (b first).
int infoItemSortMethodByOperationDateTime(const BalanceInfoItem &a, const BalanceInfoItem &b,
                                          int rule);

// Sorts the list in place with the comparison above; a stable sort, so entries that compare as
// the same keep their relative order.
void sortBalanceInfoItems(QList<BalanceInfoItemPtr> &items, int rule);
