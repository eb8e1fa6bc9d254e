#pragma once

#include <QStringView>

class LedgerEntry;

// When the window's commands are enabled (see Commands: each command names its rule).
namespace CommandRules {

// What the rules look at.
struct State {
    bool hasEntries = false;
    bool hasSelection = false;
    bool summaryEdited = false; // the selected entry's summary differs from the bank's text
    bool canUndo = false;
    bool canRedo = false;
    bool summaryShown = false; // the Summary stands in for the ledger table
    bool hasRejectedLines = false;
    bool hasPreviousMonth = false; // a month before the one last shown holds entries
    bool hasNextMonth = false;     // the one last shown is before the last with entries or today's
};

// A command by its identifier ("delete_balance", "undo", ...); an unknown one is enabled.
bool isEnabled(QStringView identifier, const State &state);
// Whether the Mark commands show as checked: the selected entry is marked.
bool isMarkChecked(const LedgerEntry *selected);
// Whether the entry's summary differs from the bank's text it was imported with.
bool isSummaryEdited(const LedgerEntry *entry);

} // namespace CommandRules
