#pragma once

#include <QStringView>

class LedgerEntry;

// When the window's commands are enabled. Commands that act on the selected entry need one;
// commands that act on the ledger's entries need some; the rest are always available.
namespace CommandRules {

// A toolbar command by its identifier ("delete_balance", "search", ...).
bool isToolbarItemEnabled(QStringView identifier, bool hasEntries, bool hasSelection);
// A menu command by its tag (200 Mark, 201 Delete, 203 Revert to Bank's Text, 600 to 602 the
// context menu's, ...). Reverting also needs a selected entry whose summary was edited.
bool isMenuItemEnabled(int tag, bool hasEntries, bool hasSelection, bool summaryEdited = false);
// Undo (210) and Redo (211): enabled while the history has a step to undo or to redo.
bool isHistoryItem(int tag);
bool isHistoryItemEnabled(int tag, bool canUndo, bool canRedo);
// Whether the Mark commands show as checked: the selected entry is marked.
bool isMarkChecked(const LedgerEntry *selected);
// Whether the entry's summary differs from the bank's text it was imported with.
bool isSummaryEdited(const LedgerEntry *entry);

} // namespace CommandRules
