#include "CommandRules.h"

#include "ledger/LedgerEntry.h"

namespace CommandRules {

bool isToolbarItemEnabled(QStringView identifier, bool hasEntries, bool hasSelection)
{
    if (identifier == u"delete_balance" || identifier == u"mark_balance")
        return hasSelection && hasEntries;
    for (const char16_t *id : {u"save_balance", u"delete_all", u"list_order", u"change_month",
                               u"move_prev_month", u"move_next_month", u"search"}) {
        if (identifier == QStringView(id))
            return hasEntries;
    }
    return true;
}

bool isMenuItemEnabled(int tag, bool hasEntries, bool hasSelection, bool summaryEdited)
{
    switch (tag) {
    case 203: // Revert to Bank's Text
    case 602: // the context menu's
        return hasSelection && hasEntries && summaryEdited;
    case 200: // Mark
    case 201: // Delete
    case 600: // the context menu's Mark
    case 601: // the context menu's Delete
        return hasSelection && hasEntries;
    case 102: // Save
    case 202: // Delete All
    case 300: // Order
    case 302: // Change Month
    case 303: // Previous Month
    case 304: // Next Month
    case 305: // This Month
    case 306: // Search
        return hasEntries;
    default:
        return true;
    }
}

bool isHistoryItem(int tag)
{
    return tag == 210 || tag == 211;
}

bool isHistoryItemEnabled(int tag, bool canUndo, bool canRedo)
{
    return tag == 210 ? canUndo : tag == 211 && canRedo;
}

bool isMarkChecked(const LedgerEntry *selected)
{
    return selected && selected->marked() != 0;
}

bool isSummaryEdited(const LedgerEntry *entry)
{
    return entry && entry->summary() != entry->importedSummary();
}

} // namespace CommandRules
