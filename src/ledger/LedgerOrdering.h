#pragma once

#include "LedgerEntry.h"

#include <QList>
#include <Qt>

// Compares two entries by the moment of the operation, (year, month, day, hour, minute, second)
// as numbers, in the given direction; entries of one moment are ordered by their order numbers
// compared as text ("10" before "9"), whatever the direction. An order that is neither
// ascending nor descending (a stray stored setting) makes every pair compare as the same.
// Returns -1 (a first), 0 or 1 (b first).
int compareEntries(const LedgerEntry &a, const LedgerEntry &b, Qt::SortOrder order);

// Sorts the list in place with the comparison above; a stable sort, so entries that compare as
// the same keep their relative order. Answers whether any entry moved.
bool sortEntries(QList<LedgerEntryPtr> &entries, Qt::SortOrder order);
