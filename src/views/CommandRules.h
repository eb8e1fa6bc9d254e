#pragma once

#include <QStringView>

// When the window's commands are enabled. Commands that act on the selected entry need one;
// commands that act on the ledger's entries need some; the rest are always available.
namespace CommandRules {

// A toolbar command by its identifier ("delete_balance", "search", ...).
bool isToolbarItemEnabled(QStringView identifier, bool hasEntries, bool hasSelection);
// A menu command by its tag (200 Mark, 201 Delete, 600 and 601 the context menu's, ...).
bool isMenuItemEnabled(int tag, bool hasEntries, bool hasSelection);

} // namespace CommandRules
