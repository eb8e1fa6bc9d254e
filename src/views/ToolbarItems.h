#pragma once

#include <QStringList>

// The items the main window's toolbar can hold and their arrangements. Moriva's own 13
// commands are named by their identifiers; "separator", "space", "flexible_space", "print" and
// "customize" are the standard items.
namespace ToolbarItems {

// Moriva's own items: the commands with a toolbar label (see Commands), in the menus' order.
QStringList ownItems();
// What a new user sees: the Summary among them, which the window adds as "summary".
QStringList defaultArrangement();
// What the customisation dialog offers: the own items, the window's "summary", then the
// standard items.
QStringList allowedItems();
bool isStandardItem(const QString &identifier);
// Standard items may stand several times in a toolbar; own items once.
bool isRepeatable(const QString &identifier);
// A stored arrangement with unknown items and second copies of own items left out; the default
// when nothing is stored.
QStringList sanitized(const QStringList &stored, bool storedPresent);

} // namespace ToolbarItems
