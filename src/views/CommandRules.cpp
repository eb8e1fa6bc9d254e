#include "CommandRules.h"

#include "Commands.h"
#include "ledger/LedgerEntry.h"

namespace CommandRules {

bool isEnabled(QStringView identifier, const State &state)
{
    const Commands::Command *command = Commands::find(identifier);
    if (!command)
        return true;
    // While the Summary is shown the table and its selection are out of sight.
    if (command->ledgerOnly && state.summaryShown)
        return false;
    using enum Commands::Rule;
    switch (command->rule) {
    case Always: return true;
    case NeedsEntries: return state.hasEntries;
    case NeedsSelection: return state.hasEntries && state.hasSelection;
    case NeedsEditedSummary:
        return state.hasEntries && state.hasSelection && state.summaryEdited;
    case CanUndo: return state.canUndo;
    case CanRedo: return state.canRedo;
    case HasRejectedLines: return state.hasRejectedLines;
    case HasPreviousMonth: return state.hasEntries && state.hasPreviousMonth;
    case HasNextMonth: return state.hasEntries && state.hasNextMonth;
    }
    return true;
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
