// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The window's commands, one row each: identifier, menu text, toolbar label, shortcut, the rule
// that enables it and where the menus show it. The menus, the toolbar, its palette and the
// enabling all read this table; the identifiers are the toolbar's stored names and the actions'
// object names, and never change.
namespace Commands {

// When a command can be used; see CommandRules::isEnabled.
enum class Rule {
    Always,
    NeedsEntries,       // the ledger holds entries
    NeedsSelection,     // and an entry is selected
    NeedsEditedSummary, // and its summary differs from the bank's text
    CanUndo,
    CanRedo,
    HasRejectedLines,   // the last import left lines out
    HasPreviousMonth,   // the ledger has entries before the month last shown
    HasNextMonth,       // the month last shown is before the last with entries (or this month)
};

enum class Menu { None, File, Edit, View, Bank, Help };

struct Command {
    const char16_t *identifier;
    // Translated in the context "Commands": with its access letter, and "…" when it opens a
    // dialog.
    const char *menuText;
    // StringTable keys of the toolbar's short label and of the tooltip; null when the command is
    // none of Moriva's own toolbar items.
    const char16_t *label;
    const char16_t *toolTip;
    const char16_t *icon; // among the bundled icons; null for none
    const char *shortcut; // portable text ("Ctrl+O", several: "Ctrl+Shift+Z; Ctrl+Y"); "" none
    Rule rule;
    Menu menu;
    bool separatorBefore; // in its menu
    bool ledgerOnly;      // acts on the ledger table: off while the Summary is shown
};

// Every command, in the order the menus show them.
const QList<Command> &all();
// The command of an identifier; null for none.
const Command *find(QStringView identifier);
QString menuText(const Command &command);
// The menu titles, with their access letters.
QString menuTitle(Menu menu);

} // namespace Commands
